// Handlers of the commands on the songs that the song pane shows: add a
// music file, remove songs, show a song's folder.
#include "app/Handlers.h"

#include "app/MainFrame.h"
#include "core/MusicManager.h"
#include "panes/PlayListView.h"
#include "panes/SongListView.h"
#include "platform/Platform.h"

#include <cstdio>

using namespace Handlers;

namespace {

std::string RemoveSongsQuestion(CMainFrame& frame, int mark, const std::vector<int>& rows) {
    if (rows.size() == 1) {
        const CSongList* shown = frame.m_pManager->ShownList(mark);
        const CSongPtr song = shown ? shown->GetAt(rows[0] + 1) : CSongPtr();
        return "确定要在当前曲目中移去\"" + (song ? song->title : std::string()) +
               "\"? (不会删除该音乐文件)";
    }
    char text[160];
    std::snprintf(text, sizeof text, "确定要在当前曲目中移去这%d个歌曲? (不会删除这些音乐文件)",
                  static_cast<int>(rows.size()));
    return text;
}

// Only the given row stays selected, and it is in view.
void SelectOnlySong(CSongListView* pane, int row) {
    if (row < 0 || row >= pane->GetItemCount()) {
        return;
    }
    pane->clearSelection();
    pane->SelectRow(row, 1);
    pane->EnsureVisible(row);
}

} // namespace

void OnAddSong(CMainFrame& frame) {
    CMusicManager& manager = *frame.m_pManager;
    const std::string path =
        AskOpenFile(frame, QString::fromStdString(manager.config.GetMusicFileFilter()));
    if (!path.empty()) {
        AddSongFile(frame, path);
    }
}

void AddSongFile(CMainFrame& frame, const std::string& path) {
    CMusicManager& manager = *frame.m_pManager;
    CPlayListView* playList = frame.GetPlayListPane();
    CSongListView* songPane = frame.GetSongPane();
    const bool wasEmpty = IsLibraryEmpty(&manager);
    const int mark = playList->GetSelectionMark();
    CMusicCommand command(MCMD_ADD_SONG, 4, 4);
    command.SetString(path, 0);
    command.SetInt(mark, 0);
    frame.SendCommand(command);

    const CEntryPtr entry = manager.entries.GetAt(mark);
    if (mark >= 1 && entry) {
        playList->UpdateEntryRow(entry, mark);
        songPane->Refill(mark);
        SelectOnlySong(songPane, entry->count - 1);
    } else {
        if (wasEmpty) {
            playList->RefillEntries(); // the placeholder row becomes "所有歌曲"
            ShowEntryRow(frame, 0);
        } else {
            const int count = manager.songs.GetCount();
            songPane->InsertSongRow(manager.songs.GetAt(count), songPane->GetItemCount());
        }
        SelectOnlySong(songPane, manager.songs.GetCount() - 1);
    }
    frame.UpdateStatusText();
}

void OnRemoveSongs(CMainFrame& frame) {
    const std::vector<int> rows = SelectedSongRows(frame);
    if (rows.empty()) {
        return;
    }
    const int mark = frame.GetPlayListPane()->GetSelectionMark();
    if (Platform().AskOkCancel(RemoveSongsQuestion(frame, mark, rows), kAppTitle) ==
        CAnswer::Cancel) {
        return;
    }
    CSongListView* songPane = frame.GetSongPane();
    std::vector<int> positions;
    for (size_t i = 0; i < rows.size(); ++i) {
        positions.push_back(rows[i] + 1);
        songPane->DeleteRow(rows[i] - static_cast<int>(i));
    }
    positions.push_back(mark);
    frame.SendCommand(ListCommand(MCMD_REMOVE_SONGS, positions));
    const CEntryPtr entry = frame.m_pManager->entries.GetAt(mark);
    if (mark > 0 && entry) {
        frame.GetPlayListPane()->UpdateEntryRow(entry, mark);
        songPane->Refill(mark);
    }
    // The row above the first removed song; the first row when that was
    // the top one.
    SelectOnlySong(songPane, rows[0] >= 1 ? rows[0] - 1 : 0);
    frame.UpdateStatusText();
}

void OnExploreSong(CMainFrame& frame) {
    const int mark = frame.GetPlayListPane()->GetSelectionMark();
    CMusicCommand command(MCMD_EXPLORE_SONG, 4, 4);
    command.SetInt(mark < 0 ? 0 : mark, 0);
    command.SetInt(frame.GetSongPane()->GetSelectionMark(), 1);
    frame.SendCommand(command);
}
