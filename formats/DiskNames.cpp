#include "formats/DiskNames.h"

#include "core/PlayListItem.h"
#include "core/SongItem.h"
#include "formats/PathFunctions.h"
#include "platform/TextEncoding.h"

std::string FindOnDisk(const std::string& path) {
    if (FileExists(path)) {
        return path;
    }
    std::string legacy = EncodeGb18030(path);
    if (legacy != path && FileExists(legacy)) {
        return legacy;
    }
    // A playlist in a GBK-named folder joins its decoded lines to that
    // folder's bytes: the two parts are found apart.
    std::string folder = FolderPart(path);
    std::string name = NamePart(path);
    if (path.find('/') != std::string::npos && LocateFile(folder, name)) {
        return folder == "/" ? folder + name : JoinPath(folder, name);
    }
    return std::string();
}

bool LocateFile(std::string& folder, std::string& name) {
    if (FileExists(JoinPath(folder, name))) {
        return true;
    }
    std::string legacyName = EncodeGb18030(name);
    std::string legacyFolder = EncodeGb18030(folder);
    // The name alone may be legacy bytes in a folder renamed since, or both.
    for (const std::string& candidate : {folder, legacyFolder}) {
        if (FileExists(JoinPath(candidate, legacyName))) {
            folder = candidate;
            name = legacyName;
            return true;
        }
    }
    if (FileExists(JoinPath(legacyFolder, name))) {
        folder = legacyFolder;
        return true;
    }
    return false;
}

bool LocateSongFile(CSongItem& song) {
    return LocateFile(song.location, song.fileName);
}

void LocateEntryFiles(CPlayListItem& entry) {
    if (entry.location.empty()) {
        return;
    }
    if (entry.GetType() != PLTYPE_FOLDER) {
        LocateFile(entry.location, entry.fileName);
        return;
    }
    std::string found = FindOnDisk(entry.location);
    if (!found.empty()) {
        entry.location = found;
        entry.fileName = found;
    }
}
