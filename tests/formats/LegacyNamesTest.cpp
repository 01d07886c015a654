// Folders and files whose names on disk are GBK bytes: written into the
// text files as UTF-8, found again under their GBK bytes on reading.
#include "formats/ListFile.h"
#include "formats/M3uFile.h"
#include "platform/TextEncoding.h"
#include "support/RecordingPlatform.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

const std::string kGbkFolder = "\xC0\xCF\xB8\xE8";           // 老歌
const std::string kGbkSong = "\xD4\xC2\xC1\xC1\xBA\xD3.mid"; // 月亮河.mid
const std::string kGbkList = "\xBE\xAB\xD1\xA1.m3u";         // 精选.m3u
const std::string kGbkTitleLike = "\xC8\xA5.mid"; // 去.mid, its GBK bytes valid UTF-8 too

CSongPtr SongAt(const std::string& folder, const std::string& name, const std::string& title) {
    auto song = std::make_shared<CSongItem>();
    song->title = title;
    song->fileName = name;
    song->fileType = "mid";
    song->location = folder;
    song->size = 4;
    song->time = 61;
    return song;
}

} // namespace

TEST(ListFileRead, EntryLocationsOnGbkNamedFoldersAreFoundAgain) {
    CTempDir dir;
    std::string folder = dir.File(kGbkFolder);
    dir.Write(kGbkFolder + "/" + kGbkSong, "song");
    dir.Write(kGbkFolder + "/" + kGbkList, "#EXTM3U\n");

    CMusicList list;
    auto folderEntry = std::make_shared<CPlayListItem>();
    folderEntry->title = "老歌";
    folderEntry->location = folderEntry->fileName = folder;
    folderEntry->songs.AddTail(SongAt(folder, kGbkSong, "月亮河"));
    folderEntry->UpdateTotals();
    auto listEntry = std::make_shared<CPlayListItem>();
    listEntry->location = folder;
    listEntry->fileName = kGbkList;
    list.AddTail(folderEntry);
    list.AddTail(listEntry);
    ASSERT_TRUE(WriteMusicListFile(dir.File("PlayList.stp"), list));
    ASSERT_TRUE(IsValidUtf8(dir.Read("PlayList.stp")));

    CMusicList read;
    ASSERT_TRUE(ReadMusicListFile(dir.File("PlayList.stp"), read));
    ASSERT_EQ(read.GetCount(), 2);
    EXPECT_EQ(read.GetAt(1)->location, folder);
    EXPECT_EQ(read.GetAt(1)->fileName, folder);
    EXPECT_EQ(read.GetAt(1)->GetType(), PLTYPE_FOLDER);
    EXPECT_EQ(read.GetAt(1)->songs.GetAt(1)->GetFullPath(), folder + "/" + kGbkSong);
    EXPECT_EQ(read.GetAt(2)->GetFullPath(), folder + "/" + kGbkList);
}

// Cache.m3u, a saved entry and a converted folder: titles come back as
// written, paths as the bytes on disk, with full paths and bare names.
TEST(M3uRoundTrip, GbkNamesOnDiskReadBackWithTheSameTitlesAndPaths) {
    CTempDir dir;
    std::string folder = dir.File(kGbkFolder);
    dir.Write(kGbkFolder + "/" + kGbkSong, "song");
    dir.Write(kGbkFolder + "/" + kGbkTitleLike, "song");
    dir.Write(kGbkFolder + "/plain.mid", "song");
    CPlayListItem entry;
    entry.songs.AddTail(SongAt(folder, kGbkSong, "月亮河, 英文版"));
    entry.songs.AddTail(SongAt(folder, kGbkTitleLike, "去"));
    entry.songs.AddTail(SongAt(folder, "plain.mid", "\xD2\xB9\xC7\xFA")); // a GBK title: 夜曲
    entry.UpdateTotals();

    CScopedRecordingPlatform recorder;
    for (bool fullPaths : {true, false}) {
        std::string path = folder + (fullPaths ? "/full.m3u" : "/bare.m3u");
        ASSERT_TRUE(WriteM3UFile(path, entry, fullPaths));
        CPlayListItem read;
        ASSERT_TRUE(ReadM3UFile(path, &read)) << fullPaths;
        ASSERT_EQ(read.songs.GetCount(), 3) << fullPaths;
        const char* titles[] = {"月亮河, 英文版", "去", "夜曲"};
        for (int i = 1; i <= 3; ++i) {
            EXPECT_EQ(read.songs.GetAt(i)->title, titles[i - 1]) << fullPaths << " song " << i;
            EXPECT_EQ(read.songs.GetAt(i)->GetFullPath(), entry.songs.GetAt(i)->GetFullPath())
                << fullPaths << " song " << i;
            EXPECT_EQ(read.songs.GetAt(i)->time, 61);
        }
    }
    EXPECT_TRUE(recorder.platform.messages.empty());
}
