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

const int kMillisecondsPerMinute = 60000;

void RefillKeepingSelection(CPlayListView* pane) {
    const int mark = pane->GetSelectionMark();
    pane->RefillEntries();
    if (mark >= 0) {
        pane->SelectRow(mark, 1);
        pane->SetSelectionMark(mark);
    }
}

// A reminder switched on starts a full interval from now; one switched off
// stops. A new interval with the reminder left on waits for the next
// reminder, which sets the timer again with it.
void SwitchEyeTimer(CMainFrame& frame, const CAppConfig& config) {
    frame.StopEyeTimer();
    if (config.EnableEyeProtector != 0 && config.DelayOfEyeProtector >= 1) {
        frame.m_nEyeTimerID = frame.startTimer(config.DelayOfEyeProtector * kMillisecondsPerMinute);
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
    if ((config.EnableEyeProtector != 0) != (oldEyeProtector != 0)) {
        SwitchEyeTimer(frame, config);
    }
}
