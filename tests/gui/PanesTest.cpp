// The two panes on a shown window: clicks and the remembered rows, keys,
// header sorting, dragging songs, dropped files and the double click.
#include "GuiHelpers.h"

#include "app/CommandIds.h"
#include "support/Mp3Bytes.h"

#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QUrl>
#include <QtTest>

class PanesTest : public QObject {
    Q_OBJECT
private slots:
    void RefillsTheSongPaneOnlyForANewlyShownEntry();
    void HeaderClicksSortAlternately();
    void DragSwapsWithTheRowUnderThePointer();
    void DropsAddOnlyWhatThePaneTakes();
    void DoubleClickPlaysOrAsksHowToImport();
    void SelectedRowsFitTheBufferOrReportTheCapacity();
};

namespace {

// An m3u entry with four songs of different times, artists and sizes.
CMusicList FourSongEntry(const std::string& root) {
    const std::string folder = root + "/four";
    CMusicList entries;
    entries.AddTail(MakeEntry("四首", "", folder, "four.m3u",
                              {MakeSong("d", "乙", 300, 1, folder, "d.mp3", 4000),
                               MakeSong("b", "甲", 100, 2, folder, "b.mp3", 3000),
                               MakeSong("c", "丙", 200, 3, folder, "c.mp3", 2000),
                               MakeSong("a", "甲", 400, 4, folder, "a.mp3", 1000)}));
    entries.AddTail(MakeEntry("空", "", folder, "empty.m3u", {}));
    return entries;
}

void Drag(CSongListView* pane, int fromRow, const QList<int>& overRows) {
    QWidget* viewport = pane->viewport();
    auto centre = [pane](int row) {
        return pane->visualRect(pane->model()->index(row, 0)).center();
    };
    QTest::mousePress(viewport, Qt::LeftButton, {}, centre(fromRow));
    for (int row : overRows) {
        QMouseEvent move(QEvent::MouseMove, QPointF(centre(row)),
                         QPointF(viewport->mapToGlobal(centre(row))), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
    }
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, centre(overRows.last()));
}

// Drops the files on the pane; whether the pane took the drag in.
bool DropFiles(QTableView* pane, const std::vector<std::string>& files) {
    QMimeData data;
    QList<QUrl> urls;
    for (const std::string& file : files) {
        urls << QUrl::fromLocalFile(QString::fromStdString(file));
    }
    data.setUrls(urls);
    QPoint point = pane->viewport()->rect().center();
    QDragEnterEvent enter(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pane->viewport(), &enter);
    QDropEvent drop(QPointF(point), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pane->viewport(), &drop);
    return enter.isAccepted();
}

} // namespace

void PanesTest::RefillsTheSongPaneOnlyForANewlyShownEntry() {
    CShownLibrary shown;
    QVERIFY(shown.Show(SampleEntries(shown.library.Dir().Path())));
    // Loading numbers each entry's songs 1, 2, ...; a song without a number
    // sorts first and shows an empty order cell.
    shown.Manager().entries.GetAt(2)->songs.GetAt(2)->order = 0;
    QSignalSpy refills(shown.songs->model(), &QAbstractItemModel::modelReset);
    auto step = [&](const char* name, std::function<void()> action, int currentRow, int count,
                    const QStringList& orders) {
        action();
        QCOMPARE(QStringList({name, QString::number(shown.Manager().currentRow),
                              QString::number(shown.playList->GetSelectionMark()),
                              QString::number(refills.count())}) +
                     ColumnTexts(shown.songs, 4),
                 QStringList({name, QString::number(currentRow), QString::number(currentRow),
                              QString::number(count)}) +
                     orders);
    };
    auto click = [&](int row, Qt::MouseButton button = Qt::LeftButton) {
        return [&shown, row, button] { ClickRow(shown.playList, row, button); };
    };
    auto key = [&](Qt::Key k) { return [&shown, k] { QTest::keyClick(shown.playList, k); }; };
    step("click", click(2), 2, 1, {"", "1"});
    QCOMPARE(shown.Titles(), QStringList({"月亮代表我的心", "甜蜜蜜"}));
    step("same row", click(2), 2, 1, {"", "1"});
    step("other row", click(3), 3, 2, {});
    step("back", click(2), 2, 3, {"", "1"});
    step("all songs", click(0), 0, 4, {"", "", "", ""});
    step("right click", click(4, Qt::RightButton), 4, 5, {});
    QVERIFY(shown.frame->PlayListMenu()->isVisible());
    shown.frame->PlayListMenu()->hide();
    step("right again", click(4, Qt::RightButton), 4, 5, {});
    shown.frame->PlayListMenu()->hide();
    step("left on it", click(4), 4, 6, {});
    step("down at the end", key(Qt::Key_Down), 4, 6, {});
    step("click", click(1), 1, 7, {"1", "2"});
    step("up", key(Qt::Key_Up), 0, 8, {"", "", "", ""});
    step("up at the top", key(Qt::Key_Up), 0, 8, {"", "", "", ""});
    step("down", key(Qt::Key_Down), 1, 9, {"1", "2"});
    step("down", key(Qt::Key_Down), 2, 10, {"", "1"});
    // A click on empty space keeps the shown entry and its songs.
    step("empty space", [&] { ClickEmptySpace(shown.playList); }, 2, 10, {"", "1"});
}

