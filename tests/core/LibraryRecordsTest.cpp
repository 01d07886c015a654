#include "core/ArtistIndex.h"
#include "core/PlayListItem.h"

#include <gtest/gtest.h>

namespace {

CEntryPtr MakeEntry(const std::string& fileName, const std::string& location,
                    const std::string& artist = "") {
    auto entry = std::make_shared<CPlayListItem>();
    entry->fileName = fileName;
    entry->location = location;
    entry->artist = artist;
    return entry;
}

CSongPtr MakeSong(int time) {
    auto song = std::make_shared<CSongItem>();
    song->time = time;
    return song;
}

} // namespace

TEST(EntryType, FolderFirstThenLowerCasedExtension) {
    EXPECT_EQ(MakeEntry("/m/a.m3u", "/m/a.m3u")->GetType(), PLTYPE_FOLDER);
    EXPECT_EQ(MakeEntry("LIST.M3U", "/m")->GetType(), PLTYPE_M3U);
    EXPECT_EQ(MakeEntry("list.m3u8", "/m")->GetType(), PLTYPE_M3U);
    EXPECT_EQ(MakeEntry("a.pls", "/m")->GetType(), PLTYPE_PLS);
    EXPECT_EQ(MakeEntry(".m3u", "/m")->GetType(), PLTYPE_OTHER);
    EXPECT_EQ(MakeEntry("noext", "/m")->GetType(), PLTYPE_OTHER);
}

TEST(FullPath, MissingFileMarkerAndFolders) {
    CSongItem song;
    song.fileName = kMissingFileMarker;
    EXPECT_EQ(song.GetFullPath(), "不存在");
    song.location = "/music";
    EXPECT_EQ(song.GetFullPath(), "/music/不存在");
    EXPECT_EQ(MakeEntry("/m/x", "/m/x")->GetFullPath(), "/m/x");
    EXPECT_EQ(MakeEntry("a.m3u", "/m")->GetFullPath(), "/m/a.m3u");
}

TEST(EntryTotals, RenumberAndUpdateTotalsWriteIntoTheSongs) {
    auto entry = MakeEntry("a.m3u", "/m");
    entry->Renumber();
    EXPECT_EQ(entry->count, 0);
    for (int time : {100, 40000, 40000}) {
        entry->songs.AddTail(MakeSong(time));
    }
    entry->Renumber();
    entry->UpdateTotals();
    EXPECT_EQ(entry->count, 3);
    EXPECT_EQ(entry->time, 80100); // past 16 bits, no wrap
    EXPECT_EQ(entry->songs.GetAt(3)->order, 3);
}

TEST(PositionLists, OneBasedAndOutOfRangeIsHarmless) {
    CSongList flat;
    auto entry = MakeEntry("a.m3u", "/m");
    auto song = MakeSong(1);
    flat.AddTail(song);
    entry->songs.AddTail(song);
    flat.RemoveAt(1);
    EXPECT_EQ(entry->songs.GetAt(1), song); // still held by its entry
    EXPECT_EQ(flat.GetAt(1), nullptr);
    EXPECT_EQ(entry->songs.GetAt(0), nullptr);
    flat.RemoveAt(5);
    flat.RemoveAt(-1);
    EXPECT_EQ(flat.GetCount(), 0);
}

TEST(ArtistIndex, UniqueSortedWithUnnamedLast) {
    CMusicList entries;
    CArtistList artists;
    EXPECT_EQ(RebuildArtistIndex(entries, artists), 0);
    EXPECT_EQ(artists.GetCount(), 0);
    for (const char* artist : {"B", "", "A", "B", "张学友", "阿杜"}) {
        entries.AddTail(MakeEntry("x.m3u", "/m", artist));
    }
    EXPECT_EQ(RebuildArtistIndex(entries, artists), 5);
    std::vector<std::string> expected = {"A", "B", "阿杜", "张学友", "<未命名>"};
    EXPECT_EQ(artists.Elements(), expected);
}
