#include "core/Sorting.h"

#include "support/Library.h"

#include <gtest/gtest.h>

namespace {

CSongList SongsTitled(const std::vector<std::string>& titles) {
    CSongList songs;
    for (const auto& title : titles) {
        songs.AddTail(title.empty() ? nullptr : TestSong(title));
    }
    return songs;
}

} // namespace

TEST(Sort, EachKeyOrdersByItsOwnFieldAndOtherKeysChangeNothing) {
    CSongList songs;
    CMusicList entries;
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
    // Songs, then entries; keys 0 and 9 are no columns.
    const char* orders[] = {"a b c|a b c", "a b c|a b c", "c b a|c a b", "b c a|c b a",
                            "b c a|b c a", "c a b|c a b", "b c a|b c a", "a c b|c a b",
                            "c a b|c a b", "a b c|a b c"};
    // Each key starts from the title order, so a key that orders nothing shows.
    for (int key = 0; key <= 9; ++key) {
        SortSongs(songs, 1, true);
        SortEntries(entries, 1, true);
        SortSongs(songs, key, true);
        SortEntries(entries, key, true);
        EXPECT_EQ(Joined(TitlesOf(songs)) + "|" + Joined(TitlesOf(entries)), orders[key])
            << "key " << key;
    }
}

TEST(Sort, TextsInGb18030ByteOrderTiesKeepTheirOrderAndAbsentRecordsStay) {
    // Pinyin order (a-, bu, ye, yue), not the order of the UTF-8 bytes.
    CSongList songs = SongsTitled({"月亮河", "b", "不", "夜曲", "B", "啊", "a"});
    SortSongs(songs, 1, true);
    EXPECT_EQ(Joined(TitlesOf(songs)), "B a b 啊 不 夜曲 月亮河");
    songs = SongsTitled({"b", "a"}); // only a single record is left as it is
    SortSongs(songs, 1, true);
    EXPECT_EQ(Joined(TitlesOf(songs)), "a b");

    // Descending reverses differing keys only: tied a and b keep their order.
    songs = SongsTitled({"a", "b", "c", "d", "e"});
    const int orders[] = {2, 2, 1, 3, 4};
    for (int i = 0; i < 5; ++i) {
        songs.GetAt(i + 1)->order = orders[i];
    }
    SortSongs(songs, 5, false);
    EXPECT_EQ(Joined(TitlesOf(songs)), "e d a b c");

    // An absent record is equal to every other one: the exchange sort's
    // passes stop at it.
    for (int key : {1, 8}) {
        songs = SongsTitled({"c", "b", "", "d", "a"});
        SortSongs(songs, key, true);
        EXPECT_EQ(Joined(TitlesOf(songs)), "b c (none) a d") << key;
    }
    EXPECT_FALSE(EntryGreater(nullptr, TestEntry("e", "/m", "e.m3u").get(), 1));
}
