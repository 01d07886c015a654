// The main window started on a library of store files: both panes, the
// status text, caption and columns, the close question, menus and toolbar,
// the update rules that keys, menus and the toolbar obey, and the calls the
// import worker makes from its own thread.
#include "GuiHelpers.h"
#include "TrayAvailability.h"

#include "app/CommandIds.h"
#include "app/CommandTable.h"
#include "app/ExitConfirmDlg.h"
#include "app/QtPlatform.h"
#include "app/TunecaseDoc.h"
#include "formats/ListFile.h"
#include "support/Mp3Bytes.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QToolBar>
#include <QtTest>

#include <atomic>
#include <thread>

class MainFrameTest : public QObject {
    Q_OBJECT
private slots:
    void ShowsTheStoredLibraryInBothPanes();
    void SumsWholeMebibytesInTheStatusText();
    void SizesColumnsFromTheSecondSizeMessageOn();
    void ExitAsksThenSavesOrKeepsTheWindow();
    void LaysOutTheMenusAndKeepsTheArtistMenuFilled();
    void UpdateRulesFollowTheLibraryAndSelection_data();
    void UpdateRulesFollowTheLibraryAndSelection();
    void RulesAreReadWhenTheKeyIsPressed();
    void WindowCommandsAndCommandsWithoutHandlers();
    void MinimisingWithoutTrayNeverHides();
    void MenusCarryTheRulesWhenTheyOpen();
    void WorkerCallsShowOnTheUiThreadInOrder();
    void ExitSaveStopsARunningImportFirst();
};

namespace {

// The commands whose rules the table checks, in its order.
const int kRuled[] = {ID_RANDOM_SONGS_10,
                      ID_RANDOM_SONGS_20,
                      ID_RANDOM_ENTRIES_1,
                      ID_RANDOM_ENTRIES_2,
                      ID_RANDOM_ENTRIES_4,
                      ID_RANDOM_ENTRIES_1_SHUFFLED,
                      ID_RANDOM_ENTRIES_2_SHUFFLED,
                      ID_RANDOM_ENTRIES_4_SHUFFLED,
                      ID_FOLDER_TO_M3U,
                      ID_ALL_FOLDERS_TO_M3U,
                      ID_PLAY_ENTRIES_SHUFFLED,
                      ID_REMOVE_ENTRY,
                      ID_SAVE_ENTRY_M3U,
                      ID_WRITE_TAGS,
                      ID_EXPLORE_ENTRY,
                      ID_EXPORT_LIST,
                      ID_CLEAR_LIBRARY,
                      ID_IMPORT_LIST,
                      ID_PLAY,
                      ID_EDIT_INFO,
                      ID_PLAY_SONGS_SHUFFLED,
                      ID_EXPLORE_SONG};

// A library by name: "sample", "folder first" (the sample with its folder
// entry first), "<n> songs" (loose songs only), "<n> entries" (empty m3u
// entries), "empty".
bool ShowLibrary(CShownLibrary& shown, const QString& name) {
    const std::string root = shown.library.Dir().Path();
    CMusicList entries;
    std::vector<CSongPtr> songs;
    if (name == "sample" || name == "folder first") {
        entries = SampleEntries(root);
        if (name == "folder first") {
            entries.Exchange(1, 2);
        }
    }
    for (int i = 0; name.endsWith(" songs") && i < name.section(' ', 0, 0).toInt(); ++i) {
        const std::string file = "s" + std::to_string(i) + ".mp3";
        songs.push_back(MakeSong(file, "", 60, 0, root + "/loose", file, 100));
    }
    for (int i = 0; name.endsWith(" entries") && i < name.section(' ', 0, 0).toInt(); ++i) {
        const std::string title = "e" + std::to_string(i);
        entries.AddTail(MakeEntry(title, "", root + "/lists", title + ".m3u", {}));
    }
    const bool exposed = shown.Show(entries, songs);
    for (int command : kRuled) {
        shown.Count({command});
    }
    return exposed;
}

QStringList MenuTexts(QMenu* menu) {
    QStringList texts;
    for (QAction* action : menu->actions()) {
        texts << (action->isSeparator() ? QString("-") : action->text());
    }
    return texts;
}

} // namespace

