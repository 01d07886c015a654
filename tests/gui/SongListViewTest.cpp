// The song pane on a shown window: the order column, header sorting, the
// drag that reorders songs, the Delete key and dropped music files.
#include "GuiHelpers.h"

#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "core/MusicManager.h"
#include "panes/PlayListView.h"
#include "panes/SongListView.h"
#include "support/Mp3Bytes.h"
#include "support/RecordingPlatform.h"

#include <QMimeData>
#include <QUrl>
#include <QtTest>

#include <memory>

class SongListViewTest : public QObject {
    Q_OBJECT
private slots:
    void ShowsOrderNumbersOnlyForAnEntry();
    void HeaderClicksSortAlternately();
    void ShowingAnEntryAgainRestoresItsOrder();
    void DragSwapsWithTheRowUnderThePointer();
    void DragReordersTheAllSongsListWithoutNumbers();
    void DeleteKeyGoesToTheRemoveCommand();
    void DropAddsOnlyEnabledMusicFiles();
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
    QTest::mouseRelease(viewport, Qt::LeftButton, {},
                        centre(overRows.isEmpty() ? fromRow : overRows.last()));
}

} // namespace

void SongListViewTest::ShowsOrderNumbersOnlyForAnEntry() {
    CShownLibrary shown;
    QVERIFY(shown.Show(FourSongEntry(shown.library.Dir().Path())));
    QCOMPARE(ColumnTexts(shown.songs, 4), QStringList({"", "", "", ""}));
    ClickRow(shown.playList, 1);
    QCOMPARE(ColumnTexts(shown.songs, 4), QStringList({"1", "2", "3", "4"}));
    QCOMPARE(shown.songs->ItemImage(0), 0);
    // A refill of both panes keeps the entry highlighted and its songs shown.
    shown.frame->RefillPanes();
    QCOMPARE(shown.frame->m_pManager->currentRow, 1);
    QCOMPARE(shown.playList->SelectedRows(), std::vector<int>({1}));
    QCOMPARE(ColumnTexts(shown.songs, 4), QStringList({"1", "2", "3", "4"}));
}

void SongListViewTest::HeaderClicksSortAlternately() {
    CShownLibrary shown;
    QVERIFY(shown.Show(FourSongEntry(shown.library.Dir().Path())));
    ClickRow(shown.playList, 1);
    ClickHeader(shown.songs, 3);
    QCOMPARE(ColumnTexts(shown.songs, 3), QStringList({"01:40", "03:20", "05:00", "06:40"}));
    ClickHeader(shown.songs, 1);
    // Descending by artist in GBK byte order (丙 bing, 甲 jia, 乙 yi); equal
    // artists keep their order from the time sort.
    QCOMPARE(shown.Titles(), QStringList({"d", "b", "a", "c"}));
    QCOMPARE(ColumnTexts(shown.songs, 4), QStringList({"1", "2", "4", "3"}));
    ClickHeader(shown.songs, 6);
    QCOMPARE(ColumnTexts(shown.songs, 6), QStringList({"1KB", "2KB", "3KB", "4KB"}));

    ClickRow(shown.playList, 0);
    ClickHeader(shown.songs, 0);
    QCOMPARE(shown.Titles(), QStringList({"d", "c", "b", "a"}));
    QCOMPARE(QString::fromStdString(shown.frame->m_pManager->songs.GetAt(1)->title),
             QStringLiteral("d"));
}

void SongListViewTest::ShowingAnEntryAgainRestoresItsOrder() {
    CShownLibrary shown;
    QVERIFY(shown.Show(FourSongEntry(shown.library.Dir().Path())));
    ClickRow(shown.playList, 1);
    ClickHeader(shown.songs, 0);
    QCOMPARE(shown.Titles(), QStringList({"a", "b", "c", "d"}));
    ClickRow(shown.playList, 2);
    ClickRow(shown.playList, 1);
    QCOMPARE(shown.Titles(), QStringList({"d", "b", "c", "a"}));
}

