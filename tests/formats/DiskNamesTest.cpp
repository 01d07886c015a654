#include "formats/DiskNames.h"

#include "formats/ListFile.h"
#include "support/Library.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {
const std::string kLoveSongGbk = "\xC7\xE9\xB8\xE8.mp3"; // 情歌.mp3 as GBK bytes
} // namespace

TEST(DiskNames, LegacyNamesOpenAgainAfterASaveAndARead) {
    CTempDir dir;
    std::string folder = dir.Path() + "/\xC0\xCF\xB8\xE8"; // 老歌 as GBK bytes
    dir.Write(folder + "/" + kLoveSongGbk, "x");
    CSongList songs;
    songs.AddTail(TestSong("t", 1, folder, kLoveSongGbk));
    ASSERT_TRUE(WriteSongStoreFile(dir.File("MusicList.ckp"), songs));
    // The store file is UTF-8 as a whole, and the song still finds its file
    // under the bytes on disk.
    EXPECT_NE(dir.Read("MusicList.ckp").find("文件名 = 情歌.mp3;"), std::string::npos);
    CSongList read;
    ASSERT_TRUE(ReadSongStoreFile(dir.File("MusicList.ckp"), read));
    ASSERT_EQ(read.GetCount(), 1);
    EXPECT_EQ(read.GetAt(1)->GetFullPath(), folder + "/" + kLoveSongGbk);
}

TEST(DiskNames, FindsThePathAsGivenFirstAndNothingWhenAbsent) {
    CTempDir dir;
    std::string utf8 = dir.Write("情歌.mp3", "x");
    dir.Write(kLoveSongGbk, "y");
    dir.Write("\xD2\xB9\xC7\xFA.mp3", "z"); // 夜曲.mp3, only in GBK
    EXPECT_EQ(FindOnDisk(utf8), utf8);
    EXPECT_EQ(FindOnDisk(dir.File("夜曲.mp3")), dir.File("\xD2\xB9\xC7\xFA.mp3"));
    EXPECT_EQ(FindOnDisk(dir.File("missing.mp3")), "");
    const struct {
        const char* name;
        bool found;
        std::string after;
    } cases[] = {
        {"情歌.mp3", true, "情歌.mp3"}, // the UTF-8 file wins, nothing changed
        {"夜曲.mp3", true, "\xD2\xB9\xC7\xFA.mp3"},
        {"无.mp3", false, "无.mp3"},
    };
    for (const auto& c : cases) {
        CSongItem song = *TestSong("t", 1, dir.Path(), c.name);
        EXPECT_EQ(LocateSongFile(song), c.found) << c.name;
        EXPECT_EQ(song.fileName, c.after) << c.name;
        EXPECT_EQ(song.location, dir.Path()) << c.name;
    }
}
