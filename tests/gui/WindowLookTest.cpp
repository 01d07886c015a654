// What users see of the window beyond the rows: columns that show normal
// values whole, the sort arrow, message boxes, the import progress and the
// folder it starts from, the About box without web addresses.
#include "GuiHelpers.h"

#include "app/AboutDlg.h"
#include "app/CommandIds.h"
#include "app/ImportProgressDlg.h"
#include "app/MessageBoxLook.h"
#include "app/QtPlatform.h"
#include "core/WebAddresses.h"
#include "desktop/HyperLinkLabel.h"
#include "formats/PathFunctions.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QStandardPaths>
#include <QTextLayout>
#include <QtTest>

namespace {

// Values at the widest a column normally shows: "Unknown" times, a folder
// entry, long style names, large files.
CMusicList WideValues(const std::string& root) {
    CMusicList entries;
    entries.AddTail(
        MakeEntry("老歌", "", root + "/old", root + "/old",
                  {MakeSong("甜蜜蜜", "邓丽君", 0, 99, root + "/old", "t.mpga", 999999999, 2012)},
                  99999, 2012));
    return entries;
}

// The number of characters on each line of text laid out at width.
std::vector<int> LineLengths(const QString& text, const QFont& font, int width) {
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    std::vector<int> lengths;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lengths.push_back(line.textLength());
    }
    layout.endLayout();
    return lengths;
}

} // namespace

class WindowLookTest : public QObject {
    Q_OBJECT
private slots:
    void FixedColumnsShowNormalValuesWhole();
    void HeadingOfTheLastSortShowsItsDirection();
    void MessageBoxesNeverLeaveOneCharacterOnALine();
    void ImportDialogCountsFilesAndStartsInTheLastFolder();
    void AboutBoxNamesTheHelpPageItLinks();
};

void WindowLookTest::FixedColumnsShowNormalValuesWhole() {
    CShownLibrary shown;
    QVERIFY(shown.Show(WideValues(shown.library.Dir().Path())));
    ClickRow(shown.playList, 1);
    QCOMPARE(shown.playList->ItemText(1, 5), QStringLiteral("Unknown"));
    QCOMPARE(shown.songs->ItemText(0, 3), QStringLiteral("Unknown"));
    // Columns 1..6 but the artist's, whose texts have no normal width.
    const struct {
        QTableView* pane;
        int artistColumn;
    } panes[] = {{shown.playList, 2}, {shown.songs, 1}};
    for (const auto& p : panes) {
        auto* view = static_cast<QAbstractItemView*>(p.pane);
        QHeaderView* header = p.pane->horizontalHeader();
        for (int column = 1; column <= 6; ++column) {
            if (column == p.artistColumn) {
                continue;
            }
            const QString where = p.pane->objectName() + QStringLiteral(" column %1").arg(column);
            QVERIFY2(view->sizeHintForColumn(column) <= header->sectionSize(column),
                     qPrintable(where));
            QVERIFY2(header->sectionSizeHint(column) <= header->sectionSize(column),
                     qPrintable(where + " heading"));
        }
        QCOMPARE(header->length(), p.pane->viewport()->width());
    }
}

void WindowLookTest::HeadingOfTheLastSortShowsItsDirection() {
    CShownLibrary shown;
    QVERIFY(shown.Show(SampleEntries(shown.library.Dir().Path())));
    for (QTableView* pane :
         {static_cast<QTableView*>(shown.playList), static_cast<QTableView*>(shown.songs)}) {
        QHeaderView* header = pane->horizontalHeader();
        QVERIFY(header->isSortIndicatorShown());
        QCOMPARE(header->sortIndicatorSection(), -1);
        const struct {
            int column;
            Qt::SortOrder order;
        } clicks[] = {{3, Qt::AscendingOrder}, {5, Qt::DescendingOrder}, {5, Qt::AscendingOrder}};
        for (const auto& click : clicks) {
            ClickHeader(pane, click.column);
            QCOMPARE(header->sortIndicatorSection(), click.column);
            QCOMPARE(header->sortIndicatorOrder(), click.order);
        }
    }
}

