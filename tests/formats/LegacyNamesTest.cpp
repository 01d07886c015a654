// Folders and files whose names on disk are GBK bytes: written into the
// text files as UTF-8, found again under their GBK bytes on reading.
#include "formats/ListFile.h"
#include "formats/M3uFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

const std::string kFolder = "\xC0\xCF\xB8\xE8";          // 老歌
const std::string kSong = "\xD4\xC2\xC1\xC1\xBA\xD3.mid"; // 月亮河.mid
const std::string kValidUtf8Too = "\xC8\xA5.mid";         // 去.mid: its GBK bytes are UTF-8 too

CSongPtr SongAt(const std::string& folder, const std::string& name, const std::string& title) {
    auto song = std::make_shared<CSongItem>();
    song->title = title;
    song->fileName = name;
    song->location = folder;
    song->time = 61;
    return song;
}

} // namespace

TEST(ListFileRead, EntryLocationsOnGbkNamedFoldersAreFoundAgain) {
    CTempDir dir;
    std::string folder = dir.File(kFolder);
    dir.Write(kFolder + "/" + kSong, "song");
    CMusicList list;
    for (const std::string& name : {folder, kSong}) {
        auto entry = std::make_shared<CPlayListItem>();
        entry->location = folder;
        entry->fileName = name;
        list.AddTail(entry);
    }
    ASSERT_TRUE(WriteMusicListFile(dir.File("PlayList.stp"), list));
    EXPECT_EQ(dir.Read("PlayList.stp").find(kFolder), std::string::npos);

    CMusicList read;
    ASSERT_TRUE(ReadMusicListFile(dir.File("PlayList.stp"), read));
    ASSERT_EQ(read.GetCount(), 2);
    EXPECT_EQ(read.GetAt(1)->GetType(), PLTYPE_FOLDER);
    EXPECT_EQ(read.GetAt(1)->fileName, folder);
    EXPECT_EQ(read.GetAt(1)->location, folder);
    EXPECT_EQ(read.GetAt(2)->GetFullPath(), folder + "/" + kSong);
}

// Cache.m3u, a saved entry and a converted folder: titles come back as
// written, paths as the bytes on disk, with full paths and bare names.
TEST(M3uRoundTrip, GbkNamesOnDiskReadBackWithTheSameTitlesAndPaths) {
    CTempDir dir;
    std::string folder = dir.File(kFolder);
    CPlayListItem entry;
    entry.songs.AddTail(SongAt(folder, kSong, "月亮河, 英文版"));
    entry.songs.AddTail(SongAt(folder, kValidUtf8Too, "去"));
    entry.songs.AddTail(SongAt(folder, "plain.mid", "\xD2\xB9\xC7\xFA")); // GBK bytes of 夜曲
    entry.UpdateTotals();
    for (const auto& song : entry.songs) {
        dir.Write(kFolder + "/" + song->fileName, "song");
    }
    const char* titles[] = {"月亮河, 英文版", "去", "夜曲"};
    for (bool fullPaths : {true, false}) {
        std::string path = folder + (fullPaths ? "/full.m3u" : "/bare.m3u");
        ASSERT_TRUE(WriteM3UFile(path, entry, fullPaths));
        CPlayListItem read;
        ASSERT_TRUE(ReadM3UFile(path, &read)) << fullPaths;
        ASSERT_EQ(read.songs.GetCount(), 3) << fullPaths;
        for (int i = 1; i <= 3; ++i) {
            EXPECT_EQ(read.songs.GetAt(i)->title, titles[i - 1]) << fullPaths << " song " << i;
            EXPECT_EQ(read.songs.GetAt(i)->GetFullPath(), entry.songs.GetAt(i)->GetFullPath())
                << fullPaths << " song " << i;
        }
    }
}