void PanesTest::HeaderClicksSortAlternately() {
    CShownLibrary shown;
    QVERIFY(shown.Show(SampleEntries(shown.library.Dir().Path())));
    ClickRow(shown.playList, 2);
    QSignalSpy refills(shown.songs->model(), &QAbstractItemModel::modelReset);
    ClickHeader(shown.playList, 1);
    QCOMPARE(ColumnTexts(shown.playList, 1), QStringList({"", "m3u", "pls", "文件夹", ""}));
    QCOMPARE(ColumnTexts(shown.playList, 0),
             QStringList({"所有歌曲", "周末的歌", "Party", "老歌", "Other"}));
    ClickHeader(shown.playList, 6);
    QCOMPARE(ColumnTexts(shown.playList, 0),
             QStringList({"所有歌曲", "Party", "周末的歌", "老歌", "Other"}));
    ClickHeader(shown.playList, 0);
    QCOMPARE(ColumnTexts(shown.playList, 0),
             QStringList({"所有歌曲", "Other", "Party", "老歌", "周末的歌"}));
    QCOMPARE(refills.count(), 0);
    QCOMPARE(shown.Manager().currentRow, 3); // 老歌 stays the shown entry, in its new row
    QCOMPARE(shown.Manager().entries.GetAt(1)->title, std::string("Other"));

    CShownLibrary four;
    QVERIFY(four.Show(FourSongEntry(four.library.Dir().Path())));
    ClickRow(four.playList, 1);
    ClickHeader(four.songs, 3);
    QCOMPARE(ColumnTexts(four.songs, 3), QStringList({"01:40", "03:20", "05:00", "06:40"}));
    ClickHeader(four.songs, 1);
    // Descending by artist in GBK byte order (丙 bing, 甲 jia, 乙 yi); equal
    // artists keep their order from the time sort.
    QCOMPARE(four.Titles(), QStringList({"d", "b", "a", "c"}));
    QCOMPARE(ColumnTexts(four.songs, 4), QStringList({"1", "2", "4", "3"}));
    ClickHeader(four.songs, 6);
    QCOMPARE(ColumnTexts(four.songs, 6), QStringList({"1KB", "2KB", "3KB", "4KB"}));
    // Showing the entry again brings back its own order.
    ClickRow(four.playList, 2);
    ClickRow(four.playList, 1);
    QCOMPARE(four.Titles(), QStringList({"d", "b", "c", "a"}));
    ClickRow(four.playList, 0);
    QCOMPARE(ColumnTexts(four.songs, 4), QStringList({"", "", "", ""}));
    ClickHeader(four.songs, 0);
    QCOMPARE(four.Titles(), QStringList({"d", "c", "b", "a"}));
    QCOMPARE(four.Manager().songs.GetAt(1)->title, std::string("d"));
    // A refill of both panes keeps the entry highlighted and its songs shown.
    ClickRow(four.playList, 1);
    four.frame->RefillPanes();
    QCOMPARE(four.Manager().currentRow, 1);
    QCOMPARE(four.playList->SelectedRows(), std::vector<int>({1}));
    QCOMPARE(ColumnTexts(four.songs, 4), QStringList({"1", "2", "3", "4"}));
}

void PanesTest::DragSwapsWithTheRowUnderThePointer() {
    CShownLibrary shown;
    QVERIFY(shown.Show(FourSongEntry(shown.library.Dir().Path())));
    CMusicManager& manager = shown.Manager();
    // In the all-songs list the songs move without numbers of their own.
    Drag(shown.songs, 3, {2});
    QCOMPARE(shown.Titles(), QStringList({"d", "b", "a", "c"}));
    QCOMPARE(manager.songs.GetAt(3)->title, std::string("a"));
    QCOMPARE(QList<int>({manager.songs.GetAt(3)->order, manager.songs.GetAt(4)->order}),
             QList<int>({4, 3}));

    ClickRow(shown.playList, 1);
    Drag(shown.songs, 0, {1, 2});
    QCOMPARE(shown.Titles(), QStringList({"b", "c", "d", "a"}));
    QCOMPARE(ColumnTexts(shown.songs, 4), QStringList({"1", "2", "3", "4"}));
    QCOMPARE(shown.songs->GetSelectionMark(), 2);
    QCOMPARE(shown.songs->GetSelectedCount(), 1);
    // A fast move that skips rows swaps directly with the row reached.
    Drag(shown.songs, 0, {3});
    QCOMPARE(shown.Titles(), QStringList({"a", "c", "d", "b"}));
    CEntryPtr entry = manager.entries.GetAt(1);
    QCOMPARE(entry->songs.GetAt(1)->title, std::string("a"));
    QCOMPARE(QList<int>({entry->songs.GetAt(1)->order, entry->songs.GetAt(4)->order}),
             QList<int>({1, 4}));
    ClickRow(shown.playList, 2);
    ClickRow(shown.playList, 1);
    QCOMPARE(shown.Titles(), QStringList({"a", "c", "d", "b"}));

    // Delete in the song pane goes to the remove command, with nothing selected too.
    shown.Count({ID_REMOVE_SONGS});
    shown.songs->setFocus();
    shown.songs->clearSelection();
    QTest::keyClick(shown.songs, Qt::Key_Delete);
    QCOMPARE(shown.runs[ID_REMOVE_SONGS], 1);
    QCOMPARE(shown.frame->GetActivePaneRow(), 1);
}

