// The ID3v1 tag editor on the shown window: the bytes it writes (genre,
// track, year, cut texts, a file without a tag), 获取资料, the year check,
// the files it refuses and when the command is enabled.
#include "EditWindow.h"

#include "app/CommandIds.h"
#include "core/MusicManager.h"
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
    void FetchTakesTheLibrarysTexts();
    void YearMustBeAWholeNumber();
    void FilesThatCannotBeReadOrWrittenAreReported();
    void EnabledOnlyForAnMp3Song();
};

namespace {

Id3v1Fields Tag(int genre, const char* title = "Old", const char* year = "1999") {
    Id3v1Fields tag = StartTag();
    tag.genre = genre;
    tag.title = title;
    tag.year = year;
    return tag;
}

} // namespace

void Id3TagDlgTest::WritesTheFieldsKeepingTrackAndUnnamedGenre() {
    const std::string chinese16 = "中文歌名中文歌名中文歌名中文歌名";
    Id3v1Fields untagged;
    untagged.title = "T";
    untagged.year = "0";
    const struct {
        const char* name;
        std::string start; // the tag before, empty for none
        QString title;     // typed; null keeps the field
        QString year;
        int genreItem; // chosen; -2 keeps the box
        QString genreShown;
        std::string written;
    } cases[] = {
        {"genre 17 unchanged", Id3v1TagBytes(Tag(17)), {}, {}, -2, "Rock", Id3v1TagBytes(Tag(17))},
        {"genre 255 kept",
         Id3v1TagBytes(Tag(255)),
         "New",
         {},
         -2,
         "",
         Id3v1TagBytes(Tag(255, "New"))},
        {"year 0 written as 0",
         Id3v1TagBytes(Tag(17)),
         {},
         "0",
         -2,
         "Rock",
         Id3v1TagBytes(Tag(17, "Old", "0"))},
        {"a chosen genre", Id3v1TagBytes(Tag(255)), {}, {}, 8, "", Id3v1TagBytes(Tag(8))},
        {"a text cut at a character",
         Id3v1TagBytes(Tag(17)),
         QString::fromStdString(chinese16),
         {},
         -2,
         "Rock",
         Id3v1TagBytes(Tag(17, EncodeGb18030Cut(chinese16, 30).c_str()))},
        {"a file without a tag", std::string(), "T", {}, -2, "", Id3v1TagBytes(untagged)},
    };
    for (const auto& c : cases) {
        CEditWindow window;
        QVERIFY(window.shown);
        const std::string before = Mp3WithTag(c.start);
        window.folder.Write("十年.mp3", before);
        window.Choose(1, 0);
        QString genreShown;
        QVERIFY2(window.Run<CId3TagDlg>(ID_EDIT_TAG,
                                        [&c, &genreShown](CId3TagDlg* dialog) {
                                            auto* genre = Child<QComboBox>(dialog, "genre");
                                            genreShown = genre->currentText();
                                            if (!c.title.isNull()) {
                                                Child<QLineEdit>(dialog, "title")->setText(c.title);
                                            }
                                            if (!c.year.isNull()) {
                                                Child<QLineEdit>(dialog, "year")->setText(c.year);
                                            }
                                            if (c.genreItem >= 0) {
                                                genre->setCurrentIndex(c.genreItem);
                                            }
                                            QTest::keyClick(dialog, Qt::Key_Return);
                                        }),
                 c.name);
        QVERIFY2(genreShown == c.genreShown, c.name);
        const std::string after = window.folder.Read("十年.mp3");
        const size_t audio = before.size() - c.start.size();
        QVERIFY2(after.size() == audio + 128 && after.compare(0, audio, before, 0, audio) == 0,
                 c.name);
        QVERIFY2(after.substr(audio) == c.written, c.name);
        QVERIFY2(window.platform.messages.empty(), c.name);
    }
}

void Id3TagDlgTest::FetchTakesTheLibrarysTexts() {
    const struct {
        int entryRow;
        QStringList fetched; // title, artist, album, comment
    } cases[] = {
        {1, {"十年", "陈奕迅", "周末的歌", "mine"}},
        {0, {"十年", "陈奕迅", "Album", "mine"}},
    };
    for (const auto& c : cases) {
        CEditWindow window;
        QVERIFY(window.shown);
        window.Choose(c.entryRow, 0);
        QStringList fetched;
        QVERIFY(window.Run<CId3TagDlg>(ID_EDIT_TAG, [&fetched](CId3TagDlg* dialog) {
            Child<QPlainTextEdit>(dialog, "comment")->setPlainText(QStringLiteral("mine"));
            QTest::mouseClick(Child<QPushButton>(dialog, "fetch"), Qt::LeftButton);
            for (const char* name : {"title", "artist", "album"}) {
                fetched << Child<QLineEdit>(dialog, name)->text();
            }
            fetched << Child<QPlainTextEdit>(dialog, "comment")->toPlainText();
            dialog->reject();
        }));
        QCOMPARE(fetched, c.fetched);
        QVERIFY(window.TagBytes("十年.mp3") == Id3v1TagBytes(StartTag()));
    }
}

void Id3TagDlgTest::YearMustBeAWholeNumber() {
    CEditWindow window;
    QVERIFY(window.shown);
    window.Choose(1, 0);
    bool stayedOpen = false;
    QVERIFY(window.Run<CId3TagDlg>(ID_EDIT_TAG, [&stayedOpen](CId3TagDlg* dialog) {
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
    QVERIFY(window.TagBytes("十年.mp3") == Id3v1TagBytes(Tag(17, "Old", "2001")));
}

void Id3TagDlgTest::FilesThatCannotBeReadOrWrittenAreReported() {
    const struct {
        const char* name;
        const char* before;  // what replaces the file before the command, or null
        bool removeInDialog; // the file goes while the dialog is open
        bool dialog;         // the editor opens
        const char* message; // a part of the one message shown
    } cases[] = {
        {"gone before", nullptr, false, false, "You tried to open a file\nthat didn't work"},
        {"not an MP3 file", "plain text", false, false, "no correct .mp3-file"},
        {"gone while editing", "", true, true, std::strerror(ENOENT)},
    };
    for (const auto& c : cases) {
        CEditWindow window;
        QVERIFY(window.shown);
        const std::string path = window.folder.File("十年.mp3");
        if (c.before == nullptr) {
            std::remove(path.c_str());
        } else if (*c.before != '\0') {
            window.folder.Write("十年.mp3", c.before);
        }
        window.Choose(1, 0);
        bool opened = false;
        // Closes a dialog that should not have opened; gone with this scope.
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<CId3TagDlg*>(QApplication::activeModalWidget());
            if (dialog != nullptr) {
                opened = true;
                if (c.removeInDialog) {
                    std::remove(path.c_str());
                }
                dialog->accept();
            }
        });
        guard.start(300);
        QVERIFY(window.frame->ExecuteCommand(ID_EDIT_TAG));
        QVERIFY2(opened == c.dialog, c.name);
        QCOMPARE(window.platform.messages.size(), size_t(1));
        const std::string& text = window.platform.messages[0].text;
        QVERIFY2(text.find(c.message) != std::string::npos, text.c_str());
        if (c.removeInDialog) {
            QVERIFY2(text.find(path) != std::string::npos, text.c_str());
            QVERIFY(!QFile::exists(QString::fromStdString(path)));
        }
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