void WindowLookTest::MessageBoxesNeverLeaveOneCharacterOnALine() {
    const QString sentence = QStringLiteral("确定要在当前曲目中移去这些歌曲吗不会删除这些音乐文件");
    for (int length = 20; length <= 90; ++length) {
        const QString text = sentence.repeated(4).left(length);
        QMessageBox box(QMessageBox::Question, QStringLiteral("Cricklet"), text,
                        QMessageBox::Ok | QMessageBox::Cancel);
        PrepareMessageBox(box);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        QVERIFY(label != nullptr);
        const std::vector<int> lines =
            LineLengths(text, label->font(), label->contentsRect().width());
        const int textWidth = QFontMetrics(label->font()).horizontalAdvance(text);
        QVERIFY2(label->wordWrap() || label->contentsRect().width() >= textWidth,
                 qPrintable(QStringLiteral("%1 characters cut").arg(length)));
        QVERIFY2(lines.size() == 1 || lines.back() > 1,
                 qPrintable(
                     QStringLiteral("%1 characters, last line %2").arg(length).arg(lines.back())));
        QVERIFY2(box.geometry().width() <= box.screen()->availableGeometry().width(),
                 qPrintable(QStringLiteral("%1 characters").arg(length)));
    }

    // The box the platform shows: its buttons are Chinese too.
    QStringList buttons;
    WhenShown<QMessageBox>([&buttons](QMessageBox* box) {
        for (QAbstractButton* button : box->buttons()) {
            buttons << button->text();
        }
    });
    CQtPlatform platform;
    QCOMPARE(platform.AskYesNoCancel("第一步: 您是否将导入的音乐追加至当前音乐单？", "Cricklet"),
             CAnswer::Cancel);
    buttons.sort();
    QStringList chinese = {QStringLiteral("是"), QStringLiteral("否"), QStringLiteral("取消")};
    chinese.sort();
    QCOMPARE(buttons, chinese);
}

void WindowLookTest::ImportDialogCountsFilesAndStartsInTheLastFolder() {
    CTestWindow window;
    CImportProgressDlg dialog(window.frame->m_pManager);
    QCOMPARE(dialog.findChild<QProgressBar*>()->maximum(), 0); // busy, no total
    window.frame->m_pImportDlg = &dialog;
    for (int i = 0; i < 3; ++i) {
        window.frame->ImportInsertSongRow(MakeSong("s", "", 1, 0, "/m", "s.mp3", 1), 0);
    }
    window.frame->m_pImportDlg = nullptr;
    QCOMPARE(dialog.CountText(), QStringLiteral("已导入音乐文件: 3"));

    const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    const QString fallback = QFileInfo(music).isDir() ? music : QDir::homePath();
    const std::string imported = window.folder.Write("songs/a.mid", MidiBytes());
    const QString importedFolder = QString::fromStdString(FolderPart(imported));
    const struct {
        std::string recent;
        QString start;
    } cases[] = {{"", fallback},
                 {window.folder.Path() + "/gone", fallback},
                 {window.folder.Path(), QString::fromStdString(window.folder.Path())}};
    for (const auto& c : cases) {
        window.Manager().config.RecentDirectory = c.recent;
        window.dialogs.requests.clear();
        window.dialogs.answers = {QString()};
        window.frame->RunCommand(ID_IMPORT_FOLDER);
        QCOMPARE(window.dialogs.requests.size(), 1u);
        QCOMPARE(window.dialogs.requests[0].startFolder, c.start);
    }
    window.dialogs.answers = {importedFolder};
    window.frame->RunCommand(ID_IMPORT_FOLDER);
    QCOMPARE(QString::fromStdString(window.Manager().config.RecentDirectory), importedFolder);
}

void WindowLookTest::AboutBoxNamesTheHelpPageItLinks() {
    if (!HomepageUrl().empty()) {
        QSKIP("this build has a home page");
    }
    CScopedRecordingPlatform recording;
    CAboutDlg dialog;
    CHyperLinkLabel* web = dialog.WebLabel();
    QCOMPARE(web->text(), QStringLiteral("Cricklet 帮助文档"));
    QVERIFY(web->Target().endsWith(QStringLiteral("/Help/ckhelp.htm")));
    QVERIFY(!dialog.AboutText().contains(QStringLiteral("支持网站:/")));
    QVERIFY(!dialog.AboutText().contains(QStringLiteral("电子邮箱:\n")));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(web, Qt::LeftButton);
    QCOMPARE(recording.platform.openedPaths,
             std::vector<std::string>({web->Target().toStdString()}));
}

QTEST_MAIN(WindowLookTest)
#include "WindowLookTest.moc"
