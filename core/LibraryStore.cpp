#include "core/LibraryStore.h"

#include "core/ArtistIndex.h"
#include "core/MusicManager.h"
#include "formats/AppConfig.h"
#include "formats/ListFile.h"
#include "formats/PathFunctions.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
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

// True when both paths name one existing file (links followed).
bool IsSameFile(const std::string& left, const std::string& right) {
    struct stat first {};
    struct stat second {};
    return stat(left.c_str(), &first) == 0 && stat(right.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

} // namespace

bool CLibraryStore::Load() {
    CMusicManager& manager = *m_pManager;
    std::string folder = CurrentFolder();
    std::string listPath = JoinPath(folder, kListStoreName);
    std::string songPath = JoinPath(folder, kSongStoreName);
    std::string configPath = JoinPath(folder, kConfigName);

    m_damagedFiles.clear();
    NoteDamage(ReadMusicListFileChecked(listPath, manager.entries), listPath);
    NoteDamage(ReadSongStoreFileChecked(songPath, manager.songs), songPath);
    CStoreRead settings = ReadConfigFileChecked(configPath, manager.config);
    if (settings.status == CStoreStatus::Missing || settings.status == CStoreStatus::Unreadable) {
        manager.config = CAppConfig();
        manager.config.SetDefaults();
        manager.config.WorkDirectory = folder;
    }
    NoteDamage(settings, configPath);
    // A damaged file without a work folder would send the exit save to
    // the file system's root.
    if (manager.config.WorkDirectory.empty()) {
        manager.config.WorkDirectory = folder;
    }
    RebuildArtistIndex(manager.entries, manager.artists);
    return true;
}

void CLibraryStore::NoteDamage(const CStoreRead& read, const std::string& path) {
    if (read.status != CStoreStatus::Damaged && read.status != CStoreStatus::Unreadable) {
        return;
    }
    m_damagedFiles.push_back(path);
    Platform().ShowMessage(read.problem + "\n为免丢失数据，保存前原文件将保留为“" +
                               NamePart(FreeAsideName(path)) + "”。",
                           kAppTitle, CMessageIcon::Warning);
}

// Keeps a damaged store file that the save of savePath would replace; it may
// still hold the user's library. False when it had to be kept and was not.
bool CLibraryStore::MakeWayFor(const std::string& savePath) {
    for (auto it = m_damagedFiles.begin(); it != m_damagedFiles.end(); ++it) {
        if (!IsSameFile(*it, savePath)) {
            continue;
        }
        std::string keptAs;
        if (!KeepFileAside(*it, keptAs)) {
            return false;
        }
        m_damagedFiles.erase(it);
        return true;
    }
    return true;
}

// Each file is replaced atomically and on its own, so one that cannot be
// written neither damages its old copy nor keeps the others from being saved.
bool CLibraryStore::Save() {
    CMusicManager& manager = *m_pManager;
    const std::string& folder = manager.config.WorkDirectory;
    std::string listPath = JoinPath(folder, kListStoreName);
    std::string songPath = JoinPath(folder, kSongStoreName);
    std::string configPath = JoinPath(folder, kConfigName);
    bool saved = MakeWayFor(listPath) && WriteMusicListFile(listPath, manager.entries);
    saved = MakeWayFor(songPath) && WriteSongStoreFile(songPath, manager.songs) && saved;
    if (manager.config.IsFirstUse != 0) {
        manager.config.IsFirstUse = 0;
    }
    saved = MakeWayFor(configPath) && WriteConfigFile(configPath, manager.config) && saved;
    return saved;
}
