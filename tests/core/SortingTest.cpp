#include "core/Sorting.h"

#include "support/Library.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using Lines = std::vector<std::string>;

// The exchange sort the panes' order is defined by: each pass carries the
// least remaining element (in the chosen direction) down to position i,
// neighbours exchanged only when strictly out of order.
template <typename Record, typename Greater>
void ReferenceBubbleSort(std::vector<std::shared_ptr<Record>>& elements, int key, bool ascending,
                         Greater greater) {
    int n = static_cast<int>(elements.size());
    bool swapped = true;
    for (int i = 1; i < n && swapped; ++i) {
        swapped = false;
        for (int k = n - 1; k >= i; --k) {
            auto& first = elements[k - 1];
            auto& second = elements[k];
            if (ascending ? greater(first.get(), second.get(), key)
                          : greater(second.get(), first.get(), key)) {
                std::swap(first, second);
                swapped = true;
            }
        }
    }
}

// Few distinct values per field, so that ties (and stability) are common.
std::string PickText(std::mt19937& random) {
    static const Lines texts = {"a", "B", "b", "啊", "不", "Ab", "", "aB", "月亮河", "夜曲", "é"};
    return texts[random() % texts.size()];
}

CSongPtr RandomSong(std::mt19937& random) {
    auto song = TestSong(PickText(random), static_cast<int>(random() % 7) - 1,
                         random() % 3 == 0 ? "" : "/m/" + PickText(random),
                         random() % 5 == 0 ? std::string(kMissingFileMarker) : PickText(random));
    song->artist = PickText(random);
    song->style = 2001 + static_cast<int>(random() % 4);
    song->order = static_cast<int>(random() % 5);
    song->fileType = random() % 2 ? "mp3" : "wma";
    song->size = static_cast<std::int64_t>(random() % 4) * 3000000000LL - 1;
    return song;
}

CEntryPtr RandomEntry(std::mt19937& random) {
    static const Lines names = {"a.m3u", "b.pls", "c.wpl", "d.M3U8", "/x"};
    std::string name = names[random() % names.size()];
    auto entry = TestEntry(PickText(random), name == "/x" ? "/x" : "/m/" + PickText(random), name,
                           {}, PickText(random));
    entry->style = 2001 + static_cast<int>(random() % 3);
    entry->count = static_cast<int>(random() % 4);
    entry->time = static_cast<int>(random() % 5) * 40000 - 1;
    entry->playCount = static_cast<int>(random() % 3);
    return entry;
}

template <typename List, typename Make, typename Sort, typename Greater>
void ExpectBubbleSortOrder(Make make, Sort sort, Greater greater) {
    std::mt19937 random(20261206);
    for (int round = 0; round < 6; ++round) {
        List list;
        for (int i = 0; i < 120 + round; ++i) {
            list.AddTail(make(random));
        }
        for (int key = 0; key <= 9; ++key) {
            for (bool ascending : {true, false}) {
                auto expected = list.Elements();
                ReferenceBubbleSort(expected, key, ascending, greater);
                sort(list, key, ascending);
                ASSERT_EQ(list.Elements(), expected) << "key " << key << " asc " << ascending;
            }
        }
    }
}

CSongList SongsTitled(const Lines& titles) {
    CSongList songs;
    for (const auto& title : titles) {
        songs.AddTail(TestSong(title));
    }
    return songs;
}

} // namespace

TEST(Sort, SongsAndEntriesGiveTheBubbleSortOrderForEveryKeyAndDirection) {
    ExpectBubbleSortOrder<CSongList>(RandomSong, SortSongs, SongGreater);
    ExpectBubbleSortOrder<CMusicList>(RandomEntry, SortEntries, EntryGreater);

    // An absent record is equal to every other one.
    CSongList songs = SongsTitled({"c", "b", "a", "d"});
    songs.InsertAt(3, nullptr);
    std::vector<CSongPtr> expected = songs.Elements();
    ReferenceBubbleSort(expected, 1, true, SongGreater);
    SortSongs(songs, 1, true);
    EXPECT_EQ(songs.Elements(), expected);
    CEntryPtr entry = TestEntry("e", "/m", "e.m3u");
    EXPECT_FALSE(SongGreater(nullptr, songs.GetAt(1).get(), 1));
    EXPECT_FALSE(EntryGreater(nullptr, entry.get(), 1) || EntryGreater(entry.get(), nullptr, 1));
}

TEST(Sort, EachKeyOrdersByItsOwnField) {
    CSongList songs;
    CMusicList entries;
    // title, artist, file type, location, entry file, style, time, order, size
    const struct {
        const char *title, *artist, *fileType, *location, *entryFile;
        int style, time, order;
        std::int64_t size;
    } records[] = {
        {"a", "Z", "wma", "/b", "x.pls", 2003, 30, 2, 10},
        {"b", "Y", "mp3", "/c", "/c", 2001, 10, 3, 5000000000},
        {"c", "X", "ogg", "/a", "y.m3u", 2002, 20, 1, 20},
    };
    for (const auto& r : records) {
        CSongPtr song = TestSong(r.title, r.time, r.location);
        song->artist = r.artist;
        song->fileType = r.fileType;
        song->style = r.style;
        song->order = r.order;
        song->size = r.size;
        songs.AddTail(song);
        CEntryPtr entry = TestEntry(r.title, r.location, r.entryFile, {}, r.artist);
        entry->style = r.style;
        entry->count = entry->playCount = r.order;
        entry->time = r.time;
        entries.AddTail(entry);
    }
    const char* orders[] = {"a b c|a b c", "c b a|c a b", "b c a|c b a", "b c a|b c a",
                            "c a b|c a b", "b c a|b c a", "a c b|c a b", "c a b|c a b"};
    // Each key starts from the title order, so a key that orders nothing shows.
    for (int key = 1; key <= 8; ++key) {
        SortSongs(songs, 1, true);
        SortEntries(entries, 1, true);
        SortSongs(songs, key, true);
        SortEntries(entries, key, true);
        EXPECT_EQ(Joined(TitlesOf(songs)) + "|" + Joined(TitlesOf(entries)), orders[key - 1])
            << "key " << key;
    }
}

TEST(SortSongs, TextsInGb18030ByteOrderAndTiesKeepTheirOrder) {
    // Pinyin order (a-, bu, ye, yue), not the order of the UTF-8 bytes.
    CSongList songs = SongsTitled({"月亮河", "b", "不", "夜曲", "B", "啊", "a"});
    SortSongs(songs, 1, true);
    EXPECT_EQ(Joined(TitlesOf(songs)), "B a b 啊 不 夜曲 月亮河");
    SortSongs(songs, 1, false);
    EXPECT_EQ(Joined(TitlesOf(songs)), "月亮河 夜曲 不 啊 b a B");

    // The order key restores numbering; descending reverses differing keys only.
    songs = SongsTitled({"d", "c", "b", "a", "e"});
    const int orders[] = {3, 1, 2, 2, 4};
    for (int i = 0; i < 5; ++i) {
        songs.GetAt(i + 1)->order = orders[i];
    }
    SortSongs(songs, 1, true);
    SortSongs(songs, 5, true);
    EXPECT_EQ(Joined(TitlesOf(songs)), "c a b d e");
    SortSongs(songs, 5, false);
    EXPECT_EQ(Joined(TitlesOf(songs)), "e d a b c");
}
