#include "core/RandomPlay.h"

#include "core/ArtistIndex.h"

#include <cstdlib>

int RandomBetween(int lo, int hi) {
    if (hi < lo) {
        return lo;
    }
    // In 64 bits, so that a range as wide as int itself cannot overflow.
    long long width = static_cast<long long>(hi) - lo + 1;
    return static_cast<int>(lo + std::rand() % width);
}

void FillRandom(std::vector<int>& values, int n, int lo, int hi) {
    values.clear();
    for (int i = 0; i < n; ++i) {
        values.push_back(RandomBetween(lo, hi));
    }
}

void ShuffleSongs(CSongList& list) {
    int count = list.GetCount();
    for (int round = 0; round < 2 * count; ++round) {
        int first = RandomBetween(1, count);
        int second = RandomBetween(1, count);
        list.Exchange(first, second);
    }
}

int SelectArtistSongs(const CMusicList* entries, const std::string& artist, int keep,
                      CPlayListItem* set) {
    if (entries == nullptr || set == nullptr) {
        return -1;
    }
    const std::string wanted = artist == kUnnamedArtist ? std::string() : artist;
    for (const auto& entry : *entries) {
        if (entry && entry->artist == wanted) {
            for (const auto& song : entry->songs) {
                set->songs.AddTail(song);
            }
        }
    }
    int count = set->songs.GetCount();
    if (keep > 0 && keep <= count) {
        for (int removed = 0; removed < count - keep; ++removed) {
            set->songs.RemoveAt(RandomBetween(1, set->songs.GetCount()));
        }
    }
    set->count = set->songs.GetCount();
    ShuffleSongs(set->songs);
    return set->count;
}
