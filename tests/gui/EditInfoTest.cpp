// Editing on the shown window, on songs that are real MP3 files with ID3v1
// tags: what the song dialog does to the file (rename, tag) and to the
// library's copies, the refused renames, the entry dialog's moves and
// pass-on; the tag editor's 获取资料 and year check, and the files it
// refuses.
#include "GuiHelpers.h"

#include "app/CommandIds.h"
#include "formats/PathFunctions.h"
#include "panes/Id3TagDlg.h"
#include "panes/MusicInfoDlg.h"
#include "panes/PlayListInfoDlg.h"
#include "platform/TextEncoding.h"
#include "support/Mp3Bytes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include <cstring>

class EditInfoTest : public QObject {
    Q_OBJECT
private slots:
    void SongEditsReachTheFileAndEveryCopy();
    void RefusedRenamesKeepTheFileAndSayWhy();
    void NextTwiceKeepsTheSavedEditsOkStoresTheLastShown();
    void PassOnReachesTheSongsAndTheirFlatCopies();
    void FetchAndTheYearCheckKeepWhatWasTyped();
    void FilesThatCannotBeReadOrWrittenAreReported();
};

namespace {

template <typename Widget> Widget* Child(QWidget* parent, const char* name) {
    return parent->findChild<Widget*>(QString::fromUtf8(name));
}

// The tag every song file starts with (track 5), changed where the
// arguments say; texts are given in UTF-8 and stored as GBK.
std::string TagBytes(int genre = 17, const std::string& title = "Old",
                     const std::string& year = "1999", const std::string& artist = "Someone",
                     const std::string& album = "Album", const std::string& comment = "note") {
    const Id3v1Fields tag{
        EncodeGb18030(title), EncodeGb18030(artist), EncodeGb18030(album), year, comment, 5, genre};
    return Id3v1TagBytes(tag);
}

std::string Mp3WithTag(const std::string& tag) {
    Mp3FileLayout layout;
    layout.id3v1 = tag;
    return Mp3FileBytes(layout);
}

// Entries: 1 "周末的歌" with 十年.mp3 and 浮夸.mp3, 2 "老歌" with 甜蜜蜜.mp3
// and 月亮.wma, 3 "Live" with 十年.mp3 again; the flat list holds copies of
// the first four songs.
class CEditWindow : public CShownLibrary {
public:
    CEditWindow() {
        for (const char* name : {"十年.mp3", "浮夸.mp3", "甜蜜蜜.mp3"}) {
            dir.Write(name, Mp3WithTag(TagBytes()));
        }
        dir.Write("月亮.wma", "wma");
        shown = Show(CMusicList());
        const std::string root = Root();
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
    }

    CSongPtr EntrySong(int entry, int position) {
        return Manager().entries.GetAt(entry)->songs.GetAt(position);
    }

    // Clicks the entry row (0: all songs), then a song row (-1: none),
    // which makes the song pane the active one.
    void Choose(int entryRow, int songRow = -1) {
        // After a dialog no window may be active, and clicks move no focus.
        frame->activateWindow();
        (void)QTest::qWaitForWindowActive(frame.get());
        ClickRow(playList, entryRow);
        if (songRow >= 0) {
            ClickRow(songs, songRow);
        }
    }

    // Runs the command, action answering its dialog; false when not enabled.
    template <typename Dialog> bool Run(int commandId, std::function<void(Dialog*)> action) {
        WhenShown<Dialog>(action);
        return frame->ExecuteCommand(commandId);
    }

    QStringList Files() const {
        return QDir(QString::fromStdString(Root())).entryList({"*.mp3", "*.wma"}, QDir::Files);
    }
    // The last 128 bytes of a file of the folder.
    std::string FileTag(const std::string& name) const {
        const std::string bytes = dir.Read(name);
        return bytes.substr(bytes.size() < 128 ? 0 : bytes.size() - 128);
    }

    bool shown = false;
};
// Runs the song dialog on the marked song: title, artist "Eason", the box.
bool EditSong(CEditWindow& window, const QString& title, bool updateFile) {
    return window.Run<CMusicInfoDlg>(ID_EDIT_INFO, [&](CMusicInfoDlg* dialog) {
        Child<QLineEdit>(dialog, "title")->setText(title);
        Child<QLineEdit>(dialog, "artist")->setText(QStringLiteral("Eason"));
        Child<QCheckBox>(dialog, "updateFile")->setChecked(updateFile);
        QTest::keyClick(dialog, Qt::Key_Return);
    });
}

} // namespace

