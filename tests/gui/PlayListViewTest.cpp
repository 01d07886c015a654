// The playlist pane on a shown window: clicks and the remembered rows, the
// keys, header sorting, dropped files and the double click.
#include "GuiHelpers.h"

#include "app/CommandIds.h"
#include "app/ImportMethodDlg.h"
#include "app/MainFrame.h"
#include "core/MusicManager.h"
#include "panes/PlayListView.h"
#include "panes/SongListView.h"
#include "support/RecordingPlatform.h"

#include <QMenu>
#include <QMimeData>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTimer>
#include <QUrl>
#include <QtTest>

#include <memory>

class PlayListViewTest : public QObject {
    Q_OBJECT
private slots:
    void RefillsTheSongPaneOnlyForANewlyClickedRow();
    void RemembersLeftAndRightClickRowsApart();
    void ClickOnEmptySpaceKeepsTheShownEntry();
    void ArrowKeysMoveTheShownEntry();
    void HeaderClicksSortAlternatelyWithoutTouchingTheSongs();
    void DropAddsOnlyM3uFiles();
    void DoubleClickPlaysOrReportsAnEmptyLibrary();
    void SelectedRowsFitTheBufferOrReportTheCapacity();
};

void PlayListViewTest::RefillsTheSongPaneOnlyForANewlyClickedRow() {
    CShownLibrary shown;
    QVERIFY(shown.Show(SampleEntries(shown.library.Dir().Path())));
    // Loading numbers each entry's songs 1, 2, ...; a song without a number
    // sorts first and shows an empty order cell.
    shown.frame->m_pManager->entries.GetAt(2)->songs.GetAt(2)->order = 0;
    QSignalSpy refills(shown.songs->model(), &QAbstractItemModel::modelReset);
    ClickRow(shown.playList, 2);
    QCOMPARE(refills.count(), 1);
    QCOMPARE(shown.frame->m_pManager->currentRow, 2);
    QCOMPARE(ColumnTexts(shown.songs, 0), QStringList({"月亮代表我的心", "甜蜜蜜"}));
    QCOMPARE(ColumnTexts(shown.songs, 4), QStringList({"", "1"}));
    ClickRow(shown.playList, 2);
    QCOMPARE(refills.count(), 1);
    ClickRow(shown.playList, 3);
    ClickRow(shown.playList, 2);
    QCOMPARE(refills.count(), 3);
    ClickRow(shown.playList, 0);
    QCOMPARE(refills.count(), 4);
    QCOMPARE(shown.frame->m_pManager->currentRow, 0);
    QCOMPARE(ColumnTexts(shown.songs, 4), QStringList({"", "", "", ""}));
}

void PlayListViewTest::RemembersLeftAndRightClickRowsApart() {
    CShownLibrary shown;
    QVERIFY(shown.Show(SampleEntries(shown.library.Dir().Path())));
    QSignalSpy refills(shown.songs->model(), &QAbstractItemModel::modelReset);
    ClickRow(shown.playList, 4);
    ClickRow(shown.playList, 4, Qt::RightButton);
    QCOMPARE(refills.count(), 2);
    QVERIFY(shown.frame->PlayListMenu()->isVisible());
    shown.frame->PlayListMenu()->hide();
    ClickRow(shown.playList, 4, Qt::RightButton);
    QCOMPARE(refills.count(), 2);
    shown.frame->PlayListMenu()->hide();
}

void PlayListViewTest::ClickOnEmptySpaceKeepsTheShownEntry() {
    CShownLibrary shown;
    QVERIFY(shown.Show(SampleEntries(shown.library.Dir().Path())));
    ClickRow(shown.playList, 1);
    QCOMPARE(shown.songs->GetItemCount(), 2);
    ClickEmptySpace(shown.playList);
    QCOMPARE(shown.frame->m_pManager->currentRow, 1);
    QCOMPARE(shown.playList->SelectedRows(), std::vector<int>({1}));
    QCOMPARE(shown.songs->GetItemCount(), 2);
}

void PlayListViewTest::ArrowKeysMoveTheShownEntry() {
    CShownLibrary shown;
    QVERIFY(shown.Show(SampleEntries(shown.library.Dir().Path())));
    CMusicManager* manager = shown.frame->m_pManager;
    ClickRow(shown.playList, 4);
    QSignalSpy refills(shown.songs->model(), &QAbstractItemModel::modelReset);
    QTest::keyClick(shown.playList, Qt::Key_Down);
    QCOMPARE(refills.count(), 0);
    QCOMPARE(manager->currentRow, 4);
    QCOMPARE(shown.playList->GetSelectionMark(), 4);

    ClickRow(shown.playList, 1);
    QTest::keyClick(shown.playList, Qt::Key_Up);
    QCOMPARE(manager->currentRow, 0);
    QCOMPARE(shown.playList->GetSelectionMark(), 0);
    QCOMPARE(shown.songs->GetItemCount(), 4);
    QTest::keyClick(shown.playList, Qt::Key_Up);
    QCOMPARE(manager->currentRow, 0);

    QTest::keyClick(shown.playList, Qt::Key_Down);
    QTest::keyClick(shown.playList, Qt::Key_Down);
    QCOMPARE(manager->currentRow, 2);
    QCOMPARE(shown.playList->GetSelectionMark(), 2);
    QCOMPARE(ColumnTexts(shown.songs, 0), QStringList({"甜蜜蜜", "月亮代表我的心"}));
    QCOMPARE(ColumnTexts(shown.songs, 4), QStringList({"1", "2"}));
}

