#include "app/LibraryHandlers.h"

#include "app/CommandIds.h"
#include "app/Handlers.h"
#include "app/MainFrame.h"

#include <functional>

namespace {

void Install(CMainFrame& frame, int commandId, void (*handler)(CMainFrame&)) {
    frame.SetCommandHandler(commandId, [&frame, handler] { handler(frame); });
}

void InstallEntryHandlers(CMainFrame& frame) {
    Install(frame, ID_ADD_ENTRY, OnAddEntry);
    Install(frame, ID_REMOVE_ENTRY, OnRemoveEntries);
    Install(frame, ID_CLEAR_LIBRARY, OnClearLibrary);
    Install(frame, ID_SAVE_ENTRY_M3U, OnSaveEntryM3u);
    Install(frame, ID_EXPLORE_ENTRY, OnExploreEntry);
    Install(frame, ID_FOLDER_TO_M3U, OnFolderToM3u);
    Install(frame, ID_ALL_FOLDERS_TO_M3U, OnAllFoldersToM3u);
    Install(frame, ID_WRITE_TAGS, OnWriteTags);
    Install(frame, ID_IMPORT_LIST, OnImportList);
    Install(frame, ID_EXPORT_LIST, OnExportList);
    Install(frame, ID_EXPORT_HTML, OnExportHtml);
    Install(frame, ID_IMPORT_FOLDER, OnImportFolder);
    Install(frame, ID_SETTINGS, OnSettings);
}

void InstallSongHandlers(CMainFrame& frame) {
    Install(frame, ID_ADD_SONG, OnAddSong);
    Install(frame, ID_REMOVE_SONGS, OnRemoveSongs);
    Install(frame, ID_EXPLORE_SONG, OnExploreSong);
}

void InstallRandomHandlers(CMainFrame& frame) {
    struct RandomEntries {
        int commandId;
        int count;
        int shuffleSongs;
    };
    const RandomEntries entries[] = {
        {ID_RANDOM_ENTRIES_1, 1, 0},          {ID_RANDOM_ENTRIES_2, 2, 0},
        {ID_RANDOM_ENTRIES_4, 4, 0},          {ID_RANDOM_ENTRIES_1_SHUFFLED, 1, 1},
        {ID_RANDOM_ENTRIES_2_SHUFFLED, 2, 1}, {ID_RANDOM_ENTRIES_4_SHUFFLED, 4, 1},
    };
    for (const RandomEntries& item : entries) {
        frame.SetCommandHandler(item.commandId, [&frame, item] {
            OnPlayRandomEntries(frame, item.count, item.shuffleSongs);
        });
    }
    const int songCommands[][2] = {
        {ID_RANDOM_SONGS_10, 10}, {ID_RANDOM_SONGS_20, 20}, {ID_RANDOM_SONGS_40, 40}};
    for (const auto& item : songCommands) {
        const int count = item[1];
        frame.SetCommandHandler(item[0], [&frame, count] { OnPlayRandomSongs(frame, count); });
    }
    for (int commandId = ID_ARTIST_FIRST; commandId <= ID_ARTIST_LAST; ++commandId) {
        frame.SetCommandHandler(commandId, [&frame, commandId] { OnPlayArtist(frame, commandId); });
    }
}

void InstallPlayHandlers(CMainFrame& frame) {
    Install(frame, ID_PLAY, OnPlay);
    Install(frame, ID_PLAY_ENTRIES_SHUFFLED, OnPlayEntriesShuffled);
    Install(frame, ID_PLAY_SONGS_SHUFFLED, OnPlaySongsShuffled);
    InstallRandomHandlers(frame);
}

void InstallEditHandlers(CMainFrame& frame) {
    Install(frame, ID_EDIT_INFO, OnEditInfo);
    Install(frame, ID_EDIT_TAG, OnEditTag);
    frame.SetCommandUpdateRule(ID_EDIT_TAG, [&frame] { return IsEditTagEnabled(frame); });
}

void InstallWebHandlers(CMainFrame& frame) {
    Install(frame, ID_HELP, OnOpenHelp);
    Install(frame, ID_HOMEPAGE, OnOpenHomePage);
    Install(frame, ID_DOWNLOAD_PAGE, OnOpenDownloadPage);
    Install(frame, ID_FEEDBACK, OnFeedback);
}

} // namespace

void InstallLibraryHandlers(CMainFrame& frame) {
    InstallEntryHandlers(frame);
    InstallSongHandlers(frame);
    InstallPlayHandlers(frame);
    InstallWebHandlers(frame);
    InstallEditHandlers(frame);
}
