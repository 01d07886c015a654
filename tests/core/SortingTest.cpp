#include "core/Sorting.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

// The exchange sort the panes' order is defined by: n passes at most, each
// carrying the least remaining element (in the chosen direction) down to
// position i, neighbours exchanged only when strictly out of order.
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
            bool exchange = ascending ? greater(first.get(), second.get(), key)
                                      : greater(second.get(), first.get(), key);
            if (exchange) {
                std::swap(first, second);
                swapped = true;
            }
        }
    }
}

// Few distinct values per field, so that ties (and stability) are common.
const std::vector<std::string> kTexts = {"a", "B",  "b",      "啊",   "不", "Ab",
                                         "",  "aB", "月亮河", "夜曲", "é",  "a b"};

std::string PickText(std::mt19937& random) {
    return kTexts[random() % kTexts.size()];
}

CSongPtr RandomSong(std::mt19937& random) {
    auto song = std::make_shared<CSongItem>();
    song->title = PickText(random);
    song->artist = PickText(random);
    song->style = 2001 + static_cast<int>(random() % 4);
    song->time = static_cast<int>(random() % 7) - 1;
    song->order = static_cast<int>(random() % 5);
    song->fileName = random() % 5 == 0 ? std::string(kMissingFileMarker) : PickText(random);
    song->fileType = random() % 2 ? "mp3" : "wma";
    song->location = random() % 3 == 0 ? "" : "/m/" + PickText(random);
    song->size = static_cast<std::int64_t>(random() % 4) * 3000000000LL - 1;
    return song;
}

CEntryPtr RandomEntry(std::mt19937& random) {
    static const std::vector<std::string> names = {"a.m3u", "b.pls", "c.wpl", "d.M3U8", "/x"};
    auto entry = std::make_shared<CPlayListItem>();
    entry->title = PickText(random);
    entry->artist = PickText(random);
    entry->style = 2001 + static_cast<int>(random() % 3);
    entry->count = static_cast<int>(random() % 4);
    entry->time = static_cast<int>(random() % 5) * 40000 - 1;
    entry->playCount = static_cast<int>(random() % 3);
    entry->fileName = names[random() % names.size()];
    entry->location = entry->fileName == "/x" ? "/x" : "/m/" + PickText(random);
    return entry;
}

std::vector<std::string> Titles(const CSongList& songs) {
    std::vector<std::string> titles;
    for (const auto& song : songs) {
        titles.push_back(song->title);
    }
    return titles;
}

CSongList SongsTitled(const std::vector<std::string>& titles) {
    CSongList songs;
    for (const auto& title : titles) {
        auto song = std::make_shared<CSongItem>();
        song->title = title;
        songs.AddTail(song);
    }
    return songs;
}

} // namespace

TEST(SortSongs, GivesTheBubbleSortOrderForEveryKeyAndDirection) {
    std::mt19937 random(20261206);
    for (int round = 0; round < 6; ++round) {
        CSongList songs;
        for (int i = 0; i < 150 + round; ++i) {
            songs.AddTail(RandomSong(random));
        }
        for (int key = 0; key <= 9; ++key) {
            for (bool ascending : {true, false}) {
                std::vector<CSongPtr> expected = songs.Elements();
                ReferenceBubbleSort(expected, key, ascending, SongGreater);
                SortSongs(songs, key, ascending);
                ASSERT_EQ(songs.Elements(), expected) << "key " << key << " asc " << ascending;
            }
        }
    }
}

TEST(SortEntries, GivesTheBubbleSortOrderForEveryKeyAndDirection) {
    std::mt19937 random(7);
    for (int round = 0; round < 6; ++round) {
        CMusicList entries;
        for (int i = 0; i < 120 + round; ++i) {
            entries.AddTail(RandomEntry(random));
        }
        for (int key = 0; key <= 9; ++key) {
            for (bool ascending : {true, false}) {
                std::vector<CEntryPtr> expected = entries.Elements();
                ReferenceBubbleSort(expected, key, ascending, EntryGreater);
                SortEntries(entries, key, ascending);
                ASSERT_EQ(entries.Elements(), expected) << "key " << key << " asc " << ascending;
            }
        }
    }
}

