// The update rules and the routing of commands: accelerators, menus and the
// toolbar run a handler only while its rule holds; commands without a
// handler are disabled.
#include "GuiHelpers.h"

#include "app/CommandIds.h"
#include "app/CommandTable.h"
#include "app/MainFrame.h"
#include "core/MusicManager.h"
#include "panes/PlayListView.h"
#include "panes/SongListView.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

#include <map>
#include <memory>

class CommandTableTest : public QObject {
    Q_OBJECT
private slots:
    void RandomSongCommandsNeedEnoughSongs();
    void RandomEntryCommandsNeedEnoughEntries();
    void FolderConversionFollowsTheMarkedEntry();
    void EntryCommandsWaitForAChosenEntry();
    void ShowAndHideFollowTheWindow();
    void CommandsWithoutHandlersAreDisabled();
    void PlayFollowsTheActivePane();
    void SongSelectionRules();
    void MenusCarryTheRulesWhenTheyOpen();
};

namespace {

// A shown window on a library, with a counting handler on every command
// that the test names.
struct CCountingFrame {
    CGuiLibrary library;
    std::unique_ptr<CMainFrame> frame;
    std::map<int, int> runs;

    bool Show(const CMusicList& entries, const std::vector<CSongPtr>& extraSongs = {}) {
        library.Write(entries, extraSongs);
        frame = std::make_unique<CMainFrame>();
        frame->resize(1000, 700);
        frame->show();
        return QTest::qWaitForWindowExposed(frame.get());
    }
    void Count(std::initializer_list<int> commandIds) {
        for (int commandId : commandIds) {
            frame->SetCommandHandler(commandId, [this, commandId] { ++runs[commandId]; });
        }
    }
    bool Enabled(int commandId) {
        frame->UpdateCommandStates();
        return frame->IsCommandEnabled(commandId);
    }
    void Key(int key, Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(frame->GetPlayListPane(), Qt::Key(key), modifiers);
    }
};

std::vector<CSongPtr> LooseSongs(const CGuiLibrary& library, int count) {
    std::vector<CSongPtr> songs;
    for (int i = 0; i < count; ++i) {
        std::string name = "s" + std::to_string(i) + ".mp3";
        songs.push_back(MakeSong(name, "", 60, 0, library.Path("loose"), name, 100));
    }
    return songs;
}

CMusicList Entries(const CGuiLibrary& library, int count) {
    CMusicList entries;
    for (int i = 0; i < count; ++i) {
        std::string name = "e" + std::to_string(i);
        entries.AddTail(MakeEntry(name, "", library.Path("lists"), name + ".m3u", {}));
    }
    return entries;
}

} // namespace

void CommandTableTest::RandomSongCommandsNeedEnoughSongs() {
    CCountingFrame nine;
    QVERIFY(nine.Show(CMusicList(), LooseSongs(nine.library, 9)));
    nine.Count({ID_RANDOM_SONGS_10, ID_RANDOM_SONGS_20});
    QVERIFY(!nine.Enabled(ID_RANDOM_SONGS_10));
    QVERIFY(!nine.frame->Action(ID_RANDOM_SONGS_10)->isEnabled());
    nine.Key(Qt::Key_1, Qt::AltModifier);
    QCOMPARE(nine.runs[ID_RANDOM_SONGS_10], 0);
    QVERIFY(!nine.frame->ExecuteCommand(ID_RANDOM_SONGS_10));

    // The rule is read when the key is pressed, not when the window idled.
    nine.frame->m_pManager->songs.AddTail(LooseSongs(nine.library, 1)[0]);
    nine.Key(Qt::Key_1, Qt::AltModifier);
    QCOMPARE(nine.runs[ID_RANDOM_SONGS_10], 1);
    QVERIFY(!nine.Enabled(ID_RANDOM_SONGS_20));
    nine.Key(Qt::Key_2, Qt::AltModifier);
    QCOMPARE(nine.runs[ID_RANDOM_SONGS_20], 0);
}

