#include "core/ArtistIndex.h"

#include "platform/TextEncoding.h"

#include <algorithm>
#include <set>

const char* const kUnnamedArtist = "<未命名>";

int RebuildArtistIndex(const CMusicList& entries, CArtistList& artists) {
    artists.RemoveAll();
    if (entries.IsEmpty()) {
        return 0;
    }
    std::set<std::string> seen;
    std::vector<std::pair<std::string, std::string>> names; // (GB18030 key, name)
    for (const auto& entry : entries) {
        if (entry->artist.empty() || !seen.insert(entry->artist).second) {
            continue;
        }
        names.emplace_back(EncodeGb18030(entry->artist), entry->artist);
    }
    // Names are unique, so a plain sort by their bytes gives the same order
    // as the stable bubble sort the menus were first built with.
    std::sort(names.begin(), names.end());
    for (auto& name : names) {
        artists.AddTail(std::move(name.second));
    }
    artists.AddTail(kUnnamedArtist);
    return artists.GetCount();
}
