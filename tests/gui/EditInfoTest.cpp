// Editing an entry's or a song's information on the shown window: what the
// song dialog does to the file (rename, tag) and to the library's copies,
// the refused renames, the entry dialog's moves and pass-on, and the check
// boxes kept in the settings.
#include "EditWindow.h"

#include "app/CommandIds.h"
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
    void SongEditsReachTheFileAndEveryCopy();
    void RefusedRenamesKeepTheFileAndSayWhy();
    void NextTwiceKeepsTheSavedEditsOkStoresTheLastShown();
    void CheckBoxesReopenAsLeft();
    void PassOnReachesTheSongsAndTheirFlatCopies();
};

namespace {

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
        // The row edited, then the other copy, which took the edit too.
        const QString path = QString::fromStdString(window.folder.File(c.fileName));
        for (int otherCopy : {-1, c.entryRow == 0 ? 1 : 0}) {
            if (otherCopy >= 0) {
                window.Choose(otherCopy);
            }
            QCOMPARE(RowTexts(window.SongPane(), 0).mid(0, 2),
                     QStringList({QString::fromUtf8(c.title), "Eason"}));
            QCOMPARE(window.SongPane()->ItemText(0, 7), path);
        }
        // A copy in a later entry follows the file's name but keeps its title.
        QCOMPARE(QString::fromStdString(window.EntrySong(3, 1)->GetFullPath()), path);
        QCOMPARE(window.EntrySong(3, 1)->title, std::string("十年"));
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
        {QStringLiteral("a") + QChar(0) + QStringLiteral("b"), "新标题中含有空字符"},
        {QString(300, QChar(0x957F)), std::strerror(ENAMETOOLONG)},
    };
    for (const auto& c : cases) {
        CEditWindow window;
        QVERIFY(window.shown);
        const QStringList files = window.Files();
        const std::string neighbour = window.folder.Read("浮夸.mp3");
        window.Choose(1, 0);
        QVERIFY(EditSong(window, c.title, true));
        QCOMPARE(window.Files(), files);
        QVERIFY2(window.folder.Read("浮夸.mp3") == neighbour, c.reason);
        for (const CSongPtr& song : {window.EntrySong(1, 1), window.Manager().songs.GetAt(1)}) {
            QCOMPARE(song->fileName, std::string("十年.mp3"));
            QCOMPARE(QString::fromStdString(song->title), c.title);
        }
        QCOMPARE(window.platform.messages.size(), size_t(1));
        const std::string& text = window.platform.messages[0].text;
        QVERIFY2(text.find(window.folder.File("十年.mp3")) != std::string::npos, text.c_str());
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
        QCOMPARE(ColumnTexts(window.frame->GetPlayListPane(), 0).mid(1),
                 QStringList({"第一", "第二", ok ? "第三" : "Live"}));
        QCOMPARE(window.frame->GetPlayListPane()->GetSelectionMark(), 3);
        QCOMPARE(window.Manager().currentRow, 3);
        QCOMPARE(window.SongPane()->GetItemCount(), 1); // Live's one song
    }
}

void EditInfoTest::CheckBoxesReopenAsLeft() {
    CEditWindow window;
    QVERIFY(window.shown);
    const struct {
        bool song;
        bool accept;
        bool checked;
    } cases[] = {
        {true, false, true}, {true, true, false}, {false, false, false}, {false, true, true}};
    for (const auto& c : cases) {
        int& flag = c.song ? window.Manager().config.DlgEditMusicUF
                           : window.Manager().config.DlgEditPlaylistUF;
        const int before = flag;
        int shown = -1;
        auto answer = [&](QDialog* dialog) {
            auto* box = Child<QCheckBox>(dialog, c.song ? "updateFile" : "updateSongs");
            shown = box->isChecked() ? 1 : 0;
            box->setChecked(c.checked);
            c.accept ? dialog->accept() : dialog->reject();
        };
        window.Choose(2, c.song ? 1 : -1);
        QVERIFY(c.song ? window.Run<CMusicInfoDlg>(ID_EDIT_INFO, answer)
                       : window.Run<CPlayListInfoDlg>(ID_EDIT_INFO, answer));
        QCOMPARE(shown, before);
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
        QCOMPARE(window.Manager().entries.GetAt(1)->style, 2003);
        const QString songArtist = updateSongs ? "新歌手" : "陈奕迅";
        for (const CSongPtr& song : {window.EntrySong(1, 2), window.Manager().songs.GetAt(2)}) {
            QCOMPARE(QString::fromStdString(song->artist), songArtist);
            QCOMPARE(song->style, updateSongs ? 2003 : 2001);
        }
        QCOMPARE(window.SongPane()->ItemText(1, 1), songArtist);
        const CArtistList& artists = window.Manager().artists;
        QVERIFY(std::find(artists.begin(), artists.end(), "新歌手") != artists.end());
    }
}

QTEST_MAIN(EditInfoTest)
#include "EditInfoTest.moc"
