// The rules that enable (or check) each command before a menu opens and
// while the window idles, from the library and the panes' selections.
#pragma once

class CMusicManager;

struct CUpdateState {
    const CMusicManager* manager = nullptr;
    int activePaneRow = 0;    // 0 the playlist pane, 1 the song pane
    int mark = -1;            // the playlist pane's selection mark
    int playListSelected = 0; // selected rows of the playlist pane
    int songSelected = 0;     // selected rows of the song pane
    bool frameVisible = true;
    bool frameMinimized = false;
    bool trayAvailable = true; // the desktop has a notification area
};

// Whether the command's rule holds; commands without a rule always hold.
bool CommandRuleHolds(int commandId, const CUpdateState& state);
// True for the commands that show a check mark (the popup-menu switch).
bool CommandHasCheck(int commandId);
bool CommandChecked(int commandId, const CUpdateState& state);
