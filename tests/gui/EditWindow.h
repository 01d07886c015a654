// The shown window that the edit tests drive: three entries whose songs are
// real MP3 files with ID3v1 tags, the flat list holding separate copies of
// them (as after a start from the store files), and helpers to run a
// command with a dialog answered by the test.
#pragma once

#include "GuiHelpers.h"
#include "app/MainFrame.h"
#include "platform/TextEncoding.h"
#include "support/Mp3Bytes.h"

#include <QDir>

#include <algorithm>

template <typename Widget> Widget* Child(QWidget* parent, const char* name) {
    return parent->findChild<Widget*>(QString::fromUtf8(name));
}

// The tag every song file starts with.
inline Id3v1Fields StartTag() {
    Id3v1Fields tag;
    tag.title = "Old";
    tag.artist = "Someone";
    tag.album = "Album";
    tag.year = "1999";
    tag.comment = "note";
    tag.track = 5;
    tag.genre = 17;
    return tag;
}

inline std::string Mp3WithTag(const std::string& tag) {
    Mp3FileLayout layout;
    layout.id3v1 = tag;
    return Mp3FileBytes(layout);
}

// Entries: 1 "周末的歌" (陈奕迅) with 十年.mp3 and 浮夸.mp3, 2 "老歌" with
// 甜蜜蜜.mp3 and 月亮.wma, 3 "Live" holding 十年.mp3 again. The flat list
// holds a copy of each of the first four songs.
class CEditWindow : public CTestWindow {
public:
    CEditWindow() {
        const std::string tag = Id3v1TagBytes(StartTag());
        for (const char* name : {"十年.mp3", "浮夸.mp3", "甜蜜蜜.mp3"}) {
            folder.Write(name, Mp3WithTag(tag));
        }
        folder.Write("月亮.wma", "wma");
        const std::string root = folder.Path();
        auto song = [&root](const char* title, const char* file, int order) {
            return MakeSong(title, "陈奕迅", 200, order, root, file, 1000);
        };
        Manager().entries.AddTail(
            MakeEntry("周末的歌", "陈奕迅", root, "周末.m3u",
                      {song("十年", "十年.mp3", 1), song("浮夸", "浮夸.mp3", 2)}));
        Manager().entries.AddTail(
            MakeEntry("老歌", "", root, "老歌.m3u",
                      {song("甜蜜蜜", "甜蜜蜜.mp3", 1), song("月亮", "月亮.wma", 2)}));
        Manager().entries.AddTail(
            MakeEntry("Live", "", root, "live.m3u", {song("十年", "十年.mp3", 1)}));
        for (int entry = 1; entry <= 2; ++entry) {
            for (const CSongPtr& original : Manager().entries.GetAt(entry)->songs) {
                auto copy = std::make_shared<CSongItem>(*original);
                Manager().songs.AddTail(copy);
            }
        }
        Manager().RefreshArtists();
        frame->RefillPanes();
        frame->resize(1000, 700);
        frame->show();
        shown = QTest::qWaitForWindowExposed(frame.get());
    }

    CPlayListView* PlayList() { return frame->GetPlayListPane(); }
    CSongListView* SongPane() { return frame->GetSongPane(); }
    CSongPtr EntrySong(int entry, int position) {
        return Manager().entries.GetAt(entry)->songs.GetAt(position);
    }

    // Clicks the entry row (0: all songs) and then, when songRow >= 0, the
    // song row, which makes the song pane the active one.
    void Choose(int entryRow, int songRow = -1) {
        // A closed dialog may leave no window active, and clicks then move
        // no focus.
        frame->activateWindow();
        (void)QTest::qWaitForWindowActive(frame.get());
        ClickRow(PlayList(), entryRow);
        if (songRow >= 0) {
            ClickRow(SongPane(), songRow);
        }
    }

    // Runs the command with action answering its dialog; false when the
    // command was not enabled.
    template <typename Dialog> bool Run(int commandId, std::function<void(Dialog*)> action) {
        WhenShown<Dialog>(action);
        return frame->ExecuteCommand(commandId);
    }

    // The names in the library's folder, sorted.
    QStringList Files() const {
        QStringList names = QDir(QString::fromStdString(folder.Path())).entryList(QDir::Files);
        names.removeAll(QStringLiteral("Cricklet.ini"));
        std::sort(names.begin(), names.end());
        return names;
    }
    // The last 128 bytes of a file of the folder.
    std::string TagBytes(const std::string& name) const {
        const std::string bytes = folder.Read(name);
        return bytes.size() < 128 ? std::string() : bytes.substr(bytes.size() - 128);
    }

    bool shown = false;
};

// The start tag with the texts given (UTF-8; stored as GBK).
inline std::string TagWith(const std::string& title, const std::string& artist,
                           const std::string& album) {
    Id3v1Fields tag = StartTag();
    tag.title = EncodeGb18030(title);
    tag.artist = EncodeGb18030(artist);
    tag.album = EncodeGb18030(album);
    return Id3v1TagBytes(tag);
}
