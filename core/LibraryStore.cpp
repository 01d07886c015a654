#include "core/LibraryStore.h"

#include "core/ArtistIndex.h"
#include "core/MusicManager.h"
#include "formats/AppConfig.h"
#include "formats/ListFile.h"
#include "formats/PathFunctions.h"

#include <unistd.h>

#include <cerrno>
#include <vector>

namespace {

const char* const kListStoreName = "PlayList.stp";
const char* const kSongStoreName = "MusicList.ckp";
const char* const kConfigName = "Cricklet.ini";

// The process's current folder, whatever its length; "." when it cannot be
// asked for (it was removed), so nothing is ever looked for in the root.
std::string CurrentFolder() {
    std::vector<char> buffer(256);
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) {
            return std::string(".");
        }
        buffer.resize(buffer.size() * 2);
    }
    return std::string(buffer.data());
}

} // namespace

bool CLibraryStore::Load() {
    CMusicManager& manager = *m_pManager;
    std::string folder = CurrentFolder();
    std::string listPath = JoinPath(folder, kListStoreName);
    std::string songPath = JoinPath(folder, kSongStoreName);
    std::string configPath = JoinPath(folder, kConfigName);

    if (FileExists(listPath)) {
        ReadMusicListFile(listPath, manager.entries);
    }
    if (FileExists(songPath)) {
        ReadSongStoreFile(songPath, manager.songs);
    }
    if (!FileExists(configPath) || !ReadConfigFile(configPath, manager.config)) {
        manager.config = CAppConfig();
        manager.config.SetDefaults();
        manager.config.WorkDirectory = folder;
    }
    // A damaged file without a work folder would send the exit save to
    // the file system's root.
    if (manager.config.WorkDirectory.empty()) {
        manager.config.WorkDirectory = folder;
    }
    RebuildArtistIndex(manager.entries, manager.artists);
    return true;
}

// Each file is replaced atomically and on its own, so one that cannot be
// written neither damages its old copy nor keeps the others from being saved.
bool CLibraryStore::Save() {
    CMusicManager& manager = *m_pManager;
    const std::string& folder = manager.config.WorkDirectory;
    bool saved = WriteMusicListFile(JoinPath(folder, kListStoreName), manager.entries);
    saved = WriteSongStoreFile(JoinPath(folder, kSongStoreName), manager.songs) && saved;
    if (manager.config.IsFirstUse != 0) {
        manager.config.IsFirstUse = 0;
    }
    saved = WriteConfigFile(JoinPath(folder, kConfigName), manager.config) && saved;
    return saved;
}