void MainFrameTest::ShowsTheStoredLibraryInBothPanes() {
    CShownLibrary shown;
    QVERIFY(shown.Show(SampleEntries(shown.library.Dir().Path())));
    CPlayListView* playList = shown.playList;
    QCOMPARE(playList->GetItemCount(), 5);
    QCOMPARE(RowTexts(playList, 0), QStringList({"所有歌曲", "", "", "", "", "", "", ""}));
    QCOMPARE(RowTexts(playList, 1), QStringList({"周末的歌", "m3u", "陈奕迅", "流行", "2", "03:30",
                                                 "0", shown.library.QPath("music/zhou/周末.m3u")}));
    QCOMPARE(RowTexts(playList, 2), QStringList({"老歌", "文件夹", "", "N/A", "2", "72:05", "0",
                                                 shown.library.QPath("music/老歌")}));
    QCOMPARE(RowTexts(playList, 3),
             QStringList({"Party", "pls", "DJ", "N/A", "0", "Unknown", "7", "/music/party.pls"}));
    QCOMPARE(RowTexts(playList, 4),
             QStringList({"Other", "", "", "N/A", "0", "Unknown", "0", "/music/x.wpl"}));
    QCOMPARE(QList<int>({playList->ItemImage(0), playList->ItemImage(1), playList->ItemImage(2),
                         playList->ItemImage(3), playList->ItemImage(4)}),
             QList<int>({4, 0, 3, 0, 0}));
    QStringList headings;
    for (QTableView* pane :
         {static_cast<QTableView*>(playList), static_cast<QTableView*>(shown.songs)}) {
        for (int column = 0; column < 8; ++column) {
            headings << pane->model()->headerData(column, Qt::Horizontal).toString();
        }
    }
    QCOMPARE(headings, QStringList({"曲目标题", "类型", "艺术家", "风格", "曲数", "时间",
                                    "欣赏次数", "文件位置", "音乐标题", "艺术家", "风格", "时间",
                                    "次序", "文件类型", "文件大小", "文件位置"}));
    CSongListView* songs = shown.songs;
    QCOMPARE(songs->GetItemCount(), 4);
    QCOMPARE(RowTexts(songs, 0),
             QStringList({"十年", "陈奕迅", "流行", "03:25", "", "mp3", "2960KB",
                          shown.library.QPath("music/zhou/十年.mp3")}));
    QCOMPARE(RowTexts(songs, 1), QStringList({"浮夸", "陈奕迅", "N/A", "00:05", "", "mp3", "0KB",
                                              shown.library.QPath("music/zhou/浮夸.mp3")}));
    QCOMPARE(RowTexts(songs, 3), QStringList({"月亮代表我的心", "邓丽君", "N/A", "62:05", "", "wma",
                                              "1KB", shown.library.QPath("music/老歌/月亮.wma")}));
    QCOMPARE(shown.frame->StatusText(),
             QStringLiteral("曲目: 4  音乐: 4  文件总量: 6MB  总时间: 01:15:35"));

    CShownLibrary empty;
    QVERIFY(empty.Show(CMusicList()));
    QCOMPARE(RowTexts(empty.playList, 0),
             QStringList({"导入您的音乐(请双击)", "", "", "", "", "", "", ""}));
    QCOMPARE(QList<int>({empty.playList->GetItemCount(), empty.playList->ItemImage(0),
                         empty.songs->GetItemCount()}),
             QList<int>({1, 4, 0}));
    QCOMPARE(empty.frame->StatusText(), QStringLiteral("音乐单为空，请选择导入曲目"));
}

void MainFrameTest::SumsWholeMebibytesInTheStatusText() {
    CShownLibrary shown;
    CMusicList entries;
    const std::string folder = shown.library.Path("m");
    entries.AddTail(MakeEntry("a", "", folder, "a.m3u",
                              {MakeSong("x", "", 0, 1, folder, "x.mp3", 1048575),
                               MakeSong("y", "", 0, 2, folder, "y.mp3", 1)}));
    entries.AddTail(MakeEntry("b", "", "/m", "b.m3u", {}));
    entries.AddTail(MakeEntry("c", "", "/m", "c.m3u", {}));
    QVERIFY(shown.Show(entries));
    QCOMPARE(shown.frame->StatusText(),
             QString("曲目: 3  音乐: 2  文件总量: 1MB  总时间: Unknown"));
    shown.Manager().songs.RemoveAt(2);
    shown.frame->UpdateStatusText();
    QCOMPARE(shown.frame->StatusText(),
             QString("曲目: 3  音乐: 1  文件总量: 0MB  总时间: Unknown"));
    // More than 4 GB of music is counted whole, not modulo 2^32.
    shown.Manager().songs.AddTail(MakeSong("big", "", 0, 0, "/m", "big.wav", 5LL << 30));
    shown.frame->UpdateStatusText();
    QCOMPARE(shown.frame->StatusText(),
             QString("曲目: 3  音乐: 2  文件总量: 5120MB  总时间: Unknown"));
}

