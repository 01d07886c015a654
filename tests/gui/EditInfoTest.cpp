// Editing an entry's or a song's information on the shown window: what the
// song dialog does to the file (rename, tag) and to the library's copies,
// the refused renames, the entry dialog's moves and pass-on, and the check
// boxes kept in the settings.
#include "EditWindow.h"

#include "app/CommandIds.h"
#include "core/MusicManager.h"
#include "panes/MusicInfoDlg.h"
#include "panes/PlayListInfoDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <cstring>

class EditInfoTest : public QObject {
    Q_OBJECT
private slots:
    void SongEditsReachTheFileOnlyWithTheBoxChecked();
    void EveryCopyFollowsARenameTheFirstEntryCopyTakesTheEdit();
    void RefusedRenamesKeepTheFileAndSayWhy();
    void NextTwiceThenCancelKeepsTheSavedEdits();
    void MoveButtonsFollowTheEntryShown();
    void CheckBoxesReopenAsLeft();
    void PassOnReachesTheSongsAndTheirFlatCopies();
};

namespace {

void SetSongFields(CMusicInfoDlg* dialog, const QString& title, const QString& artist,
                   bool updateFile) {
    Child<QLineEdit>(dialog, "title")->setText(title);
    Child<QLineEdit>(dialog, "artist")->setText(artist);
    Child<QCheckBox>(dialog, "updateFile")->setChecked(updateFile);
}

} // namespace

void EditInfoTest::SongEditsReachTheFileOnlyWithTheBoxChecked() {
    const std::string untouched = TagWith("Old", "Someone", "Album");
    const struct {
        const char* name;
        int entryRow;
        const char* title;
        bool updateFile;
        QStringList files;
        std::string tenYearsTag; // the tag of the song's file afterwards
    } cases[] = {
        {"artist inside an entry: tag with the entry as album, no rename",
         1,
         "十年",
         true,
         {"十年.mp3", "浮夸.mp3", "月亮.wma", "甜蜜蜜.mp3"},
         TagWith("十年", "Eason", "周末的歌")},
        {"new title in the all-songs list: renamed, album kept",
         0,
         "十年之后",
         true,
         {"十年之后.mp3", "浮夸.mp3", "月亮.wma", "甜蜜蜜.mp3"},
         TagWith("十年之后", "Eason", "Album")},
        {"box off: the file stays as it was",
         1,
         "新名字",
         false,
         {"十年.mp3", "浮夸.mp3", "月亮.wma", "甜蜜蜜.mp3"},
         untouched},
    };
    for (const auto& c : cases) {
        CEditWindow window;
        QVERIFY(window.shown);
        window.Choose(c.entryRow, 0);
        QVERIFY2(window.Run<CMusicInfoDlg>(ID_EDIT_INFO,
                                           [&c](CMusicInfoDlg* dialog) {
                                               SetSongFields(dialog, QString::fromUtf8(c.title),
                                                             "Eason", c.updateFile);
                                               QTest::keyClick(dialog, Qt::Key_Return);
                                           }),
                 c.name);
        QStringList files = c.files;
        std::sort(files.begin(), files.end());
        QCOMPARE(window.Files(), files);
        const std::string fileName = c.files[0].toStdString();
        QVERIFY2(window.TagBytes(fileName) == c.tenYearsTag, c.name);
        const QString path = QString::fromStdString(window.folder.File(fileName));
        QCOMPARE(window.SongPane()->ItemText(0, 0), QString::fromUtf8(c.title));
        QCOMPARE(window.SongPane()->ItemText(0, 1), QStringLiteral("Eason"));
        QCOMPARE(window.SongPane()->ItemText(0, 7), path);
        // The other copy took the edit and shows the file's new name too.
        window.Choose(c.entryRow == 0 ? 1 : 0);
        QCOMPARE(window.SongPane()->ItemText(0, 0), QString::fromUtf8(c.title));
        QCOMPARE(window.SongPane()->ItemText(0, 7), path);
        QVERIFY2(window.platform.messages.empty(), c.name);
    }
}

void EditInfoTest::EveryCopyFollowsARenameTheFirstEntryCopyTakesTheEdit() {
    CEditWindow window;
    QVERIFY(window.shown);
    window.Choose(0, 0);
    QVERIFY(window.Run<CMusicInfoDlg>(ID_EDIT_INFO, [](CMusicInfoDlg* dialog) {
        SetSongFields(dialog, QStringLiteral("十年前"), "陈奕迅", true);
        dialog->accept();
    }));
    const std::string newPath = window.folder.File("十年前.mp3");
    const CSongPtr copies[] = {window.Manager().songs.GetAt(1), window.EntrySong(1, 1),
                               window.EntrySong(3, 1)};
    const char* const titles[] = {"十年前", "十年前", "十年"};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(QString::fromStdString(copies[i]->GetFullPath()), QString::fromStdString(newPath));
        QCOMPARE(QString::fromStdString(copies[i]->title), QString::fromUtf8(titles[i]));
    }
    window.Choose(3);
    QCOMPARE(window.SongPane()->ItemText(0, 7), QString::fromStdString(newPath));
}

