// Folders and files whose names on disk are GBK bytes: written into the
// text files as UTF-8, found again under their GBK bytes on reading.
#include "formats/DiskNames.h"

#include "formats/ListFile.h"
#include "formats/M3uFile.h"
#include "support/Library.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {
const std::string kFolder = "\xC0\xCF\xB8\xE8";                // 老歌
const std::string kLoveSong = "\xC7\xE9\xB8\xE8.mp3";          // 情歌.mp3
const std::string kMoonRiver = "\xD4\xC2\xC1\xC1\xBA\xD3.mid"; // 月亮河.mid
const std::string kValidUtf8Too = "\xC8\xA5.mid"; // 去.mid: its GBK bytes are UTF-8 too
} // namespace

TEST(DiskNames, LegacyNamesOpenAgainAfterASaveAndARead) {
    CTempDir dir;
    std::string folder = dir.File(kFolder);
    dir.Write(kFolder + "/" + kLoveSong, "x");
    CMusicList list;
    list.AddTail(TestEntry("f", folder, folder));
    list.AddTail(TestEntry("s", folder, kLoveSong, {TestSong("t", 1, folder, kLoveSong)}));
    ASSERT_TRUE(WriteMusicListFile(dir.File("PlayList.stp"), list));
    // The store file is UTF-8 as a whole.
    EXPECT_EQ(dir.Read("PlayList.stp").find(kFolder), std::string::npos);
    EXPECT_NE(dir.Read("PlayList.stp").find("文件名 = 情歌.mp3;"), std::string::npos);
    CMusicList read;
    ASSERT_TRUE(ReadMusicListFile(dir.File("PlayList.stp"), read));
    ASSERT_EQ(read.GetCount(), 2);
    EXPECT_EQ(read.GetAt(1)->GetType(), PLTYPE_FOLDER);
    EXPECT_EQ(read.GetAt(1)->fileName + "|" + read.GetAt(1)->location, folder + "|" + folder);
    EXPECT_EQ(read.GetAt(2)->GetFullPath(), folder + "/" + kLoveSong);
    EXPECT_EQ(read.GetAt(2)->songs.GetAt(1)->GetFullPath(), folder + "/" + kLoveSong);
}

TEST(DiskNames, FindsThePathAsGivenFirstAndNothingWhenAbsent) {
    CTempDir dir;
    std::string utf8 = dir.Write("情歌.mp3", "x");
    dir.Write(kLoveSong, "y");
    dir.Write("\xD2\xB9\xC7\xFA.mp3", "z"); // 夜曲.mp3, only in GBK
    EXPECT_EQ(FindOnDisk(utf8), utf8);
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
        EXPECT_EQ(song.location + "/" + song.fileName, dir.Path() + "/" + c.after) << c.name;
    }
}

// Cache.m3u, a saved entry and a converted folder: titles come back as
// written, paths as the bytes on disk, with full paths and bare names.
TEST(DiskNames, M3uOfGbkNamesReadsBackWithTheSameTitlesAndPaths) {
    CTempDir dir;
    std::string folder = dir.File(kFolder);
    const std::string gbkTitle = "\xD2\xB9\xC7\xFA"; // 夜曲
    CPlayListItem entry;
    for (const auto& song :
         {TestSong("月亮河, 英文版", 61, folder, kMoonRiver),
          TestSong("去", 61, folder, kValidUtf8Too), TestSong(gbkTitle, 61, folder, "plain.mid")}) {
        entry.songs.AddTail(song);
        dir.Write(kFolder + "/" + song->fileName, "song");
    }
    entry.UpdateTotals();
    for (bool fullPaths : {true, false}) {
        std::string path = folder + (fullPaths ? "/full.m3u" : "/bare.m3u");
        ASSERT_TRUE(WriteM3UFile(path, entry, fullPaths));
        CPlayListItem read;
        ASSERT_TRUE(ReadM3UFile(path, &read)) << fullPaths;
        std::string seen;
        for (const auto& song : read.songs) {
            seen += song->title + "|" + song->GetFullPath() + "\n";
        }
        EXPECT_EQ(seen, "月亮河, 英文版|" + folder + "/" + kMoonRiver + "\n去|" + folder + "/" +
                            kValidUtf8Too + "\n夜曲|" + folder + "/plain.mid\n")
            << fullPaths;
    }
}
