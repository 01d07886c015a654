#include "core/MusicManager.h"

#include "core/ArtistIndex.h"
#include "core/PlayLauncher.h"
#include "core/PlaylistCommands.h"
#include "core/WebAddresses.h"
#include "formats/ListFile.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <utility>
#include <vector>

namespace {

// Removes the elements at the given positions, which the command lists in
// ascending order as they were before any removal. Positions outside the
// list (and repeats) are ignored. One pass, so removing half of a large
// list costs no more than removing one element.
template <typename Element>
void RemovePositions(CPositionList<Element>& list, const std::vector<int>& positions) {
    std::vector<char> removed(static_cast<std::size_t>(list.GetCount()), 0);
    for (int position : positions) {
        if (list.IsValidPosition(position)) {
            removed[static_cast<std::size_t>(position - 1)] = 1;
        }
    }
    std::vector<Element>& elements = list.Elements();
    std::size_t kept = 0;
    for (std::size_t index = 0; index < elements.size(); ++index) {
        if (!removed[index]) {
            elements[kept++] = std::move(elements[index]);
        }
    }
    elements.resize(kept);
}

std::vector<int> IntsOf(const CMusicCommand& command, int count) {
    std::vector<int> values;
    for (int index = 0; index < count; ++index) {
        values.push_back(command.GetInt(index));
    }
    return values;
}

std::string ImportListMessage(int entryCount, int songCount) {
    char text[160];
    std::snprintf(text, sizeof text, "导入音乐文件成功！共导入曲目%d个, 音乐文件%d个。", entryCount,
                  songCount);
    return text;
}

// Reports a list file that is missing or is a folder; false for any other.
bool ReportUnreadableList(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        ReportFileError(path, errno);
        return true;
    }
    if (S_ISDIR(info.st_mode)) {
        ReportFileError(path, EISDIR);
        return true;
    }
    return false;
}

} // namespace

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
    case MCMD_IMPORT_LIST:
        ImportList(command);
        break;
    case MCMD_EXPORT_LIST:
        WriteMusicListFile(command.GetString(0), entries);
        break;
    case MCMD_IMPORT_FOLDER:
        ImportFolder(command);
        break;
    case MCMD_REMOVE_ENTRIES:
        RemoveEntries(command);
        break;
    case MCMD_CLEAR_LIBRARY:
        ClearLibrary();
        break;
    case MCMD_OPEN_HELP:
        Platform().OpenPath(HelpPagePath(config.WorkDirectory));
        break;
    case MCMD_OPEN_HOMEPAGE:
        Platform().OpenPath(HomepageTarget(config.WorkDirectory));
        break;
    case MCMD_OPEN_DOWNLOAD_PAGE:
        Platform().OpenPath(DownloadTarget(config.WorkDirectory));
        break;
    case MCMD_REMOVE_SONGS:
        RemoveSongs(command);
        break;
    case MCMD_EXPLORE_ENTRY:
        ExploreEntry(command);
        break;
    case MCMD_EXPLORE_SONG:
        ExploreSong(command);
        break;
    case MCMD_EXPORT_HTML:
        store.ExportHtml(command.GetString(0), entries);
        break;
    default:
        break; // other codes are ignored
    }
}

// Replaces the entries with the file's and the flat list with their songs.
// A file that cannot be read leaves the library as it was.
void CMusicManager::ImportList(const CMusicCommand& command) {
    std::string path = command.GetString(0);
    if (ReportUnreadableList(path)) {
        return;
    }
    CMusicList imported;
    if (!ReadMusicListFile(path, imported)) {
        return; // the reader has reported why
    }
    entries = std::move(imported);
    CollectAllSongs(songs, entries);
    Platform().ShowMessage(ImportListMessage(entries.GetCount(), songs.GetCount()), kAppTitle,
                           CMessageIcon::Information);
    RefreshArtists();
}

// Prepares the library and starts the worker; the caller shows the progress
// dialog while it runs.
void CMusicManager::ImportFolder(const CMusicCommand& command) {
    if (command.GetInt(0) != 0) {
        importBaseEntries = entries.GetCount();
        importBaseSongs = songs.GetCount();
    } else {
        entries.RemoveAll();
        songs.RemoveAll();
        if (frame != nullptr) {
            frame->ClearPanes();
        }
        importBaseEntries = 0;
        importBaseSongs = 0;
    }
    importThread = std::make_unique<CImportThread>(this, command.GetString(0));
    importThread->Start();
}

// The removed entries' songs stay in the flat list.
void CMusicManager::RemoveEntries(const CMusicCommand& command) {
    RemovePositions(entries, IntsOf(command, command.intCount));
    RefreshArtists();
}

void CMusicManager::ClearLibrary() {
    entries.RemoveAll();
    songs.RemoveAll();
    RefreshArtists();
}

// The song positions come first, the playlist pane's row last: row 0 removes
// from the flat list only, row i from entry i only.
void CMusicManager::RemoveSongs(const CMusicCommand& command) {
    int positionCount = command.intCount - 1;
    if (positionCount < 0) {
        return;
    }
    std::vector<int> positions = IntsOf(command, positionCount);
    int row = command.GetInt(positionCount);
    if (row < 1) {
        RemovePositions(songs, positions);
        return;
    }
    CEntryPtr entry = entries.GetAt(row);
    if (!entry) {
        return;
    }
    RemovePositions(entry->songs, positions);
    entry->Renumber();
    entry->UpdateTotals();
}

void CMusicManager::ExploreEntry(const CMusicCommand& command) {
    CEntryPtr entry = entries.GetAt(command.GetInt(0));
    if (entry && !entry->location.empty()) {
        Platform().ExploreFolder(entry->location);
    }
}

// A missing song has no folder to show.
void CMusicManager::ExploreSong(const CMusicCommand& command) {
    CSongList* shown = ShownList(command.GetInt(0));
    int songRow = command.GetInt(1);
    if (shown == nullptr || songRow < 0 || songRow >= shown->GetCount()) {
        return;
    }
    CSongPtr song = shown->GetAt(songRow + 1);
    if (song && !song->location.empty()) {
        Platform().ExploreFolder(song->location);
    }
}

bool IsLibraryEmpty(const CMusicManager* manager) {
    return manager == nullptr || (manager->entries.IsEmpty() && manager->songs.IsEmpty());
}
