// The command vocabulary: the menus with their items, access keys and
// shortcut texts, the accelerator table, and the status-bar prompts and tool
// tips of the commands.
#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

#include <vector>

class CMainFrame;
class QMenu;
class QMenuBar;
class QWidget;

// Menu resources.
enum : int {
    IDR_MAINFRAME = 128, // the menu bar
    IDR_PLAYLIST = 139,  // the playlist pane's full right-click menu
    IDR_SONG = 141,      // the song pane's right-click menu
    IDR_TRAY = 161,      // the notification-area icon's menu
    IDR_PLAYLIST_SIMPLE = 174,
};

// The object name of the "随机播放艺术家" submenus, which the artist index fills.
extern const char* const kArtistMenuName;

// The status-bar prompt (before "\n" in the command's string) and the tool
// tip (after it); empty when the command has none.
QString CommandPrompt(int commandId);
QString CommandToolTip(int commandId);
// The keys of the accelerator table for a command (none for most).
QList<QKeySequence> CommandShortcuts(int commandId);
// Every command that has an accelerator.
std::vector<int> AcceleratorCommands();
// The text of the command's first menu item, without the shortcut text.
QString CommandText(int commandId);

// Builds a popup menu resource (139, 141, 161 or 174) owned by parent. Its
// items send their command IDs to the frame, and the frame's update rules
// run on each of its menus before it opens.
QMenu* CreateMenuResource(int resourceId, CMainFrame& frame, QWidget* parent);
// Fills the menu bar with the menus of resource 128.
void FillMenuBar(QMenuBar* menuBar, CMainFrame& frame);
