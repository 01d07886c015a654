#include "core/ArtistIndex.h"
#include "core/PlayListItem.h"
#include "support/Library.h"

#include <gtest/gtest.h>

TEST(EntryRecord, TypeAndFullPath) {
    const struct {
        const char* fileName;
        const char* location;
        int type;
        const char* fullPath;
    } cases[] = {
        {"/m/a.m3u", "/m/a.m3u", PLTYPE_FOLDER, "/m/a.m3u"},
        {"LIST.M3U", "/m", PLTYPE_M3U, "/m/LIST.M3U"},
        {"list.m3u8", "/m", PLTYPE_M3U, "/m/list.m3u8"},
        {"a.pls", "/m", PLTYPE_PLS, "/m/a.pls"},
        {".m3u", "/m", PLTYPE_OTHER, "/m/.m3u"},
        {"noext", "/m", PLTYPE_OTHER, "/m/noext"},
    };
    for (const auto& c : cases) {
        CEntryPtr entry = TestEntry("t", c.location, c.fileName);
        EXPECT_EQ(entry->GetType(), c.type) << c.fileName;
        EXPECT_EQ(entry->GetFullPath(), c.fullPath) << c.fileName;
    }
    EXPECT_EQ(TestSong("t", 0, "", kMissingFileMarker)->GetFullPath() + " " +
                  TestSong("t", 0, "/music", kMissingFileMarker)->GetFullPath(),
              "不存在 /music/不存在");
}

TEST(ArtistIndex, UniqueSortedWithUnnamedLast) {
    CMusicList entries;
    CArtistList artists;
    EXPECT_EQ(RebuildArtistIndex(entries, artists) + artists.GetCount(), 0);
    for (const char* artist : {"B", "", "A", "B", "张学友", "阿杜", ""}) {
        entries.AddTail(TestEntry("x", "/m", "x.m3u", {}, artist));
    }
    EXPECT_EQ(RebuildArtistIndex(entries, artists), 5);
    EXPECT_EQ(artists.Elements(),
              (std::vector<std::string>{"A", "B", "阿杜", "张学友", "<未命名>"}));
}
