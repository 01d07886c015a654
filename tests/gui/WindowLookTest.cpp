// What users see beyond the rows: columns that show normal values whole and
// fill the pane, the sort arrow, message boxes, the import progress and its
// starting folder.
#include "GuiHelpers.h"

#include "app/CommandIds.h"
#include "app/ImportProgressDlg.h"
#include "app/MessageBoxLook.h"
#include "formats/PathFunctions.h"

#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QStandardPaths>
#include <QTextLayout>
#include <QtTest>

class WindowLookTest : public QObject {
    Q_OBJECT
private slots:
    void ColumnsShowNormalValuesWholeAndTheSortArrow();
    void MessageBoxesNeverLeaveOneCharacterOnALine();
    void ImportDialogCountsFilesAndStartsInTheLastFolder();
};

void WindowLookTest::ColumnsShowNormalValuesWholeAndTheSortArrow() {
    CShownLibrary shown;
    const std::string old = shown.library.Dir().Path() + "/old";
    CMusicList entries; // "Unknown" times, a folder, a long style, a large file
    entries.AddTail(MakeEntry("老歌", "", old, old,
                              {MakeSong("甜", "", 0, 1, old, "t.mpga", 999999999, 2012)}, 99999,
                              2012));
    QVERIFY(shown.Show(entries));
    ClickRow(shown.playList, 1);
    QCOMPARE(shown.songs->ItemText(0, 3), QStringLiteral("Unknown"));
    const std::pair<QTableView*, int> panes[] = {{shown.playList, 2}, {shown.songs, 1}};
    for (const auto& [pane, artistColumn] : panes) {
        QHeaderView* header = pane->horizontalHeader();
        for (int column = 1; column <= 6; ++column) { // artists have no normal width
            const int width = header->sectionSize(column);
            const QString where = pane->objectName() + QString::number(column);
            QVERIFY2(column == artistColumn ||
                         static_cast<QAbstractItemView*>(pane)->sizeHintForColumn(column) <= width,
                     qPrintable(where));
            QVERIFY2(header->sectionSizeHint(column) <= width, qPrintable(where + " heading"));
        }
        QCOMPARE(header->length(), pane->viewport()->width());
        QCOMPARE(header->sortIndicatorSection(), -1);
        const std::pair<int, Qt::SortOrder> clicks[] = {
            {3, Qt::AscendingOrder}, {5, Qt::DescendingOrder}, {5, Qt::AscendingOrder}};
        for (const auto& [column, order] : clicks) {
            ClickHeader(pane, column);
            QVERIFY(header->sortIndicatorSection() == column &&
                    header->sortIndicatorOrder() == order);
        }
    }
}

void WindowLookTest::MessageBoxesNeverLeaveOneCharacterOnALine() {
    const QString sentence = QStringLiteral("确定要在当前曲目中移去这些歌曲吗不会删除这些音乐文件");
    for (int length = 20; length <= 90; ++length) {
        const QString text = sentence.repeated(4).left(length);
        QMessageBox box(QMessageBox::Question, QStringLiteral("Cricklet"), text);
        PrepareMessageBox(box);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        const int width = label->contentsRect().width();
        QTextLayout layout(text, label->font());
        layout.beginLayout();
        int lastLine = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            lastLine = line.textStart() == 0 ? length : line.textLength();
        }
        layout.endLayout();
        const QString where = QString::number(length);
        QVERIFY2(label->wordWrap() || width >= QFontMetrics(label->font()).horizontalAdvance(text),
                 qPrintable(where + " cut"));
        QVERIFY2(lastLine > 1, qPrintable(where));
    }
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
    const std::string here = window.folder.Path();
    const std::pair<std::string, QString> cases[] = {
        {"", fallback}, {here + "/gone", fallback}, {here, QString::fromStdString(here)}};
    for (const auto& [recent, start] : cases) {
        window.Manager().config.RecentDirectory = recent;
        window.dialogs.requests.clear();
        window.frame->RunCommand(ID_IMPORT_FOLDER); // no answer: cancelled
        QCOMPARE(window.dialogs.requests.at(0).startFolder, start);
    }
    const QString imported =
        QString::fromStdString(FolderPart(window.folder.Write("songs/a.mid", MidiBytes())));
    window.dialogs.answers = {imported};
    window.frame->RunCommand(ID_IMPORT_FOLDER);
    QCOMPARE(QString::fromStdString(window.Manager().config.RecentDirectory), imported);
}

QTEST_MAIN(WindowLookTest)
#include "WindowLookTest.moc"