void EditInfoTest::RefusedRenamesKeepTheFileAndSayWhy() {
    const QString tooLong = QString(300, QChar(0x957F));
    const struct {
        const char* name;
        QString title;
        const char* reason;
    } cases[] = {
        {"a file of the new name exists", QStringLiteral("浮夸"), "文件夹中已有同名的文件"},
        {"empty title", QString(), "新标题为空"},
        {"a slash", QStringLiteral("a/b"), "新标题中含有\"/\""},
        {"a NUL", QStringLiteral("a") + QChar(0) + QStringLiteral("b"), "新标题中含有空字符"},
        {"a name the system refuses", tooLong, std::strerror(ENAMETOOLONG)},
    };
    for (const auto& c : cases) {
        CEditWindow window;
        QVERIFY(window.shown);
        const QStringList filesBefore = window.Files();
        const std::string neighbour = window.folder.Read("浮夸.mp3");
        window.Choose(1, 0);
        QVERIFY(window.Run<CMusicInfoDlg>(ID_EDIT_INFO, [&c](CMusicInfoDlg* dialog) {
            SetSongFields(dialog, c.title, "Eason", true);
            dialog->accept();
        }));
        QVERIFY2(window.Files() == filesBefore, c.name);
        QVERIFY2(window.folder.Read("浮夸.mp3") == neighbour, c.name);
        const CSongPtr song = window.EntrySong(1, 1);
        QCOMPARE(song->fileName, std::string("十年.mp3"));
        QCOMPARE(window.Manager().songs.GetAt(1)->fileName, std::string("十年.mp3"));
        QCOMPARE(QString::fromStdString(song->title), c.title);
        QCOMPARE(song->artist, std::string("Eason"));
        QCOMPARE(window.platform.messages.size(), size_t(1));
        const std::string& text = window.platform.messages[0].text;
        QVERIFY2(text.find(window.folder.File("十年.mp3")) != std::string::npos, text.c_str());
        QVERIFY2(text.find(c.reason) != std::string::npos, text.c_str());
    }
}

void EditInfoTest::NextTwiceThenCancelKeepsTheSavedEdits() {
    CEditWindow window;
    QVERIFY(window.shown);
    window.Choose(1);
    QStringList shownTitles;
    QVERIFY(window.Run<CPlayListInfoDlg>(ID_EDIT_INFO, [&](CPlayListInfoDlg* dialog) {
        auto* title = Child<QLineEdit>(dialog, "title");
        for (const char* typed : {"第一", "第二"}) {
            title->setText(QString::fromUtf8(typed));
            QTest::mouseClick(Child<QPushButton>(dialog, "next"), Qt::LeftButton);
            shownTitles << title->text();
        }
        title->setText(QStringLiteral("第三"));
        QTest::keyClick(dialog, Qt::Key_Escape);
    }));
    QCOMPARE(shownTitles, QStringList({"老歌", "Live"}));
    QCOMPARE(ColumnTexts(window.PlayList(), 0).mid(1), QStringList({"第一", "第二", "Live"}));
    QCOMPARE(window.PlayList()->GetSelectionMark(), 3);
    QCOMPARE(window.Manager().currentRow, 3);
}

void EditInfoTest::MoveButtonsFollowTheEntryShown() {
    const struct {
        int row;
        bool previous;
        bool next;
        bool nextAfterNext; // after one press of 下一个
    } cases[] = {{1, false, true, true}, {2, true, true, false}, {3, true, false, false}};
    for (const auto& c : cases) {
        CEditWindow window;
        QVERIFY(window.shown);
        window.Choose(c.row);
        QVERIFY(window.Run<CPlayListInfoDlg>(ID_EDIT_INFO, [&c](CPlayListInfoDlg* dialog) {
            auto* next = Child<QPushButton>(dialog, "next");
            QCOMPARE(Child<QPushButton>(dialog, "previous")->isEnabled(), c.previous);
            QCOMPARE(next->isEnabled(), c.next);
            QTest::mouseClick(next, Qt::LeftButton);
            QCOMPARE(next->isEnabled(), c.nextAfterNext);
            QVERIFY(Child<QPushButton>(dialog, "previous")->isEnabled());
            dialog->reject();
        }));
    }
}

void EditInfoTest::CheckBoxesReopenAsLeft() {
    CEditWindow window;
    QVERIFY(window.shown);
    CAppConfig& config = window.Manager().config;
    const struct {
        bool song;
        bool accept;
        bool checked;
    } cases[] = {{true, false, true},   {true, true, false}, {true, false, false},
                 {false, false, false}, {false, true, true}, {false, false, true}};
    for (const auto& c : cases) {
        const char* box = c.song ? "updateFile" : "updateSongs";
        int& flag = c.song ? config.DlgEditMusicUF : config.DlgEditPlaylistUF;
        const int before = flag;
        bool shownState = !before;
        window.Choose(2, c.song ? 1 : -1);
        auto answer = [&](QDialog* dialog) {
            auto* check = Child<QCheckBox>(dialog, box);
            shownState = check->isChecked();
            check->setChecked(c.checked);
            c.accept ? dialog->accept() : dialog->reject();
        };
        const bool ran = c.song ? window.Run<CMusicInfoDlg>(ID_EDIT_INFO, answer)
                                : window.Run<CPlayListInfoDlg>(ID_EDIT_INFO, answer);
        QVERIFY(ran);
        QCOMPARE(shownState, before != 0);
        QCOMPARE(flag, c.checked ? 1 : 0);
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
        const CPlayListItem& entry = *window.Manager().entries.GetAt(1);
        QCOMPARE(QString::fromStdString(entry.artist), QStringLiteral("新歌手"));
        QCOMPARE(entry.style, 2003);
        const QString songArtist = updateSongs ? "新歌手" : "陈奕迅";
        const int songStyle = updateSongs ? 2003 : 2001;
        for (const CSongPtr& song : {window.EntrySong(1, 2), window.Manager().songs.GetAt(2)}) {
            QCOMPARE(QString::fromStdString(song->artist), songArtist);
            QCOMPARE(song->style, songStyle);
        }
        QCOMPARE(window.SongPane()->ItemText(1, 1), songArtist);
        QVERIFY(std::find(window.Manager().artists.begin(), window.Manager().artists.end(),
                          "新歌手") != window.Manager().artists.end());
    }
}

QTEST_MAIN(EditInfoTest)
#include "EditInfoTest.moc"
