// The program's one top-level window: owns the music manager, lays out the
// toolbar, status bar and the two panes, keeps the right-click menus, and
// routes every command ID to its handler under the update rules.
//
// Handlers are registered by command ID with SetCommandHandler; an ID without
// a handler shows disabled and does nothing. ExecuteCommand (menus, toolbar,
// accelerators) runs a handler only while its update rule holds; RunCommand
// (a pane's double click or Delete key) runs it unconditionally, as a command
// sent straight to the frame.
#pragma once

#include "core/FrameInterface.h"
#include "core/MusicCommand.h"

#include <QMainWindow>

#include <functional>
#include <map>

class CMusicManager;
class CPlayListView;
class CSongListView;
class CImportProgressDlg;
class CEyeReminder;
class CSystemTray;
class CTunecaseDoc;
class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QToolBar;
struct CUpdateState;

class CMainFrame : public QMainWindow, public CFrameInterface {
    Q_OBJECT
public:
    // Creates the manager and loads the library from the current folder,
    // then builds the window. doc may be null (tests); then the size handler
    // treats the document as initialised.
    explicit CMainFrame(CTunecaseDoc* doc = nullptr, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CMusicManager* m_pManager = nullptr;
    // The progress dialog of the running or last folder import (not owned
    // here; the import handler makes and deletes it), null when none.
    CImportProgressDlg* m_pImportDlg = nullptr;
    // Set when the import worker has asked to close the progress dialog;
    // the import handler clears it before starting a worker.
    bool m_bImportFinished = false;
    // 1 after the window was minimised or hidden from the tray menu.
    int m_bMinimized = 0;
    // The reminder timer's ID from QObject::startTimer, 0 when none.
    int m_nEyeTimerID = 0;
    // The notification-area icon with its menu; the reminder of the timer.
    CSystemTray* m_TrayIcon = nullptr;
    CEyeReminder* m_pEyeReminder = nullptr;

    CPlayListView* GetPlayListPane() const { return m_pPlayListView; }
    CSongListView* GetSongPane() const { return m_pSongListView; }
    // Hands the command unchanged to the manager; returns when it has run.
    void SendCommand(const CMusicCommand& command);
    // 0 when the playlist pane has the focus (or neither pane), 1 for the
    // song pane.
    int GetActivePaneRow() const;

    // CFrameInterface; safe to call from the import worker's thread.
    void ClearPanes() override { ClearPanes(1); }
    void RefillEntryRows() override;
    void UpdateStatusText() override;
    void RebuildArtistMenu() override;
    void ImportInsertEntryRow(const CEntryPtr& entry, int row) override;
    void ImportInsertSongRow(const CSongPtr& song, int row) override;
    void ImportShowProgress(const std::string& folder, const std::string& fileName) override;
    void ImportCloseDialog(int resultCode) override;

    // kind: 0 no special row, 1 the all-songs row, 2 the placeholder row.
    void ClearPanes(int kind);
    // The playlist pane's rows, then the song pane for its selection mark.
    void RefillPanes();
    // Empties the menu and lists every artist with command 40000 + k - 1.
    void FillArtistMenu(QMenu* menu);
    // Right-click menu at the cursor: 0 the playlist pane's, 1 the song pane's.
    void ShowPopupMenu(int pane);
    // The same at a point of the screen (a menu opened from the keyboard).
    void ShowPopupMenu(int pane, const QPoint& globalPos);

    // The frame's action of a command ID (on the toolbar and holding the
    // accelerator); created on first request for IDs without one.
    QAction* Action(int commandId);
    void SetCommandHandler(int commandId, std::function<void()> handler);
    // Replaces the built-in update rule of a command (for rules that belong
    // to a dialog, such as the tag editor's).
    void SetCommandUpdateRule(int commandId, std::function<bool()> rule);
    bool HasCommandHandler(int commandId) const;
    // A handler exists and the command's update rule holds now.
    bool IsCommandEnabled(int commandId) const;
    // The check mark of the commands that carry one (the popup-menu switch).
    bool IsCommandChecked(int commandId) const;
    // Runs the handler when IsCommandEnabled; true when it ran.
    bool ExecuteCommand(int commandId);
    // Runs the handler whatever the update rule says; true when one ran.
    bool RunCommand(int commandId);
    // Applies the update rules to the toolbar and accelerator actions.
    void UpdateCommandStates();
    // Applies the update rules to the items of a menu about to open.
    void UpdateMenuItems(QMenu* menu);

    // The right-click menus and the menu-bar menu: 139 or 174, 141.
    QMenu* PlayListMenu() const { return m_menuPlayList; }
    QMenu* SongMenu() const { return m_menuSong; }
    // The status bar's summary text.
    QString StatusText() const;
    // The column widths of the size handler for a client width (title
    // column, file-location column).
    static void ColumnWidthsForWidth(int clientWidth, int& titleWidth, int& locationWidth);
    // The "随机播放艺术家" submenu of a menu built from a resource.
    static QMenu* ArtistSubmenu(QMenu* menu);

    // Saves the library once, without asking: at exit, when the desktop
    // session ends, or on a termination signal.
    // False when a store file could not be written (the error was shown).
    bool SaveAtExit();
    // Saves now, as at a session's end; the exit save stays due. A running
    // import is stopped first.
    bool SaveLibrary();
    // Asked when the exit save failed; Cancel keeps the window open.
    static const char* const kSaveFailedQuestion;
    void StopEyeTimer();
    // Sets the reminder timer afresh when the reminder is on.
    void StartEyeTimer();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void CreateToolBar();
    void CreateStatusBar();
    void CreateSplitter();
    void CreateMenus();
    void LoadPlayListMenu();
    void InstallFrameHandlers();
    void OnSizeChanged(int clientWidth, int clientHeight);
    void OnShowWindow();
    void OnHideWindow();
    void CreateTrayIcon();
    void OnTrayAvailabilityChanged(bool available);
    void OnSwitchPopupMenu(int menuStatus);
    void OnAbout();
    bool ConfirmExit();
    void CallOnUiThread(std::function<void()> call);
    CUpdateState CurrentUpdateState() const;
    // Cancels a running import and waits for its worker to end.
    void FinishImport();
    bool IsEnabledIn(int commandId, const CUpdateState& state) const;

    CTunecaseDoc* m_pDoc = nullptr;
    QSplitter* m_wndSplitter = nullptr;
    QLabel* m_idleLabel = nullptr;
    QLabel* m_summaryLabel = nullptr;
    QToolBar* m_wndToolBar = nullptr;
    QMenu* m_menuPlayList = nullptr;
    QMenu* m_menuSong = nullptr;
    CPlayListView* m_pPlayListView = nullptr;
    CSongListView* m_pSongListView = nullptr;
    std::map<int, QAction*> m_actions;
    std::map<int, std::function<void()>> m_handlers;
    std::map<int, std::function<bool()>> m_rules;
    int m_activePaneRow = 0;
    int m_sizeMessages = 0;
    bool m_bSavedAtExit = false;
};