void PanesTest::DropsAddOnlyWhatThePaneTakes() {
    CShownLibrary shown;
    QVERIFY(shown.Show(FourSongEntry(shown.library.Dir().Path())));
    const CTempDir& dir = shown.library.Dir();
    std::string frames;
    for (int i = 0; i < 40; ++i) {
        frames += Mp3FrameBytes(Mp3FrameFormat());
    }
    const std::string text = dir.Write("drop/readme.txt", "text\n");
    ClickRow(shown.playList, 1);
    QVERIFY(DropFiles(shown.songs, {text, dir.Write("drop/新歌.mp3", frames)}));
    QCOMPARE(shown.Manager().songs.GetCount(), 5);
    QCOMPARE(shown.Manager().entries.GetAt(1)->songs.GetCount(), 5);
    QCOMPARE(shown.Titles(), QStringList({"d", "b", "c", "a", "新歌"}));
    QCOMPARE(shown.songs->GetSelectedCount(), 1);
    QCOMPARE(shown.songs->GetSelectionMark(), 4);
    QCOMPARE(shown.playList->ItemText(1, 4), QStringLiteral("5"));

    // The playlist pane takes m3u files only, and only those the manager reads.
    dir.Write("new/歌.mp3", "x");
    const std::string list = dir.Write("new/新歌.m3u", "#EXTM3U\n#EXTINF:123,歌\n歌.mp3\n");
    QVERIFY(DropFiles(shown.playList, {text, list, dir.Write("new/坏.m3u", "# not a list\n")}));
    QCOMPARE(shown.Manager().entries.GetCount(), 3);
    QCOMPARE(shown.Manager().entries.GetAt(3)->title, std::string("新歌"));
    QCOMPARE(RowTexts(shown.playList, 3).mid(0, 2), QStringList({"新歌", "m3u"}));
    QCOMPARE(shown.playList->GetItemCount(), 4);
    QCOMPARE(shown.playList->SelectedRows(), std::vector<int>({3}));
    QCOMPARE(shown.Titles(), QStringList({"歌"}));
    QVERIFY(shown.frame->StatusText().startsWith(QStringLiteral("曲目: 3  音乐: ")));
}

// What a double click on the placeholder row asks: LibraryHandlersTest.
void PanesTest::DoubleClickPlaysOrAsksHowToImport() {
    CShownLibrary shown;
    QVERIFY(shown.Show(SampleEntries(shown.library.Dir().Path())));
    shown.Count({ID_PLAY});
    QTest::mouseDClick(shown.playList->viewport(), Qt::LeftButton, {},
                       shown.playList->visualRect(shown.playList->model()->index(3, 0)).center());
    QCOMPARE(shown.runs[ID_PLAY], 1);
}

void PanesTest::SelectedRowsFitTheBufferOrReportTheCapacity() {
    CShownLibrary shown;
    QVERIFY(shown.Show(SampleEntries(shown.library.Dir().Path())));
    ClickRow(shown.playList, 3);
    ClickRow(shown.playList, 1, Qt::LeftButton, Qt::ControlModifier);
    QCOMPARE(shown.playList->GetSelectedCount(), 2);
    int rows[2] = {-7, -7};
    QCOMPARE(shown.playList->GetSelectedRows(rows, 2), 3);
    QCOMPARE(QList<int>({rows[0], rows[1]}), QList<int>({1, 3}));
    int small[1] = {-7};
    QCOMPARE(shown.playList->GetSelectedRows(small, 1), 1);
    QCOMPARE(small[0], -7);
    shown.playList->clearSelection();
    QCOMPARE(shown.playList->GetSelectedRows(rows, 2), -1);
}

QTEST_MAIN(PanesTest)
#include "PanesTest.moc"