void CommandTableTest::RandomEntryCommandsNeedEnoughEntries() {
    CCountingFrame three;
    QVERIFY(three.Show(Entries(three.library, 3)));
    const std::vector<int> ids = {ID_RANDOM_ENTRIES_1,          ID_RANDOM_ENTRIES_2,
                                  ID_RANDOM_ENTRIES_4,          ID_RANDOM_ENTRIES_1_SHUFFLED,
                                  ID_RANDOM_ENTRIES_2_SHUFFLED, ID_RANDOM_ENTRIES_4_SHUFFLED};
    for (int id : ids) {
        three.Count({id});
    }
    QList<bool> enabled;
    for (int id : ids) {
        enabled << three.Enabled(id);
    }
    QCOMPARE(enabled, QList<bool>({true, true, false, true, true, false}));
    three.Key(Qt::Key_4, Qt::ShiftModifier);
    three.Key(Qt::Key_2, Qt::ShiftModifier);
    three.Key(Qt::Key_At, Qt::ShiftModifier);
    QCOMPARE(three.runs[ID_RANDOM_ENTRIES_4], 0);
    QCOMPARE(three.runs[ID_RANDOM_ENTRIES_2], 2);
}

void CommandTableTest::FolderConversionFollowsTheMarkedEntry() {
    CCountingFrame shown;
    QVERIFY(shown.Show(SampleEntries(shown.library.Dir().Path())));
    // Entry 1 an m3u file, entry 2 a folder.
    shown.Count({ID_FOLDER_TO_M3U, ID_ALL_FOLDERS_TO_M3U, ID_PLAY_ENTRIES_SHUFFLED});
    CPlayListView* playList = shown.frame->GetPlayListPane();
    QVERIFY(shown.Enabled(ID_ALL_FOLDERS_TO_M3U));
    ClickRow(playList, 2);
    QVERIFY(shown.Enabled(ID_FOLDER_TO_M3U));
    QVERIFY(shown.Enabled(ID_PLAY_ENTRIES_SHUFFLED));
    ClickRow(playList, 1);
    QVERIFY(!shown.Enabled(ID_FOLDER_TO_M3U));
    ClickRow(playList, 0);
    QVERIFY(!shown.Enabled(ID_FOLDER_TO_M3U));
    QVERIFY(!shown.Enabled(ID_PLAY_ENTRIES_SHUFFLED));
    shown.Key(Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(shown.runs[ID_PLAY_ENTRIES_SHUFFLED], 0);

    // The first entry, at row 1, counts too.
    CCountingFrame first;
    CMusicList entries = SampleEntries(first.library.Dir().Path());
    entries.Exchange(1, 2);
    QVERIFY(first.Show(entries));
    first.Count({ID_FOLDER_TO_M3U});
    ClickRow(first.frame->GetPlayListPane(), 1);
    QVERIFY(first.Enabled(ID_FOLDER_TO_M3U));
    QVERIFY(first.frame->ExecuteCommand(ID_FOLDER_TO_M3U));
    QCOMPARE(first.runs[ID_FOLDER_TO_M3U], 1);

    CCountingFrame noFolder;
    QVERIFY(noFolder.Show(Entries(noFolder.library, 2)));
    noFolder.Count({ID_ALL_FOLDERS_TO_M3U});
    QVERIFY(!noFolder.Enabled(ID_ALL_FOLDERS_TO_M3U));
}

void CommandTableTest::EntryCommandsWaitForAChosenEntry() {
    CCountingFrame shown;
    QVERIFY(shown.Show(SampleEntries(shown.library.Dir().Path())));
    shown.Count({ID_REMOVE_ENTRY, ID_SAVE_ENTRY_M3U, ID_WRITE_TAGS, ID_EXPLORE_ENTRY,
                 ID_EXPORT_LIST, ID_CLEAR_LIBRARY});
    QVERIFY(!shown.Enabled(ID_REMOVE_ENTRY));
    QVERIFY(!shown.Enabled(ID_SAVE_ENTRY_M3U));
    QVERIFY(!shown.Enabled(ID_WRITE_TAGS));
    QVERIFY(shown.Enabled(ID_EXPORT_LIST));
    QVERIFY(shown.Enabled(ID_CLEAR_LIBRARY));
    CPlayListView* playList = shown.frame->GetPlayListPane();
    ClickRow(playList, 3);
    QVERIFY(shown.Enabled(ID_REMOVE_ENTRY));
    QVERIFY(shown.Enabled(ID_SAVE_ENTRY_M3U));
    QVERIFY(shown.Enabled(ID_EXPLORE_ENTRY));
    ClickRow(playList, 1, Qt::LeftButton, Qt::ControlModifier);
    QVERIFY(!shown.Enabled(ID_SAVE_ENTRY_M3U));
    QVERIFY(!shown.Enabled(ID_EXPLORE_ENTRY));
    QVERIFY(shown.Enabled(ID_REMOVE_ENTRY));
    // Delete on an entry row goes to the remove command.
    QTest::keyClick(playList, Qt::Key_Delete);
    QCOMPARE(shown.runs[ID_REMOVE_ENTRY], 1);
    ClickRow(playList, 0);
    QTest::keyClick(playList, Qt::Key_Delete);
    QCOMPARE(shown.runs[ID_REMOVE_ENTRY], 1);

    CCountingFrame empty;
    QVERIFY(empty.Show(CMusicList()));
    empty.Count({ID_EXPORT_LIST, ID_CLEAR_LIBRARY, ID_IMPORT_LIST});
    QVERIFY(!empty.Enabled(ID_EXPORT_LIST));
    QVERIFY(!empty.Enabled(ID_CLEAR_LIBRARY));
    QVERIFY(empty.Enabled(ID_IMPORT_LIST));
    empty.Key(Qt::Key_L, Qt::ControlModifier);
    empty.Key(Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(empty.runs[ID_CLEAR_LIBRARY], 0);
    QCOMPARE(empty.runs[ID_IMPORT_LIST], 1);
}

void CommandTableTest::ShowAndHideFollowTheWindow() {
    CCountingFrame shown;
    QVERIFY(shown.Show(CMusicList()));
    QVERIFY(!shown.Enabled(ID_SHOW_WINDOW));
    QVERIFY(shown.Enabled(ID_HIDE_WINDOW));
    QVERIFY(shown.frame->ExecuteCommand(ID_HIDE_WINDOW));
    QVERIFY(shown.frame->isHidden());
    QCOMPARE(shown.frame->m_bMinimized, 1);
    QVERIFY(shown.Enabled(ID_SHOW_WINDOW));
    QVERIFY(!shown.Enabled(ID_HIDE_WINDOW));
    QVERIFY(shown.frame->ExecuteCommand(ID_SHOW_WINDOW));
    QVERIFY(shown.frame->isVisible());
    QCOMPARE(shown.frame->m_bMinimized, 0);
    QVERIFY(shown.Enabled(ID_CANCEL_POPUP));
}

void CommandTableTest::CommandsWithoutHandlersAreDisabled() {
    CCountingFrame shown;
    QVERIFY(shown.Show(SampleEntries(shown.library.Dir().Path())));
    // Ctrl+W has a key but no handler.
    QVERIFY(!shown.Enabled(ID_WIZARD));
    QVERIFY(!shown.frame->RunCommand(ID_WIZARD));
    shown.Key(Qt::Key_W, Qt::ControlModifier);
    QVERIFY(shown.frame->isVisible());
    // The artist placeholder and artists past the last handled ID.
    QVERIFY(!shown.Enabled(ID_ARTIST_PLACEHOLDER));
    QVERIFY(!shown.Enabled(ID_ARTIST_LAST + 1));
    QVERIFY(!shown.Enabled(ID_EDIT_TAG));
    // With a handler, a command without a rule is always enabled.
    shown.Count({ID_ARTIST_FIRST, ID_WIZARD});
    QVERIFY(shown.Enabled(ID_ARTIST_FIRST));
    QVERIFY(shown.Enabled(ID_WIZARD));
    shown.frame->SetCommandUpdateRule(ID_WIZARD, [] { return false; });
    QVERIFY(!shown.Enabled(ID_WIZARD));
    shown.frame->SetCommandHandler(ID_ARTIST_FIRST, nullptr);
    QVERIFY(!shown.Enabled(ID_ARTIST_FIRST));
    // The frame's own commands are there from the start.
    for (int id : {ID_APP_EXIT, ID_APP_ABOUT, ID_MENU_FULL, ID_MENU_SIMPLE, ID_CANCEL_POPUP}) {
        QVERIFY(shown.frame->HasCommandHandler(id));
    }
}

void CommandTableTest::PlayFollowsTheActivePane() {
    CCountingFrame shown;
    QVERIFY(shown.Show(SampleEntries(shown.library.Dir().Path())));
    shown.Count({ID_PLAY, ID_EDIT_INFO});
    CPlayListView* playList = shown.frame->GetPlayListPane();
    playList->setFocus();
    QCOMPARE(shown.frame->GetActivePaneRow(), 0);
    // Right after start the all-songs row is current: nothing to play there.
    QVERIFY(!shown.Enabled(ID_PLAY));
    shown.Key(Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(shown.runs[ID_PLAY], 0);
    ClickRow(playList, 1);
    QVERIFY(shown.Enabled(ID_PLAY));
    QVERIFY(shown.Enabled(ID_EDIT_INFO));
    ClickRow(playList, 0);
    ClickRow(shown.frame->GetSongPane(), 1);
    QCOMPARE(shown.frame->GetActivePaneRow(), 1);
    QVERIFY(shown.Enabled(ID_PLAY));
    QTest::keyClick(shown.frame->GetSongPane(), Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(shown.runs[ID_PLAY], 1);
}

void CommandTableTest::SongSelectionRules() {
    CCountingFrame shown;
    QVERIFY(shown.Show(SampleEntries(shown.library.Dir().Path())));
    shown.Count({ID_PLAY_SONGS_SHUFFLED, ID_EXPLORE_SONG});
    CSongListView* songs = shown.frame->GetSongPane();
    QVERIFY(!shown.Enabled(ID_PLAY_SONGS_SHUFFLED));
    QVERIFY(shown.Enabled(ID_EXPLORE_SONG));
    ClickRow(songs, 0);
    ClickRow(songs, 2, Qt::LeftButton, Qt::ControlModifier);
    QVERIFY(shown.Enabled(ID_PLAY_SONGS_SHUFFLED));
    QVERIFY(!shown.Enabled(ID_EXPLORE_SONG));
}

void CommandTableTest::MenusCarryTheRulesWhenTheyOpen() {
    CCountingFrame shown;
    QVERIFY(shown.Show(Entries(shown.library, 3)));
    shown.Count({ID_RANDOM_ENTRIES_1, ID_RANDOM_ENTRIES_4});
    QMenu* playMenu = shown.frame->menuBar()->actions().at(2)->menu();
    QMenu* randomEntries = playMenu->actions().at(2)->menu();
    QVERIFY(randomEntries);
    shown.frame->UpdateMenuItems(randomEntries);
    QStringList states;
    for (QAction* action : randomEntries->actions()) {
        if (!action->isSeparator()) {
            states << action->text() + (action->isEnabled() ? "+" : "-");
        }
    }
    // Three entries: the 4-entry commands are off, the others on.
    QCOMPARE(states,
             QStringList({"1个曲目\tShift+1+", "2个曲目\tShift+2+", "4个曲目\tShift+4-",
                          "1个曲目 (乐序随机)+", "2个曲目 (乐序随机)+", "4个曲目 (乐序随机)-"}));
    randomEntries->actions().at(0)->trigger();
    randomEntries->actions().at(2)->trigger();
    QCOMPARE(shown.runs[ID_RANDOM_ENTRIES_1], 1);
    QCOMPARE(shown.runs[ID_RANDOM_ENTRIES_4], 0);

    QMenu* tray = CreateMenuResource(IDR_TRAY, *shown.frame, shown.frame.get());
    shown.frame->UpdateMenuItems(tray);
    QCOMPARE(tray->actions().at(0)->text(), QStringLiteral("显示主界面"));
    QVERIFY(!tray->actions().at(0)->isEnabled());
    QVERIFY(tray->actions().at(1)->isEnabled());
    shown.frame->FillArtistMenu(CMainFrame::ArtistSubmenu(tray));
    QCOMPARE(CMainFrame::ArtistSubmenu(tray)->actions().size(), 1);
    QCOMPARE(CMainFrame::ArtistSubmenu(tray)->actions().at(0)->text(), QStringLiteral("<未命名>"));

    QMenu* fileMenu = shown.frame->menuBar()->actions().at(0)->menu();
    QMenu* popupSwitch = fileMenu->actions().at(5)->menu();
    shown.frame->UpdateMenuItems(popupSwitch);
    QVERIFY(!popupSwitch->actions().at(0)->isChecked());
    QVERIFY(popupSwitch->actions().at(1)->isChecked());
}

QTEST_MAIN(CommandTableTest)
#include "CommandTableTest.moc"