void PlayListViewTest::HeaderClicksSortAlternatelyWithoutTouchingTheSongs() {
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
    // The entry shown (老歌) stays the current one in its new row.
    QCOMPARE(shown.frame->m_pManager->currentRow, 3);
    QCOMPARE(shown.playList->SelectedRows(), std::vector<int>({3}));
    QCOMPARE(QString::fromStdString(shown.frame->m_pManager->entries.GetAt(1)->title),
             QStringLiteral("Other"));
}

void PlayListViewTest::DropAddsOnlyM3uFiles() {
    CScopedRecordingPlatform recording;
    CShownLibrary shown;
    QVERIFY(shown.Show(SampleEntries(shown.library.Dir().Path())));
    const std::string song = shown.library.Dir().Write("new/歌.mp3", "x");
    const std::string playlist =
        shown.library.Dir().Write("new/新歌.m3u", "#EXTM3U\n#EXTINF:123,歌\n歌.mp3\n");
    const std::string text = shown.library.Dir().Write("new/note.txt", "not a list\n");
    (void)song;

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(text)),
                  QUrl::fromLocalFile(QString::fromStdString(playlist))});
    QPoint point = shown.playList->viewport()->rect().center();
    QDragEnterEvent enter(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(shown.playList->viewport(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(point), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(shown.playList->viewport(), &drop);

    CMusicManager* manager = shown.frame->m_pManager;
    QCOMPARE(manager->entries.GetCount(), 5);
    QCOMPARE(QString::fromStdString(manager->entries.GetAt(5)->title), QStringLiteral("新歌"));
    QCOMPARE(shown.playList->GetItemCount(), 6);
    QCOMPARE(shown.playList->ItemText(5, 0), QStringLiteral("新歌"));
    QCOMPARE(shown.playList->ItemText(5, 1), QStringLiteral("m3u"));
    QCOMPARE(shown.playList->SelectedRows(), std::vector<int>({5}));
    QCOMPARE(ColumnTexts(shown.songs, 0), QStringList({"歌"}));
    QVERIFY(shown.frame->StatusText().startsWith(QStringLiteral("曲目: 5  音乐: ")));

    // A list the manager refuses adds no entry, and so no row.
    const std::string broken = shown.library.Dir().Write("new/坏.m3u", "not a playlist\n");
    QMimeData brokenData;
    brokenData.setUrls({QUrl::fromLocalFile(QString::fromStdString(broken))});
    QDropEvent brokenDrop(QPointF(point), Qt::CopyAction, &brokenData, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(shown.playList->viewport(), &brokenDrop);
    QCOMPARE(manager->entries.GetCount(), 5);
    QCOMPARE(shown.playList->GetItemCount(), 6);
    QCOMPARE(ColumnTexts(shown.songs, 0), QStringList({"歌"}));
}

void PlayListViewTest::DoubleClickPlaysOrReportsAnEmptyLibrary() {
    CShownLibrary shown;
    QVERIFY(shown.Show(SampleEntries(shown.library.Dir().Path())));
    int plays = 0;
    shown.frame->SetCommandHandler(ID_PLAY, [&plays] { ++plays; });
    QRect cell = shown.playList->visualRect(shown.playList->model()->index(3, 0));
    QTest::mouseDClick(shown.playList->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(plays, 1);

    CShownLibrary empty;
    QVERIFY(empty.Show(CMusicList()));
    int emptyPlays = 0;
    empty.frame->SetCommandHandler(ID_PLAY, [&emptyPlays] { ++emptyPlays; });
    ClickEmptySpace(empty.playList);
    QTest::mouseDClick(empty.playList->viewport(), Qt::LeftButton, {},
                       QPoint(5, empty.playList->viewport()->height() - 3));
    QCOMPARE(emptyPlays, 0);

    // The placeholder row asks how to import; OK with the folder preselected
    // starts the folder import.
    int folderImports = 0;
    empty.frame->SetCommandHandler(ID_IMPORT_FOLDER, [&folderImports] { ++folderImports; });
    bool preselected = false;
    QTimer::singleShot(0, [&preselected] {
        auto* dialog = qobject_cast<CImportMethodDlg*>(QApplication::activeModalWidget());
        if (dialog != nullptr) {
            preselected = dialog->FolderRadio()->isChecked();
            dialog->accept();
        }
    });
    QRect placeholder = empty.playList->visualRect(empty.playList->model()->index(0, 0));
    QTest::mouseDClick(empty.playList->viewport(), Qt::LeftButton, {}, placeholder.center());
    QVERIFY(preselected);
    QCOMPARE(folderImports, 1);
    QCOMPARE(emptyPlays, 0);
}

void PlayListViewTest::SelectedRowsFitTheBufferOrReportTheCapacity() {
    CShownLibrary shown;
    QVERIFY(shown.Show(SampleEntries(shown.library.Dir().Path())));
    ClickRow(shown.playList, 3);
    ClickRow(shown.playList, 1, Qt::LeftButton, Qt::ControlModifier);
    QCOMPARE(shown.playList->GetSelectedCount(), 2);
    int rows[2] = {-7, -7};
    QCOMPARE(shown.playList->GetSelectedRows(rows, 2), 3);
    QCOMPARE(rows[0], 1);
    QCOMPARE(rows[1], 3);
    int small[1] = {-7};
    QCOMPARE(shown.playList->GetSelectedRows(small, 1), 1);
    QCOMPARE(small[0], -7);
    shown.playList->clearSelection();
    QCOMPARE(shown.playList->GetSelectedRows(rows, 2), -1);
}

QTEST_MAIN(PlayListViewTest)
#include "PlayListViewTest.moc"
