// The shown window that the edit tests drive, on songs that are real MP3
// files with ID3v1 tags.
#pragma once

#include "GuiHelpers.h"
#include "formats/PathFunctions.h"
#include "platform/TextEncoding.h"
#include "support/Mp3Bytes.h"

#include <QDir>

#include <algorithm>

template <typename Widget> Widget* Child(QWidget* parent, const char* name) {
    return parent->findChild<Widget*>(QString::fromUtf8(name));
}

// The tag every song file starts with (track 5), changed where the
// arguments say; texts are given in UTF-8 and stored as GBK.
inline std::string TagBytes(int genre = 17, const std::string& title = "Old",
                            const std::string& year = "1999", const std::string& artist = "Someone",
                            const std::string& album = "Album") {
    const Id3v1Fields tag{
        EncodeGb18030(title), EncodeGb18030(artist), EncodeGb18030(album), year, "note", 5, genre};
    return Id3v1TagBytes(tag);
}

inline std::string Mp3WithTag(const std::string& tag) {
    Mp3FileLayout layout;
    layout.id3v1 = tag;
    return Mp3FileBytes(layout);
}

// Entries: 1 "周末的歌" with 十年.mp3 and 浮夸.mp3, 2 "老歌" with 甜蜜蜜.mp3
// and 月亮.wma, 3 "Live" with 十年.mp3 again; the flat list holds copies of
// the first four songs.
class CEditWindow : public CTestWindow {
public:
    CEditWindow() {
        for (const char* name : {"十年.mp3", "浮夸.mp3", "甜蜜蜜.mp3"}) {
            folder.Write(name, Mp3WithTag(TagBytes()));
        }
        folder.Write("月亮.wma", "wma");
        const std::string root = folder.Path();
        auto song = [&root](const char* file) {
            return MakeSong(TitlePart(file), "陈奕迅", 200, 0, root, file, 1000);
        };
        CMusicList& entries = Manager().entries;
        entries.AddTail(MakeEntry("周末的歌", "陈奕迅", root, "周末.m3u",
                                  {song("十年.mp3"), song("浮夸.mp3")}));
        entries.AddTail(
            MakeEntry("老歌", "", root, "老歌.m3u", {song("甜蜜蜜.mp3"), song("月亮.wma")}));
        entries.AddTail(MakeEntry("Live", "", root, "live.m3u", {song("十年.mp3")}));
        for (int entry = 1; entry <= 2; ++entry) {
            entries.GetAt(entry)->Renumber();
            for (const CSongPtr& original : entries.GetAt(entry)->songs) {
                Manager().songs.AddTail(std::make_shared<CSongItem>(*original));
            }
        }
        Manager().RefreshArtists();
        frame->RefillPanes();
        frame->resize(1000, 700);
        frame->show();
        shown = QTest::qWaitForWindowExposed(frame.get());
    }

    CSongListView* SongPane() { return frame->GetSongPane(); }
    CSongPtr EntrySong(int entry, int position) {
        return Manager().entries.GetAt(entry)->songs.GetAt(position);
    }

    // Clicks the entry row (0: all songs), then a song row (-1: none),
    // which makes the song pane the active one.
    void Choose(int entryRow, int songRow = -1) {
        // After a dialog no window may be active, and clicks move no focus.
        frame->activateWindow();
        (void)QTest::qWaitForWindowActive(frame.get());
        ClickRow(frame->GetPlayListPane(), entryRow);
        if (songRow >= 0) {
            ClickRow(SongPane(), songRow);
        }
    }

    // Runs the command, action answering its dialog; false when not enabled.
    template <typename Dialog> bool Run(int commandId, std::function<void(Dialog*)> action) {
        WhenShown<Dialog>(action);
        return frame->ExecuteCommand(commandId);
    }

    QStringList Files() const {
        return QDir(QString::fromStdString(folder.Path())).entryList(QDir::Files);
    }
    // The last 128 bytes of a file of the folder.
    std::string FileTag(const std::string& name) const {
        const std::string bytes = folder.Read(name);
        return bytes.substr(bytes.size() < 128 ? 0 : bytes.size() - 128);
    }

    bool shown = false;
};
