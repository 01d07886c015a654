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

// The original program's file: GBK bytes, CR LF line ends, a missing song.
TEST(ListFileRead, WorkedExampleInGbkReadsAndWritesBackAsUtf8) {
    CTempDir folder;
    std::string location = folder.Path() + "/音乐/老歌";
    folder.Write("音乐/老歌/月亮河.mp3", "ID3");
    CSongPtr moon = TestSong("月亮河", 185, location);
    moon->size = 2960384;
    CSongPtr night = TestSong("夜曲", 240, "", kMissingFileMarker);
    night->fileType.clear();
    moon->artist = night->artist = "N/A";
    CEntryPtr entry = TestEntry("老歌精选", location, "老歌精选.m3u", {moon, night}, "N/A");
    entry->style = 2002;
    entry->playCount = 3;
    folder.Write("PlayList.stp",
                 EncodeGb18030(ReplaceAll(ListFileText({EntryRecordText(*entry)}), "\n", "\r\n")));
    CMusicList list;
    ASSERT_TRUE(ReadMusicListFile(folder.File("PlayList.stp"), list));
    EXPECT_EQ(Describe(list), Lines{"老歌精选|N/A|2002|2|425|3|老歌精选.m3u|" + location +
                                    "\n  月亮河|N/A|2001|185|1|月亮河.mp3|mp3|" + location +
                                    "|2960384\n  夜曲|N/A|2001|240|2|不存在|||0"});
    ASSERT_TRUE(WriteMusicListFile(folder.File("written.stp"), list));
    EXPECT_EQ(folder.Read("written.stp"), ListFileText(list));
    CSongList songs;
    CollectAllSongs(songs, list);
    ASSERT_TRUE(WriteSongStoreFile(folder.File("MusicList.ckp"), songs));
    EXPECT_EQ(folder.Read("MusicList.ckp"), SongStoreText(songs.Elements()));
}

TEST(ListFileWrite, AwkwardLibraryReadsBackAndAGoneFileIsMarkedMissing) {
    CTempDir folder;
    const std::string music = folder.Path() + "/music";
    std::string songPath = folder.Write("music/a.mp3", "x");
    CSongPtr kept = TestSong("留下", 100, music, "a.mp3");
    // A Linux file name may hold a line break, or bytes that are not UTF-8
    // (here GBK for "老"); either would garble every record after it.
    CSongPtr broken = TestSong("第一行\n第二行\r", 10, "", "\xC0\xCF.mp3");
    CMusicList library;
    library.AddTail(TestEntry("空", "/e", "空.m3u"));
    library.AddTail(TestEntry("专辑", "/music", "专辑.m3u", {kept, broken, TestSong("删掉", 50)}));
    library.GetAt(2)->playCount = 7;
    ASSERT_TRUE(WriteMusicListFile(folder.File("two.stp"), library));
    std::string text = folder.Read("two.stp");
    // The next entry follows the empty entry's "<song list>" line directly.
    EXPECT_NE(text.find("<song list>\n<play list>\n曲目标题 = 专辑;"), std::string::npos);
    EXPECT_NE(text.find("文件名 = 老.mp3;\n"), std::string::npos);
    const std::string gone = "||2001|50|3|不存在|||0";
    EXPECT_EQ(ReadList(folder.File("two.stp")),
              (Lines{"空||2001|0|0|0|空.m3u|/e",
                     "专辑||2001|3|160|7|专辑.m3u|/music\n  留下||2001|100|1|a.mp3|mp3|" + music +
                         "|0\n  第一行 第二行 ||2001|10|2|不存在|||0\n  删掉" + gone}));

    ASSERT_EQ(unlink(songPath.c_str()), 0);
    CSongList songs;
    CollectAllSongs(songs, library);
    ASSERT_TRUE(WriteSongStoreFile(folder.File("songs.ckp"), songs));
    ASSERT_TRUE(ReadSongStoreFile(folder.File("songs.ckp"), songs));
    EXPECT_EQ(Describe(songs).front(), "留下||2001|100|1|不存在|||0");
    // A whole file reads as whole, not as damaged.
    EXPECT_EQ(ReadSongStoreFileChecked(folder.File("songs.ckp"), songs).status,
              CStoreStatus::Whole);
    EXPECT_EQ(ReadMusicListFileChecked(folder.File("two.stp"), library).status,
              CStoreStatus::Whole);
    ASSERT_TRUE(WriteMusicListFile(folder.File("two.stp"), CMusicList()));
    EXPECT_EQ(ReadList(folder.File("two.stp")), Lines{});
}

