#include "core/Sorting.h"

#include "platform/TextEncoding.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

namespace {

// One record's value under the key, worked out once per sort: encoding a
// text to GB18030 costs far more than comparing it, and a sort compares each
// record about log2(n) times.
struct CSortKey {
    bool isText = false;
    std::string text; // GB18030 bytes
    std::int64_t number = 0;
};

// std::string compares its bytes as unsigned char: the GB18030 byte order.
bool KeyGreater(const CSortKey& a, const CSortKey& b) {
    return a.isText ? a.text.compare(b.text) > 0 : a.number > b.number;
}

CSortKey TextKey(const std::string& text) {
    CSortKey key;
    key.isText = true;
    key.text = EncodeGb18030(text);
    return key;
}

CSortKey NumberKey(std::int64_t number) {
    CSortKey key;
    key.number = number;
    return key;
}

CSortKey EntryKey(const CPlayListItem& entry, int key) {
    switch (key) {
    case 1:
        return TextKey(entry.title);
    case 2:
        return NumberKey(entry.GetType());
    case 3:
        return TextKey(entry.artist);
    case 4:
        return NumberKey(entry.style);
    case 5:
        return NumberKey(entry.count);
    case 6:
        return NumberKey(entry.time);
    case 7:
        return NumberKey(entry.playCount);
    default:
        return TextKey(entry.GetFullPath());
    }
}

CSortKey SongKey(const CSongItem& song, int key) {
    switch (key) {
    case 1:
        return TextKey(song.title);
    case 2:
        return TextKey(song.artist);
    case 3:
        return NumberKey(song.style);
    case 4:
        return NumberKey(song.time);
    case 5:
        return NumberKey(song.order);
    case 6:
        return TextKey(song.fileType);
    case 7:
        return NumberKey(song.size);
    default:
        return TextKey(song.GetFullPath());
    }
}

// The exchange sort itself, kept for lists that hold an absent record: an
// absent record is "equal" to every other one, which no ordering of the
// present records can express, so only the original passes give its order.
template <typename Record, typename Greater>
void BubbleSort(std::vector<std::shared_ptr<Record>>& elements, bool ascending, Greater greater) {
    bool swapped = true;
    const std::size_t n = elements.size();
    for (std::size_t i = 1; i < n && swapped; ++i) {
        swapped = false;
        for (std::size_t k = n - 1; k >= i; --k) {
            const Record* first = elements[k - 1].get();
            const Record* second = elements[k].get();
            if (ascending ? greater(first, second) : greater(second, first)) {
                std::swap(elements[k - 1], elements[k]);
                swapped = true;
            }
        }
    }
}

// Neighbours are exchanged only when strictly out of order, so the exchange
// sort ends in the one stable order of the records under the key; a stable
// merge sort on the precomputed keys reaches the same order.
template <typename Record, typename MakeKey, typename Greater>
void SortRecords(std::vector<std::shared_ptr<Record>>& elements, int key, bool ascending,
                 MakeKey makeKey, Greater greater) {
    if (key < 1 || key > 8 || elements.size() < 2) {
        return;
    }
    bool hasAbsent = std::any_of(elements.begin(), elements.end(),
                                 [](const std::shared_ptr<Record>& record) { return !record; });
    if (hasAbsent) {
        BubbleSort(elements, ascending,
                   [&](const Record* a, const Record* b) { return greater(a, b, key); });
        return;
    }
    std::vector<CSortKey> keys;
    keys.reserve(elements.size());
    for (const auto& record : elements) {
        keys.push_back(makeKey(*record, key));
    }
    std::vector<std::size_t> order(elements.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return ascending ? KeyGreater(keys[b], keys[a]) : KeyGreater(keys[a], keys[b]);
    });
    std::vector<std::shared_ptr<Record>> sorted;
    sorted.reserve(elements.size());
    for (std::size_t index : order) {
        sorted.push_back(std::move(elements[index]));
    }
    elements.swap(sorted);
}

} // namespace

bool EntryGreater(const CPlayListItem* a, const CPlayListItem* b, int key) {
    if (a == nullptr || b == nullptr || key < 1 || key > 8) {
        return false;
    }
    return KeyGreater(EntryKey(*a, key), EntryKey(*b, key));
}

bool SongGreater(const CSongItem* a, const CSongItem* b, int key) {
    if (a == nullptr || b == nullptr || key < 1 || key > 8) {
        return false;
    }
    return KeyGreater(SongKey(*a, key), SongKey(*b, key));
}

void SortEntries(CMusicList& entries, int key, bool ascending) {
    SortRecords(entries.Elements(), key, ascending, EntryKey, EntryGreater);
}

void SortSongs(CSongList& songs, int key, bool ascending) {
    SortRecords(songs.Elements(), key, ascending, SongKey, SongGreater);
}
