// The ID3v1 tag editor on the shown window: the bytes it writes (genre,
// track, year, cut texts, a file without a tag), 获取资料 and the year check,
// the files it refuses, and when the command is enabled.
#include "EditWindow.h"

#include "app/CommandIds.h"
#include "panes/Id3TagDlg.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include <cstring>

class Id3TagDlgTest : public QObject {
    Q_OBJECT
private slots:
    void WritesTheFieldsKeepingTrackAndUnnamedGenre();
    void FetchAndTheYearCheckKeepWhatWasTyped();
    void FilesThatCannotBeReadOrWrittenAreReported();
    void EnabledOnlyForAnMp3Song();
};

void Id3TagDlgTest::WritesTheFieldsKeepingTrackAndUnnamedGenre() {
    Id3v1Fields untagged;
    untagged.title = "T";
    untagged.year = "0";
    const struct {
        const char* name;
        std::string before; // the file's tag, empty for none
        const char* title;  // typed
        const char* year;
        int genreItem; // chosen; -1 leaves the box
        QString genreShown;
        std::string after;
    } cases[] = {
        {"genre 17 unchanged", TagBytes(17), "Old", "1999", -1, "Rock", TagBytes(17)},
        {"genre 255 kept", TagBytes(255), "New", "1999", -1, "", TagBytes(255, "New")},
        {"year 0 written as 0", TagBytes(17), "Old", "0", -1, "Rock", TagBytes(17, "Old", "0")},
        {"a chosen genre", TagBytes(255), "Old", "1999", 8, "", TagBytes(8)},
        {"a text cut at a character", TagBytes(17), "中中中中中中中中中中中中中中中中", "1999", -1,
         "Rock", TagBytes(17, "中中中中中中中中中中中中中中中")},
        {"a file without a tag", std::string(), "T", "0", -1, "", Id3v1TagBytes(untagged)},
    };
    for (const auto& c : cases) {
        CEditWindow window;
        QVERIFY(window.shown);
        const std::string before = Mp3WithTag(c.before);
        window.folder.Write("十年.mp3", before);
        window.Choose(1, 0);
        QString genreShown;
        auto answer = [&](CId3TagDlg* dialog) {
            auto* genre = Child<QComboBox>(dialog, "genre");
            genreShown = genre->currentText();
            Child<QLineEdit>(dialog, "title")->setText(QString::fromUtf8(c.title));
            Child<QLineEdit>(dialog, "year")->setText(QString::fromUtf8(c.year));
            if (c.genreItem >= 0) {
                genre->setCurrentIndex(c.genreItem);
            }
            QTest::keyClick(dialog, Qt::Key_Return);
        };
        QVERIFY2(window.Run<CId3TagDlg>(ID_EDIT_TAG, answer), c.name);
        QVERIFY2(genreShown == c.genreShown, c.name);
        // Everything before the tag stays; the tag is replaced or appended.
        const std::string audio = before.substr(0, before.size() - c.before.size());
        QVERIFY2(window.folder.Read("十年.mp3") == audio + c.after, c.name);
        QVERIFY2(window.platform.messages.empty(), c.name);
    }
}

void Id3TagDlgTest::FetchAndTheYearCheckKeepWhatWasTyped() {
    // Inside an entry the album is the entry's title; the comment typed stays.
    const QStringList expected[] = {{"十年", "陈奕迅", "Album", "mine"},
                                    {"十年", "陈奕迅", "周末的歌", "mine"}};
    for (int entryRow : {0, 1}) {
        CEditWindow window;
        QVERIFY(window.shown);
        window.Choose(entryRow, 0);
        QStringList fetched;
        bool stayedOpen = false;
        QVERIFY(window.Run<CId3TagDlg>(ID_EDIT_TAG, [&](CId3TagDlg* dialog) {
            Child<QPlainTextEdit>(dialog, "comment")->setPlainText(QStringLiteral("mine"));
            QTest::mouseClick(Child<QPushButton>(dialog, "fetch"), Qt::LeftButton);
            auto* year = Child<QLineEdit>(dialog, "year");
            year->setText(QStringLiteral("19x9"));
            QTest::keyClick(dialog, Qt::Key_Return);
            stayedOpen = dialog->isVisible() && dialog->focusWidget() == year;
            for (const char* name : {"title", "artist", "album"}) {
                fetched << Child<QLineEdit>(dialog, name)->text();
            }
            fetched << Child<QPlainTextEdit>(dialog, "comment")->toPlainText();
            dialog->reject();
        }));
        QCOMPARE(fetched, expected[entryRow]);
        QVERIFY(stayedOpen);
        QCOMPARE(window.platform.MessageTexts(),
                 std::vector<std::string>({CId3TagDlg::kIntegerPrompt}));
        QVERIFY(window.FileTag("十年.mp3") == TagBytes());
    }
}

void Id3TagDlgTest::FilesThatCannotBeReadOrWrittenAreReported() {
    const struct {
        const char* bytes;   // the file before the command, null for none; "" the
                             // MP3 file, which goes while the editor is open
        const char* message; // a part of the one message shown
    } cases[] = {
        {nullptr, "You tried to open a file\nthat didn't work"},
        {"plain text", "no correct .mp3-file"},
        {"", std::strerror(ENOENT)},
    };
    for (const auto& c : cases) {
        CEditWindow window;
        QVERIFY(window.shown);
        const std::string path = window.folder.File("十年.mp3");
        if (c.bytes == nullptr) {
            std::remove(path.c_str());
        } else if (*c.bytes != '\0') {
            window.folder.Write("十年.mp3", c.bytes);
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

void Id3TagDlgTest::EnabledOnlyForAnMp3Song() {
    CEditWindow window;
    QVERIFY(window.shown);
    const struct {
        int entryRow;
        int songRow;
        bool enabled;
    } cases[] = {{2, 0, true}, {2, 1, false}, {2, -1, false}, {0, 2, true}, {0, 3, false}};
    for (const auto& c : cases) {
        window.Choose(c.entryRow, c.songRow);
        QVERIFY2(window.frame->IsCommandEnabled(ID_EDIT_TAG) == c.enabled,
                 qPrintable(QStringLiteral("entry %1 song %2").arg(c.entryRow).arg(c.songRow)));
    }
}

QTEST_MAIN(Id3TagDlgTest)
#include "Id3TagDlgTest.moc"
