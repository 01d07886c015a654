#include "core/PlayListItem.h"

#include "formats/PathFunctions.h"

#include <algorithm>
#include <climits>

bool IsM3uExtension(const std::string& extension) {
    return extension == "m3u" || extension == "m3u8";
}

int CPlayListItem::GetType() const {
    if (fileName == location) {
        return PLTYPE_FOLDER;
    }
    std::string extension = ExtensionOf(fileName);
    if (IsM3uExtension(extension)) {
        return PLTYPE_M3U;
    }
    if (extension == "pls") {
        return PLTYPE_PLS;
    }
    return PLTYPE_OTHER;
}

std::string CPlayListItem::GetFullPath() const {
    if (GetType() == PLTYPE_FOLDER) {
        return location;
    }
    return location + "/" + fileName;
}

void CPlayListItem::Renumber() {
    count = songs.GetCount();
    int position = 1;
    for (const auto& song : songs) {
        song->order = position++;
    }
}

void CPlayListItem::UpdateTotals() {
    count = songs.GetCount();
    // Summed wide: times read from a damaged file must not overflow.
    long long total = 0;
    for (const auto& song : songs) {
        total += song->time;
    }
    time = static_cast<int>(std::clamp<long long>(total, INT_MIN, INT_MAX));
}