void MainFrameTest::SizesColumnsFromTheSecondSizeMessageOn() {
    // Widths 150 and 600 fall back to the least widths ((150 - 400) / 2 is -125).
    QList<int> widths;
    for (int width : {600, 1000, 150}) {
        int title = 0;
        int location = 0;
        CMainFrame::ColumnWidthsForWidth(width, title, location);
        widths << title << location;
    }
    QCOMPARE(widths, QList<int>({120, 170, 230, 346, 120, 170}));

    CGuiLibrary library;
    for (bool initialised : {false, true}) {
        CTunecaseDoc doc;
        QCOMPARE(doc.m_bInitialized, 0);
        if (initialised) {
            QVERIFY(doc.OnNewDocument());
            QCOMPARE(doc.m_bInitialized, 1);
            QCOMPARE(FrameCaption(doc),
                     QStringLiteral("鸣蛩 (Cricklet)   -   一切音乐尽在掌握中 !"));
        }
        CMainFrame frame(&doc);
        QHeaderView* header = frame.GetPlayListPane()->horizontalHeader();
        frame.resize(1000, 700);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        // However wide the window, its first size message leaves the title
        // column, and so do all before the document is set up; the last
        // column fills the pane's width whatever the size.
        auto fillsThePane = [](QTableView* pane) {
            return pane->horizontalHeader()->length() == pane->viewport()->width();
        };
        QCOMPARE(header->sectionSize(0), 180);
        QVERIFY(fillsThePane(frame.GetPlayListPane()) && header->sectionSize(7) > 172);
        frame.resize(600, 500);
        if (!initialised) {
            QTest::qWait(50);
            QCOMPARE(QList<int>({header->sectionSize(0), header->sectionSize(7)}),
                     QList<int>({180, 172}));
            continue;
        }
        QTRY_COMPARE(header->sectionSize(0), 120);
        QCOMPARE(header->sectionSize(7), 170);
        QCOMPARE(frame.GetSongPane()->horizontalHeader()->sectionSize(0), 120);
        frame.resize(1000, 700);
        QTRY_COMPARE(header->sectionSize(0), 230);
        QVERIFY(fillsThePane(frame.GetPlayListPane()) && fillsThePane(frame.GetSongPane()));
    }
}

void MainFrameTest::ExitAsksThenSavesOrKeepsTheWindow() {
    CShownLibrary shown;
    QVERIFY(shown.Show(SampleEntries(shown.library.Dir().Path())));
    const std::string before = shown.library.Dir().Read("PlayList.stp");
    shown.Manager().entries.RemoveAt(1);
    QString asked;
    WhenShown<CExitConfirmDlg>([&asked](CExitConfirmDlg* dialog) {
        asked = dialog->windowTitle() + QString::number(dialog->ShowAtExitBox()->isChecked());
        dialog->reject();
    });
    QVERIFY(!shown.frame->close());
    QCOMPARE(asked, QString("Cricklet1"));
    QVERIFY(shown.frame->isVisible());
    QCOMPARE(shown.Manager().config.IsExitAlert, 1);
    QCOMPARE(shown.library.Dir().Read("PlayList.stp"), before);

    // A save that fails asks before losing the changes; Cancel keeps the window.
    const std::string work = shown.Manager().config.WorkDirectory;
    shown.Manager().config.WorkDirectory = shown.library.Dir().Write("blocked", "a file");
    shown.platform.answers = {CAnswer::Cancel};
    WhenShown<CExitConfirmDlg>([](CExitConfirmDlg* dialog) {
        dialog->ShowAtExitBox()->setChecked(false);
        dialog->accept();
    });
    QVERIFY(!shown.frame->close());
    QVERIFY(shown.frame->isVisible());
    QCOMPARE(shown.Manager().config.IsExitAlert, 0);
    QCOMPARE(shown.platform.messages.size(), size_t(4)); // three write errors, then the question
    QCOMPARE(shown.Messages().last(), QString::fromUtf8(CMainFrame::kSaveFailedQuestion));

    // With the way free again it saves without a question.
    shown.Manager().config.WorkDirectory = work;
    shown.platform.messages.clear();
    QVERIFY(shown.frame->close());
    QVERIFY(shown.platform.messages.empty());
    CMusicList saved;
    QVERIFY(ReadMusicListFile(shown.library.Path("PlayList.stp"), saved));
    QCOMPARE(ListTitles(saved), QStringList({"老歌", "Party", "Other"}));
    // The next run exits without asking.
    CMainFrame next;
    QCOMPARE(next.m_pManager->config.IsExitAlert, 0);
    QVERIFY(next.close());
}