void EditInfoTest::SongEditsReachTheFileAndEveryCopy() {
    const struct {
        const char* name;
        int entryRow;
        const char* title;
        bool updateFile;
        const char* fileName; // of the song afterwards
        std::string tag;      // of its file afterwards
    } cases[] = {
        {"artist inside an entry: tag with the entry as album, no rename", 1, "十年", true,
         "十年.mp3", TagBytes(17, "十年", "1999", "Eason", "周末的歌")},
        {"new title in the all-songs list: renamed, album kept", 0, "十年之后", true,
         "十年之后.mp3", TagBytes(17, "十年之后", "1999", "Eason")},
        {"box off: the file stays as it was", 1, "新名字", false, "十年.mp3", TagBytes()},
    };
    for (const auto& c : cases) {
        CEditWindow window;
        QVERIFY(window.shown);
        window.Choose(c.entryRow, 0);
        QVERIFY2(EditSong(window, QString::fromUtf8(c.title), c.updateFile), c.name);
        QVERIFY2(window.Files().size() == 4 && window.Files().contains(c.fileName), c.name);
        QVERIFY2(window.FileTag(c.fileName) == c.tag, c.name);
        QVERIFY2(window.platform.messages.empty(), c.name);
        // The row edited, the other copy, which took the edit too, and a copy
        // in a later entry, which follows the file's name but keeps its title.
        const QString path = QString::fromStdString(window.dir.File(c.fileName));
        QStringList copies;
        for (int entryRow : {c.entryRow, c.entryRow == 0 ? 1 : 0}) {
            window.Choose(entryRow);
            copies << window.songs->ItemText(0, 0) + "|" + window.songs->ItemText(0, 1) + "|" +
                          window.songs->ItemText(0, 7);
        }
        copies << QString::fromStdString(window.EntrySong(3, 1)->title + "|" +
                                         window.EntrySong(3, 1)->GetFullPath());
        const QString edited = QString::fromUtf8(c.title) + "|Eason|" + path;
        QCOMPARE(copies, QStringList({edited, edited, "十年|" + path}));
    }
}

void EditInfoTest::RefusedRenamesKeepTheFileAndSayWhy() {
    const struct {
        QString title;
        const char* reason;
    } cases[] = {
        {QStringLiteral("浮夸"), "文件夹中已有同名的文件"},
        {QString(), "新标题为空"},
        {QStringLiteral("a/b"), "新标题中含有\"/\""},
        {QString(300, QChar(0x957F)), std::strerror(ENAMETOOLONG)},
    };
    for (const auto& c : cases) {
        CEditWindow window;
        QVERIFY(window.shown);
        const QStringList files = window.Files();
        const std::string neighbour = window.dir.Read("浮夸.mp3");
        window.Choose(1, 0);
        QVERIFY(EditSong(window, c.title, true));
        QCOMPARE(window.Files(), files);
        QVERIFY2(window.dir.Read("浮夸.mp3") == neighbour, c.reason);
        for (const CSongPtr& song : {window.EntrySong(1, 1), window.Manager().songs.GetAt(1)}) {
            QCOMPARE(song->fileName, std::string("十年.mp3"));
            QCOMPARE(QString::fromStdString(song->title), c.title);
        }
        QCOMPARE(window.platform.messages.size(), size_t(1));
        const std::string& text = window.platform.messages[0].text;
        QVERIFY2(text.find(window.dir.File("十年.mp3")) != std::string::npos, text.c_str());
        QVERIFY2(text.find(c.reason) != std::string::npos, text.c_str());
    }
}

void EditInfoTest::NextTwiceKeepsTheSavedEditsOkStoresTheLastShown() {
    for (bool ok : {false, true}) {
        CEditWindow window;
        QVERIFY(window.shown);
        window.Choose(1);
        QStringList seen; // title and the two buttons' states at each entry shown
        QVERIFY(window.Run<CPlayListInfoDlg>(ID_EDIT_INFO, [&](CPlayListInfoDlg* dialog) {
            auto* title = Child<QLineEdit>(dialog, "title");
            auto see = [&] {
                seen << title->text() +
                            (Child<QPushButton>(dialog, "previous")->isEnabled() ? "<" : "") +
                            (Child<QPushButton>(dialog, "next")->isEnabled() ? ">" : "");
            };
            for (const char* typed : {"第一", "第二"}) {
                see();
                title->setText(QString::fromUtf8(typed));
                QTest::mouseClick(Child<QPushButton>(dialog, "next"), Qt::LeftButton);
            }
            see();
            title->setText(QStringLiteral("第三"));
            QTest::keyClick(dialog, ok ? Qt::Key_Return : Qt::Key_Escape);
        }));
        QCOMPARE(seen, QStringList({"周末的歌>", "老歌<>", "Live<"}));
        QCOMPARE(ColumnTexts(window.playList, 0).mid(1),
                 QStringList({"第一", "第二", ok ? "第三" : "Live"}));
        QCOMPARE(window.playList->GetSelectionMark(), 3);
    }
}

