#include "formats/DiskNames.h"

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
    return std::string();
}

bool LocateSongFile(CSongItem& song) {
    if (FileExists(song.GetFullPath())) {
        return true;
    }
    std::string legacyName = EncodeGb18030(song.fileName);
    std::string legacyFolder = EncodeGb18030(song.location);
    // The name alone may be legacy bytes in a folder renamed since, or both.
    for (const std::string& folder : {song.location, legacyFolder}) {
        if (FileExists(JoinPath(folder, legacyName))) {
            song.location = folder;
            song.fileName = legacyName;
            return true;
        }
    }
    if (FileExists(JoinPath(legacyFolder, song.fileName))) {
        song.location = legacyFolder;
        return true;
    }
    return false;
}
