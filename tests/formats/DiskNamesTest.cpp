// Folders and files whose names on disk are GBK bytes: written into the
// text files as UTF-8, found again under their GBK bytes on reading.
#include "formats/DiskNames.h"

#include "formats/ListFile.h"
#include "formats/M3uFile.h"
#include "platform/TextEncoding.h"
#include "support/Library.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {
const std::string kFolder = "\xC0\xCF\xB8\xE8";                // 老歌
const std::string kLoveSong = "\xC7\xE9\xB8\xE8.mp3";          // 情歌.mp3
const std::string kMoonRiver = "\xD4\xC2\xC1\xC1\xBA\xD3.mid"; // 月亮河.mid
const std::string kValidUtf8Too = "\xC8\xA5.mid"; // 去.mid: its GBK bytes are UTF-8 too
} // namespace

// The list file and an M3U file (a saved entry, Cache.m3u): titles come back
// as written, paths as the bytes on disk.
TEST(DiskNames, LegacyNamesOpenAgainAfterASaveAndARead) {
    CTempDir dir;
    std::string folder = dir.File(kFolder);
    dir.Write(kFolder + "/" + kLoveSong, "x");
    CPlayListItem entry;
    for (const auto& song :
         {TestSong("月亮河, 英文版", 61, folder, kMoonRiver),
          TestSong("去", 61, folder, kValidUtf8Too),
          TestSong("\xD2\xB9\xC7\xFA", 61, folder, "plain.mid")}) { // a GBK title: 夜曲
        entry.songs.AddTail(song);
        dir.Write(kFolder + "/" + song->fileName, "song");
    }
    entry.UpdateTotals();
    CMusicList list;
    list.AddTail(TestEntry("f", folder, folder));
    list.AddTail(TestEntry("s", folder, kLoveSong, {TestSong("t", 1, folder, kLoveSong)}));
    ASSERT_TRUE(WriteMusicListFile(dir.File("PlayList.stp"), list));
    ASSERT_TRUE(WriteM3UFile(folder + "/full.m3u", entry, true));
    EXPECT_TRUE(IsValidUtf8(dir.Read("PlayList.stp")));
    CMusicList read;
    ASSERT_TRUE(ReadMusicListFile(dir.File("PlayList.stp"), read));
    CPlayListItem readEntry;
    ASSERT_TRUE(ReadM3UFile(folder + "/full.m3u", &readEntry));
    ASSERT_EQ(read.GetCount(), 2);
    EXPECT_EQ(read.GetAt(1)->GetType(), PLTYPE_FOLDER);
    std::string seen = read.GetAt(1)->fileName + "\n" + read.GetAt(2)->GetFullPath() + "\n";
    for (const auto& song : readEntry.songs) {
        seen += song->title + "|" + song->GetFullPath() + "\n";
    }
    EXPECT_EQ(seen, folder + "\n" + folder + "/" + kLoveSong + "\n月亮河, 英文版|" + folder + "/" +
                        kMoonRiver + "\n去|" + folder + "/" + kValidUtf8Too + "\n夜曲|" + folder +
                        "/plain.mid\n");
    EXPECT_EQ(read.GetAt(2)->songs.GetAt(1)->GetFullPath(), folder + "/" + kLoveSong);
    // A name on disk both as UTF-8 and as GB18030 bytes is the UTF-8 one.
    dir.Write(kFolder + "/情歌.mp3", "UTF-8 name");
    EXPECT_EQ(FindOnDisk(folder + "/情歌.mp3"), folder + "/情歌.mp3");
}