void EditInfoTest::PassOnReachesTheSongsAndTheirFlatCopies() {
    for (bool updateSongs : {true, false}) {
        CEditWindow window;
        QVERIFY(window.shown);
        window.Choose(1);
        QVERIFY(window.Run<CPlayListInfoDlg>(ID_EDIT_INFO, [&](CPlayListInfoDlg* dialog) {
            Child<QLineEdit>(dialog, "artist")->setText(QStringLiteral("新歌手"));
            Child<QComboBox>(dialog, "style")->setCurrentIndex(2);
            Child<QCheckBox>(dialog, "updateSongs")->setChecked(updateSongs);
            QTest::keyClick(Child<QComboBox>(dialog, "style"), Qt::Key_Return);
        }));
        QCOMPARE(window.Manager().entries.GetAt(1)->style, 2003);
        const QString songArtist = updateSongs ? "新歌手" : "陈奕迅";
        for (const CSongPtr& song : {window.EntrySong(1, 2), window.Manager().songs.GetAt(2)}) {
            QCOMPARE(QString::fromStdString(song->artist), songArtist);
            QCOMPARE(song->style, updateSongs ? 2003 : 2001);
        }
        QCOMPARE(window.songs->ItemText(1, 1), songArtist);
    }
}

void EditInfoTest::FetchAndTheYearCheckKeepWhatWasTyped() {
    CEditWindow window;
    QVERIFY(window.shown);
    // 获取资料 inside an entry takes the entry's title as album; the comment
    // typed, the track and the genre stay. A year that is no number keeps the
    // editor open.
    window.Choose(1, 0);
    bool stayedOpen = false;
    QVERIFY(window.Run<CId3TagDlg>(ID_EDIT_TAG, [&](CId3TagDlg* dialog) {
        Child<QPlainTextEdit>(dialog, "comment")->setPlainText(QStringLiteral("mine"));
        QTest::mouseClick(Child<QPushButton>(dialog, "fetch"), Qt::LeftButton);
        auto* year = Child<QLineEdit>(dialog, "year");
        year->setText(QStringLiteral("19x9"));
        QTest::keyClick(dialog, Qt::Key_Return);
        stayedOpen = dialog->isVisible() && dialog->focusWidget() == year;
        year->setText(QStringLiteral("2001"));
        QTest::keyClick(dialog, Qt::Key_Return);
    }));
    QVERIFY(stayedOpen);
    QCOMPARE(window.platform.MessageTexts(),
             std::vector<std::string>({CId3TagDlg::kIntegerPrompt}));
    QVERIFY(window.FileTag("十年.mp3") ==
            TagBytes(17, "十年", "2001", "陈奕迅", "周末的歌", "mine"));
}

void EditInfoTest::FilesThatCannotBeReadOrWrittenAreReported() {
    const struct {
        const char* bytes;   // the file before the command, null for none; "" the
                             // MP3 file, which goes while the editor is open
        const char* message; // a part of the one message shown
    } cases[] = {
        {nullptr, "You tried to open a file\nthat didn't work"},
        {"", std::strerror(ENOENT)},
    };
    for (const auto& c : cases) {
        CEditWindow window;
        QVERIFY(window.shown);
        const std::string path = window.dir.File("十年.mp3");
        if (c.bytes == nullptr) {
            std::remove(path.c_str());
        } else if (*c.bytes != '\0') {
            window.dir.Write("十年.mp3", c.bytes);
        }
        window.Choose(1, 0);
        const bool editor = c.bytes != nullptr && *c.bytes == '\0';
        bool opened = false;
        QTimer guard; // answers an editor that opens, and goes with this scope
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [&] {
            if (auto* dialog = qobject_cast<CId3TagDlg*>(QApplication::activeModalWidget())) {
                opened = true;
                std::remove(path.c_str());
                dialog->accept();
            }
        });
        guard.start(300);
        QVERIFY(window.frame->ExecuteCommand(ID_EDIT_TAG));
        QVERIFY2(opened == editor, c.message);
        QCOMPARE(window.platform.messages.size(), size_t(1));
        const std::string& text = window.platform.messages[0].text;
        QVERIFY2(text.find(c.message) != std::string::npos, text.c_str());
        QVERIFY2(!editor || text.find(path) != std::string::npos, text.c_str());
        QCOMPARE(QFile::exists(QString::fromStdString(path)), c.bytes != nullptr && !editor);
    }
}

QTEST_MAIN(EditInfoTest)
#include "EditInfoTest.moc"