TEST(ListFileRead, ValuesRunToTheLastSemicolonAndNumbersReadLikeAtoi) {
    // Without " = " there is no key, and the value starts at the third byte.
    const struct {
        const char *line, *split;
    } lines[] = {
        {"曲目标题 = A;B;", "曲目标题|A;B"},
        {"曲目标题 = X = Y;", "曲目标题|X = Y"},
        {"风格 =  2003;", "风格| 2003"},
        {"key = no semicolon", "key|"},
        {"a;b = c", "a;b|"},
        {"abcdef;", "|cdef"},
        {";", "|"},
    };
    for (const auto& c : lines) {
        std::string key, value;
        SplitRecordLine(c.line, key, value);
        EXPECT_EQ(key + "|" + value, c.split) << c.line;
    }
    const struct {
        const char* text;
        std::int64_t value;
    } numbers[] = {
        {"abc", 0},
        {" \t-3x", -3},
        {"+7", 7},
        {"12 34", 12},
        {"- 5", 0},
        {"-09", -9},
        {"5000000000", 5000000000LL},
        {"-9223372036854775808", INT64_MIN},
        {"99999999999999999999999", INT64_MAX},
        {"-99999999999999999999999", INT64_MIN},
    };
    for (const auto& n : numbers) {
        EXPECT_EQ(ParseRecordNumber(n.text), n.value) << n.text;
    }
}

