#include "formats/ListFile.h"

#include "platform/TextEncoding.h"
#include "support/Library.h"
#include "support/RecordingPlatform.h"
#include "support/StoreFiles.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <filesystem>

namespace {

using Lines = std::vector<std::string>;

// A song record of a missing file, and an entry record of x.m3u in /m.
std::string SongText(const std::string& title, int time, int order) {
    CSongPtr song = TestSong(title, time, "", kMissingFileMarker);
    song->order = order;
    return SongRecordText(*song);
}

std::string EntryText(const std::string& title, int count) {
    CEntryPtr entry = TestEntry(title, "/m", "x.m3u");
    entry->count = count;
    return EntryRecordText(*entry);
}

Lines ReadList(const std::string& path) {
    CMusicList list;
    EXPECT_TRUE(ReadMusicListFile(path, list)) << path;
    return Describe(list);
}

} // namespace

// A Linux file name may hold a line break, or bytes that are not UTF-8 (here
// GBK for "老"); either would garble every record after it. The original
// program's files are GBK with CR LF line ends.
TEST(ListFile, LibraryReadsBackFromUtf8AndGbkAndAGoneFileIsMarkedMissing) {
    CTempDir folder;
    const std::string music = folder.Path() + "/music";
    std::string songPath = folder.Write("music/a.mp3", "x");
    CSongPtr kept = TestSong("留下", 100, music, "a.mp3");
    kept->size = 2960384;
    kept->artist = "N/A";
    CSongPtr broken = TestSong("第一行\n第二行\r", 10, "", "\xC0\xCF.mp3");
    CMusicList library;
    library.AddTail(TestEntry("空", "/e", "空.m3u"));
    library.AddTail(
        TestEntry("专辑", "/music", "专辑.m3u", {kept, broken, TestSong("删掉", 50)}, "N/A"));
    library.GetAt(2)->playCount = 7;
    library.GetAt(2)->style = 2002;
    ASSERT_TRUE(WriteMusicListFile(folder.File("two.stp"), library));
    std::string text = folder.Read("two.stp");
    // The next entry follows the empty entry's "<song list>" line directly.
    EXPECT_NE(text.find("<song list>\n<play list>\n曲目标题 = 专辑;"), std::string::npos);
    EXPECT_NE(text.find("文件名 = 老.mp3;\n"), std::string::npos);
    const Lines expected = {
        "空||2001|0|0|0|空.m3u|/e",
        "专辑|N/A|2002|3|160|7|专辑.m3u|/music\n  留下|N/A|2001|100|1|a.mp3|mp3|" + music +
            "|2960384\n  第一行 第二行 ||2001|10|2|不存在|||0\n  删掉||2001|50|"
            "3|不存在|||0"};
    EXPECT_EQ(ReadList(folder.File("two.stp")), expected);
    folder.Write("gbk.stp", EncodeGb18030(ReplaceAll(text, "\n", "\r\n")));
    CMusicList list;
    ASSERT_TRUE(ReadMusicListFile(folder.File("gbk.stp"), list));
    EXPECT_EQ(Describe(list), expected);
    ASSERT_TRUE(WriteMusicListFile(folder.File("written.stp"), list));
    EXPECT_EQ(folder.Read("written.stp"), ListFileText(list));

    ASSERT_EQ(unlink(songPath.c_str()), 0);
    CSongList songs;
    CollectAllSongs(songs, list);
    ASSERT_TRUE(WriteSongStoreFile(folder.File("songs.ckp"), songs));
    EXPECT_EQ(folder.Read("songs.ckp"), SongStoreText(songs.Elements()));
    // A whole file reads as whole, not as damaged.
    EXPECT_EQ(ReadSongStoreFileChecked(folder.File("songs.ckp"), songs).status,
              CStoreStatus::Whole);
    EXPECT_EQ(Describe(songs).front(), "留下|N/A|2001|100|1|不存在|||0");
}