void MainFrameTest::LaysOutTheMenusAndKeepsTheArtistMenuFilled() {
    CShownLibrary shown;
    QVERIFY(shown.Show(SampleEntries(shown.library.Dir().Path())));
    CMainFrame& frame = *shown.frame;
    auto* toolBar = frame.findChild<QToolBar*>(QStringLiteral("ToolBar"));
    QCOMPARE(toolBar->iconSize(), QSize(24, 24));
    QList<int> buttons;
    for (QAction* action : toolBar->actions()) {
        buttons << (action->isSeparator() ? 0 : action->data().toInt());
    }
    QCOMPARE(buttons, QList<int>({32790, 32791, 32809, 0, 32784, 32785, 32786, 0, 32773, 0, 32793,
                                  0, 32804, 32807, 0, 32778}));
    QCOMPARE(frame.Action(ID_PLAY)->toolTip(), QStringLiteral("播放所选的曲目或音乐"));
    QCOMPARE(frame.Action(ID_CLEAR_LIBRARY)->statusTip(),
             QStringLiteral("清除所有曲目，不会删除曲目文件"));
    QStringList titles;
    for (QAction* action : frame.menuBar()->actions()) {
        titles << action->text();
    }
    QCOMPARE(titles, QStringList({"文件(&F)", "曲目(&M)", "播放(&P)", "帮助(&H)"}));
    QCOMPARE(MenuTexts(frame.menuBar()->actions().at(0)->menu()),
             QStringList({"导入音乐单..\tCtrl+O", "导出音乐单..\tCtrl+S", "导出音乐单为网页..", "-",
                          "功能设置..\tCtrl+T", "弹出菜单", "-", "退出..\tAlt+F4"}));

    // Switching between the full and the simple popup keeps the artists.
    auto artists = [&frame] {
        QStringList texts;
        for (QAction* action : CMainFrame::ArtistSubmenu(frame.PlayListMenu())->actions()) {
            texts << action->text() + "=" + QString::number(action->data().toInt());
        }
        return texts;
    };
    for (int menu : {ID_MENU_FULL, ID_MENU_SIMPLE, ID_MENU_FULL}) {
        QVERIFY(frame.ExecuteCommand(menu));
        QCOMPARE(artists(), QStringList({"DJ=40000", "陈奕迅=40001", "<未命名>=40002"}));
        const bool simple = menu == ID_MENU_SIMPLE;
        QCOMPARE(shown.Manager().config.MenuStatus, simple ? 1 : 0);
        QCOMPARE(frame.PlayListMenu()->actions().size(), simple ? 12 : 25);
        QCOMPARE(QList<bool>({frame.IsCommandChecked(ID_MENU_SIMPLE),
                              frame.IsCommandChecked(ID_MENU_FULL)}),
                 QList<bool>({simple, !simple}));
    }
    QCOMPARE(frame.PlayListMenu()->defaultAction()->data().toInt(), int(ID_EDIT_INFO));
}

