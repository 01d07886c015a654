#include "core/MusicManager.h"

#include "core/ArtistIndex.h"
#include "core/PlayLauncher.h"
#include "core/PlaylistCommands.h"

#include <cstdlib>
#include <ctime>

CMusicManager::CMusicManager(CFrameInterface* owner) : store(this), frame(owner) {}

CMusicManager::~CMusicManager() {
    if (importThread) {
        importThread->cancelled = true;
        importThread->Join();
    }
}

void CMusicManager::Start() {
    store.Load();
    std::srand(static_cast<unsigned>(std::time(nullptr)));
}

bool CMusicManager::Save() {
    return store.Save();
}

void CMusicManager::CancelImport() {
    if (importThread) {
        importThread->cancelled = true;
    }
}

CSongList* CMusicManager::ShownList(int row) {
    if (row <= 0) {
        return &songs;
    }
    CEntryPtr entry = entries.GetAt(row);
    return entry ? &entry->songs : nullptr;
}

void CMusicManager::RefreshArtists() {
    RebuildArtistIndex(entries, artists);
    if (frame != nullptr) {
        frame->RebuildArtistMenu();
    }
}

void CMusicManager::Execute(const CMusicCommand& command) {
    switch (command.code) {
    case MCMD_ADD_M3U:
        ExecuteAddM3u(*this, command);
        break;
    case MCMD_PLAY_SELECTION:
        ExecutePlaySelection(*this, command);
        break;
    case MCMD_PLAY_ARTIST:
        ExecutePlayArtist(*this, command);
        break;
    case MCMD_PLAY_RANDOM_ENTRIES:
        ExecutePlayRandomEntries(*this, command);
        break;
    case MCMD_PLAY_RANDOM_SONGS:
        ExecutePlayRandomSongs(*this, command);
        break;
    case MCMD_PLAY_ENTRIES_SHUFFLED:
        ExecutePlayEntriesShuffled(*this, command);
        break;
    case MCMD_PLAY_SONGS_SHUFFLED:
        ExecutePlaySongsShuffled(*this, command);
        break;
    case MCMD_FOLDER_TO_M3U:
        ExecuteFolderToM3u(*this, command);
        break;
    case MCMD_ALL_FOLDERS_TO_M3U:
        ExecuteAllFoldersToM3u(*this, command);
        break;
    case MCMD_ADD_SONG:
        ExecuteAddSong(*this, command);
        break;
    case MCMD_WRITE_TAGS:
        ExecuteWriteTags(*this, command);
        break;
    case MCMD_SAVE_ENTRY_M3U:
        ExecuteSaveEntryM3u(*this, command);
        break;
    default:
        break; // the manager's own codes arrive with the manager
    }
}

bool IsLibraryEmpty(const CMusicManager* manager) {
    return manager == nullptr || (manager->entries.IsEmpty() && manager->songs.IsEmpty());
}
