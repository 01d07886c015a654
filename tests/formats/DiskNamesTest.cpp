#include "formats/DiskNames.h"

#include "core/SongItem.h"
#include "formats/ListFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {
const std::string kLoveSongGbk = "\xC7\xE9\xB8\xE8.mp3"; // 情歌.mp3 as GBK bytes
const std::string kOldSongsGbk = "\xC0\xCF\xB8\xE8";     // 老歌 as GBK bytes
} // namespace

TEST(DiskNames, LegacyNamesOpenAgainAfterASaveAndARead) {
    CTempDir dir;
    std::string folder = dir.Path() + "/" + kOldSongsGbk;
    dir.Write(folder + "/" + kLoveSongGbk, "x");

    CSongList songs;
    auto song = std::make_shared<CSongItem>();
    song->fileName = kLoveSongGbk;
    song->location = folder;
    song->fileType = "mp3";
    songs.AddTail(song);
    ASSERT_TRUE(WriteSongStoreFile(dir.File("MusicList.ckp"), songs));
    // The store file is UTF-8 as a whole...
    EXPECT_NE(dir.Read("MusicList.ckp").find("情歌.mp3"), std::string::npos);

    // ...and the song still finds its file under the bytes on disk.
    CSongList read;
    ASSERT_TRUE(ReadSongStoreFile(dir.File("MusicList.ckp"), read));
    ASSERT_EQ(read.GetCount(), 1);
    EXPECT_EQ(read.GetAt(1)->fileName, kLoveSongGbk);
    EXPECT_EQ(read.GetAt(1)->location, folder);
}

TEST(DiskNames, FindsThePathAsGivenFirstAndNothingWhenAbsent) {
    CTempDir dir;
    std::string utf8 = dir.Write("情歌.mp3", "x");
    std::string legacy = dir.Write(kLoveSongGbk, "y");
    EXPECT_EQ(FindOnDisk(utf8), utf8);
    EXPECT_EQ(FindOnDisk(dir.File("情歌.mp3")), utf8);
    EXPECT_EQ(FindOnDisk(dir.File("missing.mp3")), "");

    CSongItem song;
    song.location = dir.Path();
    song.fileName = "情歌.mp3";
    EXPECT_TRUE(LocateSongFile(song));
    EXPECT_EQ(song.fileName, "情歌.mp3"); // the UTF-8 file wins, nothing changed
    song.fileName = "夜曲.mp3";
    EXPECT_FALSE(LocateSongFile(song));
    EXPECT_EQ(song.location, dir.Path());
    (void)legacy;
}