TEST(ListFileRead, CountsPastTheEndDamagedRecordsAndOddValuesKeepWhatCanBeRead) {
    // An empty line inside the second song ends the entry there: its count
    // and time match the one song before it. The old key name is accepted,
    // and the lines of a record may come in any order.
    std::string secondSong = ReplaceAll(SongText("b", 20, 2), "次序 = 2;\n", "\n");
    std::string swapped = ReplaceAll(SongText("a", 10, 9), "音乐标题 = a;\n艺术家 = ;\n",
                                     "艺术家 = ;\n音乐标题 = a;\n");
    std::string entry = ReplaceAll(EntryText("旧", 3), "曲数", "曲目数");
    std::string damaged = ListFileText({entry + swapped + "\n" + secondSong + "\n"});
    const std::string a = "旧||2001|1|10|0|x.m3u|/m\n  a||2001|10|1|不存在|||0";
    const struct {
        const char* name;
        std::string text;
        Lines read;
    } cases[] = {
        // Two billion entries promised, one present, then empty lines.
        {"count past the end",
         ListFileText({EntryText("一", 2000000000) + SongText("歌", 10, 1) + "\n\n\n\n"},
                      2000000000),
         {"一||2001|1|10|0|x.m3u|/m\n  歌||2001|10|1|不存在|||0"}},
        {"no records", std::string(kListFileHeader) + "number = 5;", {}},
        {"damaged", damaged, {a}},
        {"damaged CR LF", ReplaceAll(damaged, "\n", "\r\n"), {a}},
        {"damaged with BOM", "\xEF\xBB\xBF" + damaged, {a}},
        // Text values keep a leading space; numbers skip it.
        {"spaces",
         ListFileText({ReplaceAll(ReplaceAll(EntryText("t", 0), "曲目标题 = t", "曲目标题 =  t"),
                                  "风格 = 2001", "风格 =  2003")}),
         {" t||2003|0|0|0|x.m3u|/m"}},
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
    folder.Write("songs.ckp", "number = 2000000000;\n\n" + SongText("歌", 10, 5) + "\n");
    CSongList songs;
    ASSERT_TRUE(ReadSongStoreFile(folder.File("songs.ckp"), songs));
    EXPECT_EQ(Describe(songs), Lines{"歌||2001|10|5|不存在|||0"});
}

TEST(ListFileRead, MissingOrUnreadableFileEmptiesTheList) {
    CTempDir folder;
    CScopedRecordingPlatform recording;
    std::filesystem::create_directory(folder.File("folder.stp"));
    for (const char* name : {"none.stp", "folder.stp"}) {
        CMusicList list;
        list.AddTail(TestEntry("old", "/", "x.m3u"));
        EXPECT_FALSE(ReadMusicListFile(folder.File(name), list)) << name;
        CSongList songs;
        songs.AddTail(TestSong("old"));
        EXPECT_FALSE(ReadSongStoreFile(folder.File(name), songs)) << name;
        EXPECT_EQ(list.GetCount() + songs.GetCount(), 0) << name;
    }
    // A missing store file is an ordinary first start: nothing to report.
    const std::string folderText = "“" + folder.File("folder.stp") + "”不是普通文件，无法读取。";
    EXPECT_EQ(recording.platform.MessageTexts(), (Lines{folderText, folderText}));
}

TEST(ListFileWrite, FailedWriteIsReportedAndLeavesTheOldFileWhole) {
    CTempDir folder;
    CScopedRecordingPlatform recording;
    CMusicList library;
    library.AddTail(TestEntry("新", "/m", "新.m3u", {TestSong("歌", 30)}));
    std::string missing = folder.File("no such folder/PlayList.stp");
    EXPECT_FALSE(WriteMusicListFile(missing, library));
    Lines expected = {missing + ": " + std::strerror(ENOENT)};
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
    expected.push_back(fullPath + ": " + std::strerror(EFBIG));

    EXPECT_EQ(recording.platform.MessageTexts(), expected);
    EXPECT_EQ(recording.platform.messages.back().icon, CMessageIcon::Error);
    EXPECT_EQ(folder.Read(fullPath), "old library");
    // No temporary file is left beside the target.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.File("full")),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(ListFileRead, GarbageNeverHangsOrInventsRecords) {
    CTempDir folder;
    std::string noise;
    unsigned state = 12345;
    for (int i = 0; i < 20000; ++i) {
        state = state * 1103515245 + 12345;
        noise += static_cast<char>(state >> 16);
    }
    std::string markers;
    for (int i = 0; i < 1000; ++i) {
        markers += "<play list>\r\n曲数 = 2147483647;\r\n";
    }
    const std::string header = std::string(kListFileHeader) + "number = 2147483647;\n\n";
    for (const std::string& bytes :
         {noise, header + noise, header + markers, "number = 2147483647;\n\n" + noise,
          std::string(kListFileHeader) + "number = 99;\n\n" + std::string(5000, '\r')}) {
        folder.Write("garbage", bytes);
        std::size_t lineCount =
            1 + static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n') +
                                         std::count(bytes.begin(), bytes.end(), '\r'));
        CMusicList list;
        ASSERT_TRUE(ReadMusicListFile(folder.File("garbage"), list));
        std::size_t songCount = 0;
        for (const auto& entry : list) {
            EXPECT_EQ(entry->count, entry->songs.GetCount());
            songCount += static_cast<std::size_t>(entry->songs.GetCount());
        }
        // Every entry takes eleven lines at least, every song ten.
        EXPECT_LE(list.GetCount() * 11 + songCount * 10, lineCount + 11);
        CSongList songs;
        ASSERT_TRUE(ReadSongStoreFile(folder.File("garbage"), songs));
        EXPECT_LE(static_cast<std::size_t>(songs.GetCount()), lineCount / 2 + 1);
    }
}

TEST(CLineCursor, ReadsEmptyLinesPastTheEndAndKnowsWhenOnlyThoseRemain) {
    auto readAll = [](CLineCursor cursor) {
        Lines read;
        while (!cursor.AtEnd()) {
            read.emplace_back(cursor.Next());
        }
        read.emplace_back(cursor.Next()); // an empty line after the last
        return read;
    };
    EXPECT_EQ(readAll(CLineCursor(std::string("a\r\n\nb\r\r\nc\n\r\n\n"))),
              (Lines{"a", "", "b", "", "c", ""}));
    const Lines expected = {"a", "", "b", "c", ""};
    EXPECT_EQ(readAll(CLineCursor(expected)), expected);
    EXPECT_EQ(readAll(CLineCursor(std::string("a\n\nb\r\nc"))), expected);
    EXPECT_TRUE(CLineCursor(std::string("\r\n\n\r\n")).AtEnd());
}