TEST(ListFileRead, ValuesRunToTheLastSemicolonAndNumbersReadLikeAtoi) {
    // Without " = " there is no key, and the value starts at the third byte.
    std::string split;
    for (const char* line :
         {"曲目标题 = A;B;", "曲目标题 = X = Y;", "key = no semicolon", "a;b = c", "abcdef;"}) {
        std::string key, value;
        SplitRecordLine(line, key, value);
        split += key + "|" + value + " ";
    }
    EXPECT_EQ(split, "曲目标题|A;B 曲目标题|X = Y key| a;b| |cdef ");
    std::string numbers;
    for (const char* text : {"abc", " \t-3x", "+7", "12 34", "- 5", "5000000000",
                             "99999999999999999999999", "-99999999999999999999999"}) {
        numbers += std::to_string(ParseRecordNumber(text)) + " ";
    }
    EXPECT_EQ(numbers, "0 -3 7 12 0 5000000000 9223372036854775807 -9223372036854775808 ");
}

TEST(ListFileRead, CountsPastTheEndDamagedRecordsAndOddValuesKeepWhatCanBeRead) {
    // An empty line inside the second song ends the entry there: its count
    // and time match the one song before it. The old key name is accepted,
    // and the lines of a record may come in any order.
    std::string secondSong = ReplaceAll(SongText("b", 20, 2), "次序 = 2;\n", "\n");
    std::string swapped = ReplaceAll(SongText("a", 10, 9), "音乐标题 = a;\n艺术家 = ;\n",
                                     "艺术家 = ;\n音乐标题 = a;\n");
    std::string entry = ReplaceAll(EntryText("旧", 3), "曲数", "曲目数");
    const struct {
        const char* name;
        std::string text;
        Lines read;
    } cases[] = {
        {"damaged",
         ListFileText({entry + swapped + "\n" + secondSong + "\n"}),
         {"旧||2001|1|10|0|x.m3u|/m\n  a||2001|10|1|不存在|||0"}},
        // An oversized number gives its low 32 bits; totals of huge times do not overflow.
        {"huge numbers",
         ListFileText({EntryText("坏", 2) + SongText("a", INT_MAX, 1) + "\n" +
                       ReplaceAll(SongText("c", 0, 2), "时间 = 0", "时间 = 4294967297") + "\n"}),
         {"坏||2001|2|2147483647|0|x.m3u|/m\n  a||2001|2147483647|1|不存在|||0\n  c||2001|1|2|"
          "不存在|||0"}},
    };
    CTempDir folder;
    for (const auto& c : cases) {
        folder.Write("list.stp", c.text);
        EXPECT_EQ(ReadList(folder.File("list.stp")), c.read) << c.name;
    }
}

TEST(ListFileWrite, AFailedWriteIsReportedAndLeavesTheOldFileWhole) {
    CTempDir folder;
    CScopedRecordingPlatform recording;
    // A full disk, as the file size limit makes it: the write fails midway.
    std::string fullPath = folder.Write("full/PlayList.stp", "old library");
    CSongList songs;
    for (int i = 0; i < 100; ++i) {
        songs.AddTail(TestSong("歌" + std::to_string(i), i));
    }
    struct rlimit saved {};
    getrlimit(RLIMIT_FSIZE, &saved);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 1000;
    setrlimit(RLIMIT_FSIZE, &small);
    bool fullWritten = WriteSongStoreFile(fullPath, songs);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(fullWritten);
    EXPECT_EQ(recording.platform.MessageTexts(), Lines{fullPath + ": " + std::strerror(EFBIG)});
    EXPECT_EQ(recording.platform.messages.back().icon, CMessageIcon::Error);
    EXPECT_EQ(folder.Read(fullPath), "old library");
    // No temporary file is left beside the target.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.File("full")),
                            std::filesystem::directory_iterator()),
              1);
}