void MainFrameTest::UpdateRulesFollowTheLibraryAndSelection_data() {
    QTest::addColumn<QString>("library");
    QTest::addColumn<QList<int>>("entryRows"); // clicked, the later ones with Ctrl
    QTest::addColumn<QList<int>>("songRows");
    // For each command of kRuled: + enabled, - disabled, . not checked.
    QTest::addColumn<QString>("states");
    // Keys pressed then in the pane clicked last, and the commands that ran.
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QList<int>>("runs");
    using Rows = QList<int>;
    // clang-format off
    //                                                                 songs entries  fold  entry lib  play songs
    QTest::newRow("9 songs")       << "9 songs"      << Rows()    << Rows() << "-- ...... ... .... ... .. .."
                                   << "Alt+1" << Rows();
    QTest::newRow("10 songs")      << "10 songs"     << Rows()    << Rows() << "+- ...... ... .... ... .. .."
                                   << "Alt+1, Alt+2" << Rows{ID_RANDOM_SONGS_10};
    QTest::newRow("3 entries")     << "3 entries"    << Rows()    << Rows() << ".. ++-++- ... .... ... .. .."
                                   << "Shift+4, Shift+2, Shift+@"
                                   << Rows{ID_RANDOM_ENTRIES_2, ID_RANDOM_ENTRIES_2};
    QTest::newRow("2 entries")     << "2 entries"    << Rows()    << Rows() << ".. ...... .-. .... ... .. .."
                                   << "" << Rows();
    // Right after the start the all-songs row is current: nothing to play.
    QTest::newRow("at start")      << "sample"       << Rows()    << Rows() << ".. ...... .+. ---. +++ -. -+"
                                   << "Ctrl+P, Ctrl+R" << Rows();
    QTest::newRow("m3u entry")     << "sample"       << Rows{1}   << Rows() << ".. ...... -.. .... ... ++ .."
                                   << "" << Rows();
    QTest::newRow("folder entry")  << "sample"       << Rows{2}   << Rows() << ".. ...... +.+ .... ... .. .."
                                   << "" << Rows();
    QTest::newRow("all-songs row") << "sample"       << Rows{0}   << Rows() << ".. ...... -.- .... ... .. .."
                                   << "Del, Ctrl+R" << Rows();
    QTest::newRow("one entry")     << "sample"       << Rows{3}   << Rows() << ".. ...... ... ++.+ ... .. .."
                                   << "Del" << Rows{ID_REMOVE_ENTRY};
    QTest::newRow("two entries")   << "sample"       << Rows{3, 1} << Rows() << ".. ...... ... +-.- ... .. .."
                                   << "" << Rows();
    QTest::newRow("folder first")  << "folder first" << Rows{1}   << Rows() << ".. ...... +.. .... ... .. .."
                                   << "" << Rows();
    QTest::newRow("empty")         << "empty"        << Rows()    << Rows() << ".. ...... ... .... --+ .. .."
                                   << "Ctrl+L, Ctrl+O" << Rows{ID_IMPORT_LIST};
    QTest::newRow("one song")      << "sample"       << Rows{0}   << Rows{1} << ".. ...... ... .... ... +. .."
                                   << "Ctrl+P" << Rows{ID_PLAY};
    QTest::newRow("two songs")     << "sample"       << Rows()    << Rows{0, 2} << ".. ...... ... .... ... .. +-"
                                   << "" << Rows();
    // clang-format on
}

void MainFrameTest::UpdateRulesFollowTheLibraryAndSelection() {
    QFETCH(QString, library);
    QFETCH(QList<int>, entryRows);
    QFETCH(QList<int>, songRows);
    QFETCH(QString, states);
    QFETCH(QString, keys);
    QFETCH(QList<int>, runs);
    CShownLibrary shown;
    QVERIFY(ShowLibrary(shown, library));
    shown.playList->setFocus();
    for (int i = 0; i < entryRows.size(); ++i) {
        ClickRow(shown.playList, entryRows[i], Qt::LeftButton,
                 i == 0 ? Qt::NoModifier : Qt::ControlModifier);
    }
    for (int i = 0; i < songRows.size(); ++i) {
        ClickRow(shown.songs, songRows[i], Qt::LeftButton,
                 i == 0 ? Qt::NoModifier : Qt::ControlModifier);
    }
    shown.frame->UpdateCommandStates();
    QString actual = states;
    int command = 0;
    for (int i = 0; i < actual.size(); ++i) {
        if (actual[i] != ' ') {
            const bool enabled = shown.frame->IsCommandEnabled(kRuled[command++]);
            actual[i] = states[i] == '.' ? QChar('.') : QChar(enabled ? '+' : '-');
        }
    }
    QCOMPARE(command, int(std::size(kRuled)));
    QCOMPARE(actual, states);
    QTableView* pane = songRows.isEmpty() ? static_cast<QTableView*>(shown.playList) : shown.songs;
    for (const QString& key : keys.split(", ", Qt::SkipEmptyParts)) {
        QTest::keySequence(pane, QKeySequence(key));
    }
    QList<int> ran;
    for (const auto& [id, count] : shown.runs) {
        ran += QList<int>(count, id);
    }
    QCOMPARE(ran, runs);
}

