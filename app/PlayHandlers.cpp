// Handlers of the play commands (the selection, random entries and songs,
// one artist's songs) and of help, the web pages and the feedback mail.
#include "app/Handlers.h"

#include "app/MainFrame.h"
#include "core/MusicManager.h"
#include "core/WebAddresses.h"
#include "panes/PlayListView.h"
#include "panes/SongListView.h"
#include "platform/Platform.h"

using namespace Handlers;

namespace {

// A play counts a play of each entry it takes songs from: their rows show
// the new counts at once.
void SendPlay(CMainFrame& frame, const CMusicCommand& command) {
    frame.SendCommand(command);
    frame.GetPlayListPane()->RefreshRowTexts();
}

void SendWithName(CMainFrame& frame, int code, const std::vector<int>& values,
                  const char* listName) {
    CMusicCommand command = ListCommand(code, values);
    command.SetString(listName, 0);
    SendPlay(frame, command);
}

bool IsOnlyTheAllSongsRow(const std::vector<int>& rows) {
    return rows.size() == 1 && rows[0] == 0;
}

} // namespace

void OnPlay(CMainFrame& frame) {
    if (frame.GetActivePaneRow() == 1) {
        std::vector<int> positions = SelectedSongRows(frame);
        for (int& row : positions) {
            row += 1;
        }
        SendWithName(frame, MCMD_PLAY_SELECTION, positions, "songlist");
        return;
    }
    const std::vector<int> rows = SelectedPlayListRows(frame);
    if (IsOnlyTheAllSongsRow(rows)) {
        return;
    }
    SendWithName(frame, MCMD_PLAY_SELECTION, EntryRowsOf(rows), "playlist");
}

void OnPlayEntriesShuffled(CMainFrame& frame) {
    const std::vector<int> rows = SelectedPlayListRows(frame);
    if (IsOnlyTheAllSongsRow(rows)) {
        return;
    }
    SendPlay(frame, ListCommand(MCMD_PLAY_ENTRIES_SHUFFLED, EntryRowsOf(rows)));
}

void OnPlaySongsShuffled(CMainFrame& frame) {
    std::vector<int> values = SelectedSongRows(frame);
    for (int& row : values) {
        row += 1;
    }
    values.push_back(frame.GetPlayListPane()->GetSelectionMark());
    frame.SendCommand(ListCommand(MCMD_PLAY_SONGS_SHUFFLED, values));
}

void OnPlayRandomEntries(CMainFrame& frame, int count, int shuffleSongs) {
    CMusicCommand command(MCMD_PLAY_RANDOM_ENTRIES, 4, 4);
    command.SetInt(count, 0);
    command.SetInt(shuffleSongs, 1);
    SendPlay(frame, command);
}

void OnPlayRandomSongs(CMainFrame& frame, int count) {
    CMusicCommand command(MCMD_PLAY_RANDOM_SONGS, 4, 4);
    command.SetInt(count, 0);
    frame.SendCommand(command);
}

// Artist item k of the menus carries the command 40000 + k - 1.
void OnPlayArtist(CMainFrame& frame, int commandId) {
    CMusicCommand command(MCMD_PLAY_ARTIST, 4, 4);
    command.SetInt(commandId - 39999, 0);
    command.SetInt(-1, 1); // all the artist's songs
    frame.SendCommand(command);
}

void OnOpenHelp(CMainFrame& frame) {
    frame.SendCommand(CMusicCommand(MCMD_OPEN_HELP, 4, 4));
}

void OnOpenHomePage(CMainFrame& frame) {
    frame.SendCommand(CMusicCommand(MCMD_OPEN_HOMEPAGE, 4, 4));
}

void OnOpenDownloadPage(CMainFrame& frame) {
    frame.SendCommand(CMusicCommand(MCMD_OPEN_DOWNLOAD_PAGE, 4, 4));
}

// A build without a feedback address opens the help page instead, like the
// web-page commands.
void OnFeedback(CMainFrame& frame) {
    const std::string address = FeedbackAddress();
    if (address.empty()) {
        Platform().OpenPath(HelpPagePath(frame.m_pManager->config.WorkDirectory));
        return;
    }
    Platform().OpenPath("mailto:" + address);
}
