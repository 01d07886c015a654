// The main window on a library of store files: both panes, status text, menus, the update
// rules, the close question, clicks, keys, sorting, dragging and dropping in the panes, and the
// calls the import worker makes from its own thread.
#include "GuiHelpers.h"

#include "app/CommandIds.h"
#include "app/ExitConfirmDlg.h"
#include "app/ImportProgressDlg.h"
#include "app/QtPlatform.h"
#include "app/TunecaseDoc.h"
#include "support/Mp3Bytes.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QSignalSpy>
#include <QUrl>
#include <QtTest>

#include <atomic>
#include <thread>

class WindowTest : public QObject {
    Q_OBJECT
private slots:
    void ShowsTheStoredLibraryInBothPanes();
    void ExitAsksThenSavesOrKeepsTheWindow();
    void ExitSaveStopsARunningImportFirst();
    void UpdateRulesFollowTheLibraryAndSelection();
    void WorkerCallsShowOnTheUiThreadInOrder();
    void ClicksRefillTheSongPaneOnlyForANewEntryAndKeysPlay();
    void HeaderClicksSortAlternately();
    void SortDragAndDropInThePanes();
};

namespace {

// The commands whose rules the table checks, in its order.
// clang-format off
const int kRuled[] = {
    ID_RANDOM_SONGS_10, ID_RANDOM_SONGS_20,
    ID_RANDOM_ENTRIES_1, ID_RANDOM_ENTRIES_2, ID_RANDOM_ENTRIES_4,
    ID_RANDOM_ENTRIES_1_SHUFFLED, ID_RANDOM_ENTRIES_2_SHUFFLED, ID_RANDOM_ENTRIES_4_SHUFFLED,
    ID_FOLDER_TO_M3U, ID_ALL_FOLDERS_TO_M3U, ID_PLAY_ENTRIES_SHUFFLED,
    ID_REMOVE_ENTRY, ID_SAVE_ENTRY_M3U, ID_WRITE_TAGS, ID_EXPLORE_ENTRY,
    ID_EXPORT_LIST, ID_CLEAR_LIBRARY, ID_IMPORT_LIST,
    ID_PLAY, ID_EDIT_INFO,
    ID_PLAY_SONGS_SHUFFLED, ID_EXPLORE_SONG};
// clang-format on

// A library by name: "sample", "<n> songs" (loose songs only), "<n> entries" (empty m3u
// entries), "empty"; every command of kRuled counted.
bool ShowLibrary(CShownLibrary& shown, const QString& name) {
    CMusicList entries = name == "sample" ? SampleEntries(shown.Root()) : CMusicList();
    std::vector<CSongPtr> songs;
    const int count = name.section(' ', 0, 0).toInt();
    for (int i = 0; i < count; ++i) {
        const std::string file = "s" + std::to_string(i);
        if (name.endsWith(" songs")) {
            songs.push_back(MakeSong(file, "", 60, 0, shown.Path("loose"), file + ".mp3", 100));
        } else {
            entries.AddTail(MakeEntry(file, "", shown.Path("lists"), file + ".m3u", {}));
        }
    }
    const bool exposed = shown.Show(entries, songs);
    for (int command : kRuled) {
        shown.Count({command});
    }
    return exposed;
}

QStringList MenuTexts(QMenu* menu, bool withStates = false) {
    QStringList texts;
    for (QAction* action : menu->actions()) {
        texts << (action->isSeparator() ? QString("-") : action->text());
        if (withStates && !action->isSeparator()) {
            texts.last() +=
                QString(action->isEnabled() ? "+" : "-") + (action->isChecked() ? "v" : "");
        }
    }
    return texts;
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

void WindowTest::ShowsTheStoredLibraryInBothPanes() {
    CShownLibrary shown;
    QVERIFY(shown.Show(SampleEntries(shown.Root())));
    const QString root = QString::fromStdString(shown.Root());
    QCOMPARE(PaneRows(shown.playList, root) + PaneRows(shown.songs, root),
             QStringList({"所有歌曲||||||||4",
                          "周末的歌|m3u|陈奕迅|流行|2|03:30|0|~/music/zhou/周末.m3u|0",
                          "老歌|文件夹||N/A|2|72:05|0|~/music/老歌|3",
                          "Party|pls|DJ|N/A|0|Unknown|7|/music/party.pls|0",
                          "Other|||N/A|0|Unknown|0|/music/x.wpl|0",
                          "十年|陈奕迅|流行|03:25||mp3|2960KB|~/music/zhou/十年.mp3|0",
                          "浮夸|陈奕迅|N/A|00:05||mp3|0KB|~/music/zhou/浮夸.mp3|0",
                          "甜蜜蜜|邓丽君|N/A|10:00||mp3|4096KB|~/music/老歌/甜蜜蜜.mp3|0",
                          "月亮代表我的心|邓丽君|N/A|62:05||wma|1KB|~/music/老歌/月亮.wma|0"}));
    QStringList headings;
    for (QAbstractItemModel* rows : {shown.playList->model(), shown.songs->model()}) {
        for (int column = 0; column < 8; ++column) {
            headings << rows->headerData(column, Qt::Horizontal).toString();
        }
    }
    QCOMPARE(headings, QStringList({"曲目标题", "类型", "艺术家", "风格", "曲数", "时间",
                                    "欣赏次数", "文件位置", "音乐标题", "艺术家", "风格", "时间",
                                    "次序", "文件类型", "文件大小", "文件位置"}));
    // Sizes summed before the division; more than 4 GB counted whole.
    QStringList status = {shown.frame->StatusText()};
    shown.Manager().songs.AddTail(MakeSong("big", "", 0, 0, "/m", "big.wav", 5LL << 30));
    shown.frame->UpdateStatusText();
    QCOMPARE(status << shown.frame->StatusText(),
             QStringList({"曲目: 4  音乐: 4  文件总量: 6MB  总时间: 01:15:35",
                          "曲目: 4  音乐: 5  文件总量: 5126MB  总时间: 01:15:35"}));
    CTunecaseDoc doc;
    QVERIFY(doc.OnNewDocument());
    QCOMPARE(FrameCaption(doc), QStringLiteral("鸣蛩 (Cricklet)   -   一切音乐尽在掌握中 !"));
    CMainFrame& frame = *shown.frame;
    QStringList texts = {frame.Action(ID_PLAY)->toolTip(),
                         frame.Action(ID_CLEAR_LIBRARY)->statusTip()};
    for (QAction* action : frame.menuBar()->actions()) {
        texts << action->text();
    }
    QCOMPARE(texts + MenuTexts(frame.menuBar()->actions().at(0)->menu()),
             QStringList({"播放所选的曲目或音乐", "清除所有曲目，不会删除曲目文件", "文件(&F)",
                          "曲目(&M)", "播放(&P)", "帮助(&H)", "导入音乐单..\tCtrl+O",
                          "导出音乐单..\tCtrl+S", "导出音乐单为网页..", "-", "功能设置..\tCtrl+T",
                          "弹出菜单", "-", "退出..\tAlt+F4"}));
    // The simple popup keeps the artists; menus take the rules and checks when they open.
    QVERIFY(frame.ExecuteCommand(ID_MENU_SIMPLE));
    QCOMPARE(CMainFrame::ArtistSubmenu(frame.PlayListMenu())->actions().size(), 3);
    QMenu* randomEntries = frame.menuBar()->actions().at(2)->menu()->actions().at(2)->menu();
    QMenu* popupSwitch = frame.menuBar()->actions().at(0)->menu()->actions().at(5)->menu();
    frame.UpdateMenuItems(randomEntries);
    frame.UpdateMenuItems(popupSwitch);
    QCOMPARE(MenuTexts(randomEntries, true).mid(0, 6) + MenuTexts(popupSwitch, true),
             QStringList({"1个曲目\tShift+1+", "2个曲目\tShift+2+", "4个曲目\tShift+4+", "-",
                          "1个曲目 (乐序随机)+", "2个曲目 (乐序随机)+", "简洁+v", "全部+"}));
    QCOMPARE(frame.PlayListMenu()->defaultAction()->data().toInt(), int(ID_EDIT_INFO));
}

void WindowTest::ExitAsksThenSavesOrKeepsTheWindow() {
    CShownLibrary shown;
    QVERIFY(shown.Show(SampleEntries(shown.Root())));
    const std::string before = shown.dir.Read("PlayList.stp");
    const std::string work = shown.Manager().config.WorkDirectory;
    shown.Manager().entries.RemoveAt(1);
    // Cancel keeps the window; a save that fails asks before losing the
    // changes, and Cancel keeps the window again.
    QStringList asked;
    for (bool blocked : {false, true}) {
        if (blocked) {
            shown.Manager().config.WorkDirectory = shown.dir.Write("blocked", "a file");
        }
        WhenShown<CExitConfirmDlg>([&asked, blocked](CExitConfirmDlg* dialog) {
            asked << dialog->windowTitle() + QString::number(dialog->ShowAtExitBox()->isChecked());
            dialog->ShowAtExitBox()->setChecked(false);
            blocked ? dialog->accept() : dialog->reject();
        });
        QVERIFY(!shown.frame->close() && shown.frame->isVisible());
    }
    QCOMPARE(asked, QStringList({"Cricklet1", "Cricklet1"}));
    QCOMPARE(shown.platform.messages.size(), size_t(4)); // three write errors, then the question
    QCOMPARE(shown.Messages().last(), QString::fromUtf8(CMainFrame::kSaveFailedQuestion));
    QCOMPARE(shown.dir.Read("PlayList.stp"), before);
    // With the way free again it saves without a question.
    shown.Manager().config.WorkDirectory = work;
    shown.platform.messages.clear();
    QVERIFY(shown.frame->close() && shown.platform.messages.empty());
    CMusicList saved;
    QVERIFY(ReadMusicListFile(shown.Path("PlayList.stp"), saved));
    QCOMPARE(ListTitles(saved), QStringList({"老歌", "Party", "Other"}));
    CMainFrame next; // exits without asking
    QCOMPARE(next.m_pManager->config.IsExitAlert, 0);
    QVERIFY(next.close());
}

void WindowTest::ExitSaveStopsARunningImportFirst() {
    CShownLibrary shown;
    FillFolders(shown.dir, "import", 20, 30, Mp3FileBytes({}), ".mp3");
    QVERIFY(shown.Show(CMusicList()));
    shown.frame->SendCommand(TestCommand(MCMD_IMPORT_FOLDER, {0}, {shown.Path("import")}));
    shown.frame->SaveAtExit();
    const int songCount = shown.Manager().songs.GetCount();
    CSongList saved;
    QVERIFY(ReadSongStoreFile(shown.Path("MusicList.ckp"), saved));
    QCOMPARE(saved.GetCount(), songCount);
    QTest::qWait(50);
    QCOMPARE(shown.Manager().songs.GetCount(), songCount);
}

void WindowTest::UpdateRulesFollowTheLibraryAndSelection() {
    // The library; the entry rows, then the song rows clicked (the later
    // ones with Ctrl); for each command of kRuled + enabled, - disabled,
    // . not checked; keys pressed then in the pane clicked last; the
    // commands that ran.
    const struct {
        const char* library;
        const char* entryRows;
        const char* songRows;
        QString states;
        const char* keys;
        QList<int> runs;
    } cases[] = {
        // clang-format off
        //                                      songs entries  fold  entry lib  play songs
        {"10 songs",     "",    "",    "+- ...... ... .... ... .. ..", "Alt+1, Alt+2",
         {ID_RANDOM_SONGS_10}},
        {"3 entries",    "",    "",    ".. ++-++- ... .... ... .. ..", "Shift+4, Shift+2, Shift+@",
         {ID_RANDOM_ENTRIES_2, ID_RANDOM_ENTRIES_2}},
        {"2 entries",    "",    "",    ".. ...... .-. .... ... .. ..", "", {}},
        // Right after the start the all-songs row is current: nothing to play.
        {"sample",       "",    "",    ".. ...... .+. ---. +++ -. -+", "Ctrl+P, Ctrl+R", {}},
        {"sample",       "1",   "",    ".. ...... -.. .... ... ++ ..", "", {}},
        {"sample",       "2",   "",    ".. ...... +.+ .... ... .. ..", "", {}},
        {"sample",       "0",   "",    ".. ...... -.- .... ... .. ..", "Del, Ctrl+R", {}},
        {"sample",       "3",   "",    ".. ...... ... ++.+ ... .. ..", "Del", {ID_REMOVE_ENTRY}},
        {"sample",       "3 1", "",    ".. ...... ... +-.- ... .. ..", "", {}},
        {"empty",        "",    "",    ".. ...... ... .... --+ .. ..", "Ctrl+L, Ctrl+O",
         {ID_IMPORT_LIST}},
        {"sample",       "0",   "1",   ".. ...... ... .... ... +. ..", "Ctrl+P", {ID_PLAY}},
        {"sample",       "",    "0 2", ".. ...... ... .... ... .. +-", "", {}},
        // clang-format on
    };
    for (const auto& c : cases) {
        CShownLibrary shown;
        QVERIFY(ShowLibrary(shown, c.library));
        shown.playList->setFocus();
        const std::pair<QTableView*, QString> clicks[] = {{shown.playList, c.entryRows},
                                                          {shown.songs, c.songRows}};
        for (const auto& [pane, rows] : clicks) {
            int clicked = 0;
            for (const QString& row : rows.split(' ', Qt::SkipEmptyParts)) {
                ClickRow(pane, row.toInt(), Qt::LeftButton,
                         clicked++ == 0 ? Qt::NoModifier : Qt::ControlModifier);
            }
        }
        shown.frame->UpdateCommandStates();
        QString actual = c.states;
        int command = 0;
        for (QChar& state : actual) {
            if (state != ' ') {
                const bool enabled = shown.frame->IsCommandEnabled(kRuled[command++]);
                state = state == '.' ? QChar('.') : QChar(enabled ? '+' : '-');
            }
        }
        const QString row = QString("%1 [%2|%3]: ").arg(c.library, c.entryRows, c.songRows);
        QCOMPARE(row + actual, row + c.states);
        QTableView* pane =
            *c.songRows == '\0' ? static_cast<QTableView*>(shown.playList) : shown.songs;
        for (const QString& key : QString(c.keys).split(", ", Qt::SkipEmptyParts)) {
            QTest::keySequence(pane, QKeySequence(key));
        }
        QList<int> ran;
        for (const auto& [id, count] : shown.runs) {
            ran += QList<int>(count, id);
        }
        QVERIFY2(ran == c.runs, qPrintable(row + c.keys));
    }
}

void WindowTest::WorkerCallsShowOnTheUiThreadInOrder() {
    // A question from another thread opens on the user-interface thread.
    CQtPlatform platform;
    QString shownBox;
    WhenShown<QMessageBox>([&shownBox](QMessageBox* box) {
        shownBox = box->text() + "|" + box->windowTitle();
        box->done(QMessageBox::Cancel);
    });
    std::atomic<bool> done{false};
    CAnswer answer = CAnswer::Ok;
    std::thread asker([&] {
        answer = platform.AskOkCancel("确定要移去吗?", "Cricklet");
        done = true;
    });
    QTRY_VERIFY_WITH_TIMEOUT(done.load(), 10000);
    asker.join();
    QCOMPARE(shownBox, QString("确定要移去吗?|Cricklet"));
    QVERIFY(answer == CAnswer::Cancel);

    CShownLibrary shown;
    QVERIFY(shown.Show(CMusicList()));
    // The import dialog counts the rows; the chooser starts in the last folder.
    CImportProgressDlg dialog(&shown.Manager());
    shown.frame->m_pImportDlg = &dialog;
    shown.frame->ImportInsertSongRow(MakeSong("s", "", 1, 0, "/m", "s.mp3", 1), 0);
    shown.frame->m_pImportDlg = nullptr;
    QCOMPARE(dialog.CountText(), QStringLiteral("已导入音乐文件: 1"));
    shown.Manager().config.RecentDirectory = shown.Root();
    shown.frame->RunCommand(ID_IMPORT_FOLDER); // no answer: cancelled
    QCOMPARE(QDir(shown.dialogs.requests.back().startFolder).path(),
             QString::fromStdString(shown.Root()));
    // Import rows show the records as they were when handed over.
    CMainFrame& frame = *shown.frame;
    frame.ClearPanes(1);
    frame.m_bImportFinished = false;
    auto song = MakeSong("十年", "陈奕迅", 205, 0, "/music", "十年.mp3", 2960384);
    auto entry = MakeEntry("新专辑", "陈奕迅", "/music", "/music", {song});
    std::thread worker([&] {
        shown.Manager().songs.AddTail(song);
        shown.Manager().entries.AddTail(entry);
        frame.ImportInsertSongRow(song, 0);
        frame.ImportInsertEntryRow(entry, 1);
        frame.ImportShowProgress("/music", "十年.mp3");
        frame.ImportCloseDialog(1010);
        song->title = "改了";
        entry->title = "改了";
    });
    worker.join();
    QVERIFY(!frame.m_bImportFinished);
    QTRY_VERIFY(frame.m_bImportFinished);
    QCOMPARE(PaneRows(shown.playList).value(1) + PaneRows(shown.songs).value(0),
             QString("新专辑|文件夹|陈奕迅|N/A|1|03:25|0|/music|3"
                     "十年|陈奕迅|N/A|03:25||mp3|2960KB|/music/十年.mp3|0"));
}

void WindowTest::ClicksRefillTheSongPaneOnlyForANewEntryAndKeysPlay() {
    CShownLibrary shown;
    QVERIFY(shown.Show(SampleEntries(shown.Root())));
    // Loading numbers each entry's songs 1, 2, ...; a song without a number
    // sorts first and shows an empty order cell.
    shown.Manager().entries.GetAt(2)->songs.GetAt(2)->order = 0;
    QSignalSpy refills(shown.songs->model(), &QAbstractItemModel::modelReset);
    // Steps on the playlist pane: c<row> click, r<row> right click, D Down, U Up, X click below
    // the rows. After each: the shown row, the highlighted one, the song pane's refills so far
    // and its order cells.
    QStringList walk;
    for (const char* step : {"c2", "c2", "c3", "c0", "r4", "r4", "c1", "U", "U", "D", "D", "X"}) {
        QMenu* popup = shown.frame->PlayListMenu();
        if (step[0] == 'c' || step[0] == 'r') {
            ClickRow(shown.playList, step[1] - '0',
                     step[0] == 'r' ? Qt::RightButton : Qt::LeftButton);
        } else if (step[0] == 'X') {
            QWidget* rows = shown.playList->viewport();
            QTest::mouseClick(rows, Qt::LeftButton, {}, QPoint(5, rows->height() - 3));
        } else {
            QTest::keyClick(shown.playList, step[0] == 'D' ? Qt::Key_Down : Qt::Key_Up);
        }
        walk << QString("%1%2 %3 %4 %5:%6")
                    .arg(step, step[0] == 'r' && !popup->isVisible() ? "(no popup)" : "")
                    .arg(shown.Manager().currentRow)
                    .arg(shown.playList->GetSelectionMark())
                    .arg(refills.count())
                    .arg(ColumnTexts(shown.songs, 4).join(','));
        popup->hide();
    }
    QCOMPARE(walk.join(" | "), "c2 2 2 1:,1 | c2 2 2 1:,1 | c3 3 3 2: | c0 0 0 3:,,, | "
                               "r4 4 4 4: | r4 4 4 4: | c1 1 1 5:1,2 | U 0 0 6:,,, | U 0 0 6:,,, | "
                               "D 1 1 7:1,2 | D 2 2 8:,1 | X 2 2 8:,1");
    // The selected rows fit the caller's buffer, or their count is returned.
    ClickRow(shown.playList, 1);
    ClickRow(shown.playList, 3, Qt::LeftButton, Qt::ControlModifier);
    int rows[2] = {-7, -7};
    int small[1] = {-7};
    QCOMPARE(QList<int>({shown.playList->GetSelectedRows(rows, 2), rows[0], rows[1],
                         shown.playList->GetSelectedRows(small, 1), small[0]}),
             QList<int>({3, 1, 3, 1, -7}));
    shown.playList->clearSelection();
    QCOMPARE(shown.playList->GetSelectedRows(rows, 2), -1);

    // Tab and F6 pass the focus across; Return in the song pane plays the song.
    shown.frame->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(shown.frame.get()));
    ClickRow(shown.playList, 2);
    QTest::keyClick(shown.playList, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(shown.songs));
    QTest::keyClick(shown.songs, Qt::Key_Down);
    QTest::keyClick(shown.songs, Qt::Key_Return);
    QCOMPARE(shown.platform.openedPaths,
             std::vector<std::string>({shown.Path("music/老歌/甜蜜蜜.mp3")}));
    QTest::keyClick(shown.songs, Qt::Key_F6);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(shown.playList));
    // Enter plays the entry, as a double click does; its count's cell is redrawn.
    QSignalSpy redrawn(shown.playList->model(), &QAbstractItemModel::dataChanged);
    QTest::keyClick(shown.playList, Qt::Key_Enter);
    QCOMPARE(shown.playList->ItemText(2, 6), QStringLiteral("1"));
    QVERIFY(!redrawn.isEmpty());
    shown.Count({ID_PLAY});
    QTest::mouseDClick(shown.playList->viewport(), Qt::LeftButton, {},
                       shown.playList->visualRect(shown.playList->model()->index(3, 0)).center());
    QCOMPARE(shown.runs[ID_PLAY], 1);
}

