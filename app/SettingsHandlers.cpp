// Handler of the settings command: runs the settings dialog on the manager's
// configuration and brings the panes and the reminder timer in line with
// what changed.
#include "app/Handlers.h"

#include "app/MainFrame.h"
#include "app/SettingsDlg.h"
#include "core/MusicManager.h"
#include "panes/PlayListView.h"
#include "panes/SongListView.h"

namespace {

void RefillKeepingSelection(CPlayListView* pane) {
    const int mark = pane->GetSelectionMark();
    pane->RefillEntries();
    if (mark >= 0) {
        pane->SelectRow(mark, 1);
        pane->SetSelectionMark(mark);
    }
}

} // namespace

void OnSettings(CMainFrame& frame) {
    Handlers::RestoreIfHidden(frame);
    CAppConfig& config = frame.m_pManager->config;
    CSettingsDlg dialog(&frame);
    dialog.CopyFromConfig(config);
    const int oldBugColour = config.IconPlaylistID;
    const int oldMusicIcon = config.IconMusicID;
    const int oldEyeProtector = config.EnableEyeProtector;
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    dialog.CopyToConfig(config);
    CPlayListView* playList = frame.GetPlayListPane();
    if (config.IconPlaylistID != oldBugColour) {
        RefillKeepingSelection(playList);
    }
    if (config.IconMusicID != oldMusicIcon) {
        frame.GetSongPane()->Refill(playList->GetSelectionMark());
    }
    // A reminder switched on starts a full interval from now; one switched
    // off stops. A new interval with the reminder left on waits for the next
    // reminder, which sets the timer again with it.
    if ((config.EnableEyeProtector != 0) != (oldEyeProtector != 0)) {
        frame.StartEyeTimer();
    }
}