void MainFrameTest::RulesAreReadWhenTheKeyIsPressed() {
    CShownLibrary nine;
    QVERIFY(ShowLibrary(nine, "9 songs"));
    QVERIFY(!nine.frame->Action(ID_RANDOM_SONGS_10)->isEnabled());
    QVERIFY(!nine.frame->ExecuteCommand(ID_RANDOM_SONGS_10));
    // Not when the window last idled.
    nine.Manager().songs.AddTail(MakeSong("s", "", 60, 0, nine.library.Path("loose"), "s.mp3", 1));
    QTest::keyClick(nine.playList, Qt::Key_1, Qt::AltModifier);
    QCOMPARE(nine.runs[ID_RANDOM_SONGS_10], 1);
}

void MainFrameTest::WindowCommandsAndCommandsWithoutHandlers() {
    const CTrayAvailability trayArea(true);
    CShownLibrary shown;
    QVERIFY(shown.Show(SampleEntries(shown.library.Dir().Path())));
    CMainFrame& frame = *shown.frame;
    // show, hide, cancel popup, wizard (Ctrl+W, no handler), the artist
    // placeholder, past the last artist, the first artist.
    const std::initializer_list<int> ids = {
        ID_SHOW_WINDOW,        ID_HIDE_WINDOW,     ID_CANCEL_POPUP, ID_WIZARD,
        ID_ARTIST_PLACEHOLDER, ID_ARTIST_LAST + 1, ID_ARTIST_FIRST};
    QCOMPARE(shown.Enabled(ids), QString("-++---+"));
    QVERIFY(!frame.RunCommand(ID_WIZARD));
    QTest::keyClick(shown.playList, Qt::Key_W, Qt::ControlModifier);
    QVERIFY(frame.isVisible());
    QVERIFY(frame.ExecuteCommand(ID_HIDE_WINDOW));
    QVERIFY(frame.isHidden());
    QCOMPARE(frame.m_bMinimized, 1);
    QCOMPARE(shown.Enabled(ids), QString("+-+---+"));
    QVERIFY(frame.ExecuteCommand(ID_SHOW_WINDOW));
    QVERIFY(frame.isVisible());
    QCOMPARE(frame.m_bMinimized, 0);

    // A handler without a rule is always enabled; a rule or its removal
    // turns it off.
    shown.Count({ID_WIZARD});
    QCOMPARE(shown.Enabled({ID_WIZARD}), QString("+"));
    frame.SetCommandUpdateRule(ID_WIZARD, [] { return false; });
    frame.SetCommandHandler(ID_ARTIST_FIRST, nullptr);
    QCOMPARE(shown.Enabled({ID_WIZARD, ID_ARTIST_FIRST}), QString("--"));
    for (int id : {ID_APP_EXIT, ID_APP_ABOUT, ID_MENU_FULL, ID_MENU_SIMPLE, ID_CANCEL_POPUP}) {
        QVERIFY2(frame.HasCommandHandler(id), qPrintable(QString::number(id)));
    }
}

void MainFrameTest::MinimisingWithoutTrayNeverHides() {
    CShownLibrary shown;
    QVERIFY(shown.Show(SampleEntries(shown.library.Dir().Path()), {},
                       [](CAppConfig& config) { config.IsHideWhenMin = 1; }));
    shown.frame->setWindowState(Qt::WindowMinimized);
    QTRY_COMPARE(shown.frame->m_bMinimized, 1);
    QTest::qWait(20);
    // The offscreen desktop has no notification area to find a hidden window in.
    QVERIFY(!shown.frame->isHidden());
}