void WindowTest::HeaderClicksSortAlternately() {
    CShownLibrary shown;
    QVERIFY(shown.Show(SampleEntries(shown.Root())));
    ClickRow(shown.playList, 2);
    QSignalSpy refills(shown.songs->model(), &QAbstractItemModel::modelReset);
    QHeaderView* header = shown.playList->horizontalHeader();
    QStringList orders = {QString::number(header->sortIndicatorSection())};
    for (int column : {1, 6, 0}) {
        ClickHeader(shown.playList, column);
        orders << QString("%1%2 ").arg(column).arg(header->sortIndicatorOrder() ? "v" : "^") +
                      ColumnTexts(shown.playList, 0).join(',');
    }
    QCOMPARE(orders, QStringList({"-1", "1^ 所有歌曲,周末的歌,Party,老歌,Other",
                                  "6v 所有歌曲,Party,周末的歌,老歌,Other",
                                  "0^ 所有歌曲,Other,Party,老歌,周末的歌"}));
    // 老歌 stays the shown entry, in its new row, and song commands act on its songs.
    QCOMPARE(refills.count(), 0);
    QCOMPARE(shown.Manager().currentRow, 3);
    QCOMPARE(shown.Manager().entries.GetAt(1)->title, std::string("Other"));
    ClickRow(shown.songs, 0);
    QTest::keyClick(shown.songs, Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(shown.platform.openedPaths,
             std::vector<std::string>({shown.Path("music/老歌/甜蜜蜜.mp3")}));
}

void WindowTest::SortDragAndDropInThePanes() {
    CShownLibrary shown;
    const std::string folder = shown.Path("four");
    CMusicList entries;
    entries.AddTail(MakeEntry("四首", "", folder, "four.m3u",
                              {MakeSong("d", "", 300, 1, folder, "d.mp3", 4000),
                               MakeSong("b", "", 100, 2, folder, "b.mp3", 3000),
                               MakeSong("c", "", 200, 3, folder, "c.mp3", 2000),
                               MakeSong("a", "", 400, 4, folder, "a.mp3", 1000)}));
    entries.AddTail(MakeEntry("空", "", folder, "empty.m3u", {}));
    QVERIFY(shown.Show(entries));
    ClickRow(shown.playList, 1);
    ClickHeader(shown.songs, 3);
    QCOMPARE(shown.Titles(), QStringList({"b", "c", "d", "a"}));
    // A drag swaps with the row under the pointer; a fast move that skips
    // rows swaps directly with the row reached. In the all-songs list the
    // songs move without numbers of their own. Showing the entry again brings
    // back its own order, which the second drag starts from.
    QStringList dragged;
    const std::pair<int, QList<int>> drags[] = {{3, {2}}, {0, {1, 2}}, {0, {3}}};
    QWidget* rows = shown.songs->viewport();
    auto centre = [&shown](int row) {
        return shown.songs->visualRect(shown.songs->model()->index(row, 0)).center();
    };
    for (const auto& [from, over] : drags) {
        ClickRow(shown.playList, from == 3 ? 0 : 1);
        QTest::mousePress(rows, Qt::LeftButton, {}, centre(from));
        for (int row : over) {
            QMouseEvent move(QEvent::MouseMove, QPointF(centre(row)),
                             QPointF(rows->mapToGlobal(centre(row))), Qt::NoButton, Qt::LeftButton,
                             Qt::NoModifier);
            QApplication::sendEvent(rows, &move);
        }
        QTest::mouseRelease(rows, Qt::LeftButton, {}, centre(over.last()));
        dragged << shown.Titles().join(',') + "|" + ColumnTexts(shown.songs, 4).join(',');
    }
    QCOMPARE(dragged, QStringList({"d,b,a,c|,,,", "b,c,d,a|1,2,3,4", "a,c,d,b|1,2,3,4"}));
    CMusicManager& manager = shown.Manager();
    QCOMPARE(manager.songs.GetAt(3)->title + manager.entries.GetAt(1)->songs.GetAt(1)->title,
             std::string("aa"));
    QCOMPARE(shown.songs->SelectedRows(), std::vector<int>({3}));

    // The playlist pane takes m3u files only, and only those the manager reads.
    const std::string text = shown.dir.Write("drop/readme.txt", "text\n");
    shown.dir.Write("new/歌.mp3", "x");
    const std::string list = shown.dir.Write("new/新歌.m3u", "#EXTM3U\n#EXTINF:123,歌\n歌.mp3\n");
    QVERIFY(DropFiles(shown.playList, {text, list, shown.dir.Write("new/坏.m3u", "# no list\n")}));
    QCOMPARE(ColumnTexts(shown.playList, 0).join(',') + ColumnTexts(shown.playList, 1).join(','),
             QString("所有歌曲,四首,空,新歌,m3u,m3u,m3u"));
    QCOMPARE(shown.playList->SelectedRows(), std::vector<int>({3}));
    QCOMPARE(shown.Titles(), QStringList({"歌"}));
    QVERIFY(shown.frame->StatusText().startsWith(QStringLiteral("曲目: 3  音乐: ")));
}

QTEST_MAIN(WindowTest)
#include "WindowTest.moc"
