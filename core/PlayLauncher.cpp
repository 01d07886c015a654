#include "core/PlayLauncher.h"

#include "core/MusicManager.h"
#include "core/RandomPlay.h"
#include "formats/M3uFile.h"
#include "formats/PathFunctions.h"
#include "platform/Platform.h"

#include <memory>
#include <vector>

namespace {

const char* const kCacheFileName = "Cache.m3u";
const std::size_t kMaxPlayerParameterBytes = 255;
const char* const kCommandLineTooLong =
    "您所选的播放曲目的命令行超过最大限度，无法播放。请另选目标。";

void AppendSongs(CPlayListItem& set, const CSongList& songs) {
    for (const auto& song : songs) {
        set.songs.AddTail(song);
    }
}

// Appends the songs of the entries at the given positions, counting a play
// of each; positions outside the list are passed over.
void AppendEntries(CMusicManager& manager, const std::vector<int>& positions, CPlayListItem& set) {
    for (int position : positions) {
        CEntryPtr entry = manager.entries.GetAt(position);
        if (entry) {
            ++entry->playCount;
            AppendSongs(set, entry->songs);
        }
    }
}

void AppendShownSongs(CMusicManager& manager, int row, const std::vector<int>& positions,
                      CPlayListItem& set) {
    CSongList* shown = manager.ShownList(row);
    if (shown == nullptr) {
        return;
    }
    for (int position : positions) {
        CSongPtr song = shown->GetAt(position);
        if (song) {
            set.songs.AddTail(song);
        }
    }
}

std::vector<int> IntsOf(const CMusicCommand& command, int first, int end) {
    std::vector<int> values;
    for (int index = first; index < end; ++index) {
        values.push_back(command.GetInt(index));
    }
    return values;
}

// What every play command ends with. The songs' order numbers stay: they
// belong to the songs' entries.
void PlaySet(CMusicManager& manager, CPlayListItem& set, bool shuffle) {
    set.count = set.songs.GetCount();
    if (shuffle) {
        ShuffleSongs(set.songs);
    }
    manager.config.PlayEntry(set);
}

} // namespace

void CAppConfig::PlayEntry(const CPlayListItem& playSet) {
    std::string path = JoinPath(WorkDirectory, kCacheFileName);
    // A failed write has been reported; the old Cache.m3u must not be played
    // in place of the set just asked for.
    if (WriteM3UFile(path, playSet, true)) {
        LaunchPlayer({path});
    }
}

void CAppConfig::LaunchPlayer(const std::vector<std::string>& paths) {
    if (paths.empty()) {
        return;
    }
    if (IsUseDefaultPlayer != 0) {
        Platform().OpenPath(paths[0]);
        return;
    }
    std::string parameter;
    for (const auto& path : paths) {
        parameter += (parameter.empty() ? "\"" : " \"") + path + "\"";
    }
    if (parameter.size() > kMaxPlayerParameterBytes) {
        Platform().ShowMessage(kCommandLineTooLong, kAppTitle, CMessageIcon::Information);
        return;
    }
    // Started without a shell, the player gets the path itself, unquoted.
    std::string error;
    if (!Platform().StartProgram(PlayerPath, paths[0], error)) {
        Platform().ShowMessage("无法启动播放器“" + PlayerPath + "”：" + error, kAppTitle,
                               CMessageIcon::Warning);
    }
}

void ExecutePlaySelection(CMusicManager& manager, const CMusicCommand& command) {
    std::string source = command.GetString(0);
    if (source == "songlist" && command.intCount == 1) {
        CSongList* shown = manager.ShownList(manager.currentRow);
        CSongPtr song = shown ? shown->GetAt(command.GetInt(0)) : nullptr;
        if (!song) {
            return;
        }
        // The song's own type decides its program; when the desktop cannot
        // open it (no file, no handler), the player is asked instead.
        std::string path = song->GetFullPath();
        if (!FileExists(path) || !Platform().OpenFile(path)) {
            manager.config.LaunchPlayer({path});
        }
        return;
    }
    CPlayListItem set;
    std::vector<int> positions = IntsOf(command, 0, command.intCount);
    if (source == "playlist") {
        AppendEntries(manager, positions, set);
    } else if (source == "songlist") {
        AppendShownSongs(manager, manager.currentRow, positions, set);
    } else {
        return;
    }
    PlaySet(manager, set, false);
}

void ExecutePlayEntriesShuffled(CMusicManager& manager, const CMusicCommand& command) {
    CPlayListItem set;
    AppendEntries(manager, IntsOf(command, 0, command.intCount), set);
    PlaySet(manager, set, true);
}

void ExecutePlayRandomEntries(CMusicManager& manager, const CMusicCommand& command) {
    int wanted = command.GetInt(0);
    int available = manager.entries.GetCount();
    if (wanted <= 0 || available <= 0) {
        return;
    }
    std::vector<int> positions;
    FillRandom(positions, wanted, 1, available);
    CPlayListItem set;
    AppendEntries(manager, positions, set);
    PlaySet(manager, set, command.GetInt(1) == 1);
}

void ExecutePlayRandomSongs(CMusicManager& manager, const CMusicCommand& command) {
    int wanted = command.GetInt(0);
    int available = manager.songs.GetCount();
    if (wanted <= 0 || available <= 0) {
        return;
    }
    std::vector<int> positions;
    FillRandom(positions, wanted, 1, available);
    CPlayListItem set;
    AppendShownSongs(manager, 0, positions, set);
    PlaySet(manager, set, false);
}

void ExecutePlaySongsShuffled(CMusicManager& manager, const CMusicCommand& command) {
    if (command.intCount < 1) {
        return;
    }
    int row = command.GetInt(command.intCount - 1);
    CPlayListItem set;
    AppendShownSongs(manager, row, IntsOf(command, 0, command.intCount - 1), set);
    PlaySet(manager, set, true);
}

void ExecutePlayArtist(CMusicManager& manager, const CMusicCommand& command) {
    int position = command.GetInt(0);
    if (!manager.artists.IsValidPosition(position)) {
        return;
    }
    CPlayListItem set;
    SelectArtistSongs(&manager.entries, manager.artists.GetAt(position), command.GetInt(1), &set);
    manager.config.PlayEntry(set);
}