void MainFrameTest::MenusCarryTheRulesWhenTheyOpen() {
    const CTrayAvailability trayArea(true);
    CShownLibrary shown;
    QVERIFY(ShowLibrary(shown, "3 entries"));
    CMainFrame& frame = *shown.frame;
    QMenu* randomEntries = frame.menuBar()->actions().at(2)->menu()->actions().at(2)->menu();
    frame.UpdateMenuItems(randomEntries);
    QStringList states;
    for (QAction* action : randomEntries->actions()) {
        if (!action->isSeparator()) {
            states << action->text() + (action->isEnabled() ? "+" : "-");
        }
    }
    QCOMPARE(states,
             QStringList({"1个曲目\tShift+1+", "2个曲目\tShift+2+", "4个曲目\tShift+4-",
                          "1个曲目 (乐序随机)+", "2个曲目 (乐序随机)+", "4个曲目 (乐序随机)-"}));
    randomEntries->actions().at(0)->trigger();
    randomEntries->actions().at(2)->trigger();
    QCOMPARE(shown.runs, (std::map<int, int>{{ID_RANDOM_ENTRIES_1, 1}}));

    QMenu* tray = CreateMenuResource(IDR_TRAY, frame, &frame);
    frame.UpdateMenuItems(tray);
    QCOMPARE(tray->actions().at(0)->text(), QStringLiteral("显示主界面"));
    QCOMPARE(QList<bool>({tray->actions().at(0)->isEnabled(), tray->actions().at(1)->isEnabled()}),
             QList<bool>({false, true}));
    frame.FillArtistMenu(CMainFrame::ArtistSubmenu(tray));
    QCOMPARE(MenuTexts(CMainFrame::ArtistSubmenu(tray)), QStringList({"<未命名>"}));

    QMenu* popupSwitch = frame.menuBar()->actions().at(0)->menu()->actions().at(5)->menu();
    frame.UpdateMenuItems(popupSwitch);
    QCOMPARE(QList<bool>({popupSwitch->actions().at(0)->isChecked(),
                          popupSwitch->actions().at(1)->isChecked()}),
             QList<bool>({false, true}));
}

void MainFrameTest::WorkerCallsShowOnTheUiThreadInOrder() {
    // A question from another thread opens on the user-interface thread.
    CQtPlatform platform;
    QString shown;
    WhenShown<QMessageBox>([&shown](QMessageBox* box) {
        shown = box->text() + "|" + box->windowTitle();
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
    QCOMPARE(shown, QString("确定要移去吗?|Cricklet"));
    QVERIFY(answer == CAnswer::Cancel);

    // Import rows show the records as they were when handed over.
    CShownLibrary window;
    QVERIFY(window.Show(CMusicList()));
    CMainFrame& frame = *window.frame;
    frame.ClearPanes(1);
    frame.m_bImportFinished = false;
    auto song = MakeSong("十年", "陈奕迅", 205, 0, "/music", "十年.mp3", 2960384);
    auto entry = MakeEntry("新专辑", "陈奕迅", "/music", "/music", {song});
    std::thread worker([&] {
        window.Manager().songs.AddTail(song);
        window.Manager().entries.AddTail(entry);
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
    QCOMPARE(RowTexts(window.playList, 1),
             QStringList({"新专辑", "文件夹", "陈奕迅", "N/A", "1", "03:25", "0", "/music"}));
    QCOMPARE(window.playList->ItemImage(1), 3);
    QCOMPARE(RowTexts(window.songs, 0).mid(0, 5),
             QStringList({"十年", "陈奕迅", "N/A", "03:25", ""}));
    // A later refill shows the records as they are now.
    frame.RefillPanes();
    QCOMPARE(window.playList->ItemText(1, 0), QStringLiteral("改了"));
}

void MainFrameTest::ExitSaveStopsARunningImportFirst() {
    CShownLibrary shown;
    std::string frames;
    for (int i = 0; i < 20; ++i) {
        frames += Mp3FrameBytes(Mp3FrameFormat());
    }
    FillFolders(shown.library.Dir(), "import", 20, 30, frames, ".mp3");
    QVERIFY(shown.Show(CMusicList()));
    CMusicCommand command(MCMD_IMPORT_FOLDER, 4, 4);
    command.SetInt(0, 0);
    command.SetString(shown.library.Path("import"), 0);
    shown.frame->SendCommand(command);
    shown.frame->SaveAtExit();
    const int songCount = shown.Manager().songs.GetCount();
    CSongList saved;
    QVERIFY(ReadSongStoreFile(shown.library.Path("MusicList.ckp"), saved));
    QCOMPARE(saved.GetCount(), songCount);
    QTest::qWait(50);
    QCOMPARE(shown.Manager().songs.GetCount(), songCount);
}

QTEST_MAIN(MainFrameTest)
#include "MainFrameTest.moc"