void SongListViewTest::DragSwapsWithTheRowUnderThePointer() {
    CShownLibrary shown;
    QVERIFY(shown.Show(FourSongEntry(shown.library.Dir().Path())));
    ClickRow(shown.playList, 1);
    Drag(shown.songs, 0, {1, 2});
    QCOMPARE(shown.Titles(), QStringList({"b", "c", "d", "a"}));
    QCOMPARE(ColumnTexts(shown.songs, 4), QStringList({"1", "2", "3", "4"}));
    QCOMPARE(shown.songs->GetSelectionMark(), 2);
    QCOMPARE(shown.songs->GetSelectedCount(), 1);
    // A fast move that skips rows swaps directly with the row reached.
    Drag(shown.songs, 0, {3});
    QCOMPARE(shown.Titles(), QStringList({"a", "c", "d", "b"}));
    CEntryPtr entry = shown.frame->m_pManager->entries.GetAt(1);
    QCOMPARE(QString::fromStdString(entry->songs.GetAt(1)->title), QStringLiteral("a"));
    QCOMPARE(entry->songs.GetAt(1)->order, 1);
    QCOMPARE(entry->songs.GetAt(4)->order, 4);
    // The order survives showing the entry again.
    ClickRow(shown.playList, 2);
    ClickRow(shown.playList, 1);
    QCOMPARE(shown.Titles(), QStringList({"a", "c", "d", "b"}));
}

void SongListViewTest::DragReordersTheAllSongsListWithoutNumbers() {
    CShownLibrary shown;
    QVERIFY(shown.Show(FourSongEntry(shown.library.Dir().Path())));
    CMusicManager* manager = shown.frame->m_pManager;
    Drag(shown.songs, 3, {2});
    QCOMPARE(shown.Titles(), QStringList({"d", "b", "a", "c"}));
    QCOMPARE(QString::fromStdString(manager->songs.GetAt(3)->title), QStringLiteral("a"));
    QCOMPARE(manager->songs.GetAt(3)->order, 4);
    QCOMPARE(manager->songs.GetAt(4)->order, 3);
}

void SongListViewTest::DeleteKeyGoesToTheRemoveCommand() {
    CShownLibrary shown;
    QVERIFY(shown.Show(FourSongEntry(shown.library.Dir().Path())));
    int removes = 0;
    shown.frame->SetCommandHandler(ID_REMOVE_SONGS, [&removes] { ++removes; });
    shown.songs->setFocus();
    shown.songs->clearSelection();
    QTest::keyClick(shown.songs, Qt::Key_Delete);
    QCOMPARE(removes, 1);
    QCOMPARE(shown.frame->GetActivePaneRow(), 1);
}

void SongListViewTest::DropAddsOnlyEnabledMusicFiles() {
    CScopedRecordingPlatform recording;
    CShownLibrary shown;
    QVERIFY(shown.Show(FourSongEntry(shown.library.Dir().Path())));
    Mp3FrameFormat format;
    std::string frames;
    for (int i = 0; i < 40; ++i) {
        frames += Mp3FrameBytes(format);
    }
    const std::string song = shown.library.Dir().Write("drop/新歌.mp3", frames);
    const std::string text = shown.library.Dir().Write("drop/readme.txt", "text\n");
    ClickRow(shown.playList, 1);

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(text)),
                  QUrl::fromLocalFile(QString::fromStdString(song))});
    QPoint point = shown.songs->viewport()->rect().center();
    QDragEnterEvent enter(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(shown.songs->viewport(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(point), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(shown.songs->viewport(), &drop);

    CMusicManager* manager = shown.frame->m_pManager;
    QCOMPARE(manager->songs.GetCount(), 5);
    QCOMPARE(manager->entries.GetAt(1)->songs.GetCount(), 5);
    QCOMPARE(shown.Titles(), QStringList({"d", "b", "c", "a", "新歌"}));
    QCOMPARE(shown.songs->GetSelectedCount(), 1);
    QCOMPARE(shown.songs->GetSelectionMark(), 4);
    QCOMPARE(shown.playList->ItemText(1, 4), QStringLiteral("5"));
}

QTEST_MAIN(SongListViewTest)
#include "SongListViewTest.moc"
