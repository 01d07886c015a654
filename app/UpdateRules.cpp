#include "app/UpdateRules.h"

#include "app/CommandIds.h"
#include "core/MusicManager.h"

namespace {

bool HasFolderEntry(const CMusicManager& manager) {
    for (const CEntryPtr& entry : manager.entries) {
        if (entry->GetType() == PLTYPE_FOLDER) {
            return true;
        }
    }
    return false;
}

bool MarkIsFolderEntry(const CMusicManager& manager, int mark) {
    if (mark < 1) {
        return false;
    }
    CEntryPtr entry = manager.entries.GetAt(mark);
    return entry && entry->GetType() == PLTYPE_FOLDER;
}

} // namespace

bool CommandRuleHolds(int commandId, const CUpdateState& state) {
    const CMusicManager& manager = *state.manager;
    const bool empty = IsLibraryEmpty(&manager);
    // Counts are whole ints: a library of more than 32,767 songs still plays.
    const int entryCount = manager.entries.GetCount();
    const int songCount = manager.songs.GetCount();
    const int currentRow = manager.currentRow;
    switch (commandId) {
    case ID_PLAY: // U1
    case ID_EDIT_INFO:
        return state.activePaneRow == 1 ? !empty : !empty && currentRow != 0;
    case ID_EXPORT_LIST: // U2
    case ID_CLEAR_LIBRARY:
        return !empty;
    case ID_REMOVE_ENTRY: // U3
    case ID_WRITE_TAGS:
        return entryCount != 0 && currentRow != 0;
    case ID_SAVE_ENTRY_M3U: // U4
        return entryCount != 0 && currentRow != 0 && state.playListSelected == 1;
    case ID_EXPLORE_ENTRY: // U5
        return !empty && currentRow != 0 && state.playListSelected <= 1;
    case ID_EXPLORE_SONG: // U6
        return !empty && state.songSelected <= 1;
    case ID_RANDOM_SONGS_10: // U7
        return songCount >= 10;
    case ID_RANDOM_SONGS_20:
        return songCount >= 20;
    case ID_RANDOM_SONGS_40:
        return songCount >= 40;
    case ID_RANDOM_ENTRIES_1: // U8
    case ID_RANDOM_ENTRIES_1_SHUFFLED:
        return entryCount >= 1;
    case ID_RANDOM_ENTRIES_2:
    case ID_RANDOM_ENTRIES_2_SHUFFLED:
        return entryCount >= 2;
    case ID_RANDOM_ENTRIES_4:
    case ID_RANDOM_ENTRIES_4_SHUFFLED:
        return entryCount >= 4;
    case ID_PLAY_ENTRIES_SHUFFLED: // U9
        return state.mark >= 1;
    case ID_ALL_FOLDERS_TO_M3U: // U10
        return HasFolderEntry(manager);
    case ID_FOLDER_TO_M3U: // U11
        return MarkIsFolderEntry(manager, state.mark);
    case ID_PLAY_SONGS_SHUFFLED: // U12
        return state.songSelected > 1;
    // U13. The tray's own commands need a tray; a window minimised to the
    // task bar can be shown too.
    case ID_SHOW_WINDOW:
        return state.trayAvailable && (!state.frameVisible || state.frameMinimized);
    case ID_HIDE_WINDOW:
        return state.trayAvailable && state.frameVisible;
    case ID_CANCEL_POPUP:
        return state.trayAvailable;
    default:
        return true;
    }
}

bool CommandHasCheck(int commandId) {
    return commandId == ID_MENU_FULL || commandId == ID_MENU_SIMPLE;
}

bool CommandChecked(int commandId, const CUpdateState& state) {
    if (commandId == ID_MENU_FULL) { // U14
        return state.manager->config.MenuStatus == 0;
    }
    if (commandId == ID_MENU_SIMPLE) {
        return state.manager->config.MenuStatus == 1;
    }
    return false;
}