TEST(SortSongs, TextsInGb18030ByteOrder) {
    CSongList songs = SongsTitled({"b", "B", "a"});
    SortSongs(songs, 1, true);
    EXPECT_EQ(Titles(songs), (std::vector<std::string>{"B", "a", "b"}));

    // Pinyin order (a-, bu, ye, yue), not the order of the UTF-8 bytes.
    songs = SongsTitled({"月亮河", "不", "夜曲", "啊", "Z"});
    SortSongs(songs, 1, true);
    EXPECT_EQ(Titles(songs), (std::vector<std::string>{"Z", "啊", "不", "夜曲", "月亮河"}));
    SortSongs(songs, 1, false);
    EXPECT_EQ(Titles(songs), (std::vector<std::string>{"月亮河", "夜曲", "不", "啊", "Z"}));
}

TEST(SortSongs, OrderKeyRestoresNumberingAndTiesKeepTitleOrder) {
    CSongList songs = SongsTitled({"d", "c", "b", "a", "e"});
    const int orders[] = {3, 1, 2, 2, 4};
    for (int i = 0; i < 5; ++i) {
        songs.GetAt(i + 1)->order = orders[i];
    }
    SortSongs(songs, 1, true);
    SortSongs(songs, 5, true);
    EXPECT_EQ(Titles(songs), (std::vector<std::string>{"c", "a", "b", "d", "e"}));

    // Descending reverses differing keys; the tie keeps its order.
    SortSongs(songs, 5, false);
    EXPECT_EQ(Titles(songs), (std::vector<std::string>{"e", "d", "a", "b", "c"}));
}

TEST(SortSongs, SizeDescendingPutsMissingFilesLastAndBadKeysChangeNothing) {
    CSongList songs = SongsTitled({"small", "missing", "huge", "mid"});
    const std::int64_t sizes[] = {10, 0, 5000000000LL, 4000};
    for (int i = 0; i < 4; ++i) {
        songs.GetAt(i + 1)->size = sizes[i];
    }
    SortSongs(songs, 7, false);
    EXPECT_EQ(Titles(songs), (std::vector<std::string>{"huge", "mid", "small", "missing"}));
    SortSongs(songs, 0, true);
    SortSongs(songs, 9, false);
    EXPECT_EQ(Titles(songs), (std::vector<std::string>{"huge", "mid", "small", "missing"}));
}

TEST(SortEntries, TypeKeyPutsM3uThenPlsThenFoldersThenOthers) {
    CMusicList entries;
    for (auto name : {"x.wpl", "/f", "b.pls", "a.m3u", "c.m3u8"}) {
        auto entry = std::make_shared<CPlayListItem>();
        entry->fileName = name;
        entry->location = std::string(name) == "/f" ? "/f" : "/m";
        entries.AddTail(entry);
    }
    SortEntries(entries, 2, true);
    std::vector<std::string> names;
    for (const auto& entry : entries) {
        names.push_back(entry->fileName);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"a.m3u", "c.m3u8", "b.pls", "/f", "x.wpl"}));
}

TEST(SortSongs, AbsentRecordsSortLikeTheExchangeSort) {
    CSongList songs = SongsTitled({"c", "b", "a", "d"});
    songs.InsertAt(3, nullptr);
    std::vector<CSongPtr> expected = songs.Elements();
    ReferenceBubbleSort(expected, 1, true, SongGreater);
    SortSongs(songs, 1, true);
    EXPECT_EQ(songs.Elements(), expected);
    EXPECT_FALSE(SongGreater(nullptr, songs.GetAt(1).get(), 1));
    EXPECT_FALSE(EntryGreater(nullptr, nullptr, 1));
}
