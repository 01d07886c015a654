#include "formats/ListFile.h"

#include "platform/TextEncoding.h"
#include "support/Library.h"
#include "support/RecordingPlatform.h"
#include "support/StoreFiles.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <filesystem>

namespace {

using Lines = std::vector<std::string>;

// The example library of one m3u entry with two songs, the second of them
// missing, as the original program wrote it: GBK bytes, CR LF line ends.
std::string ExampleInGbk(const std::string& location) {
    CSongPtr moon = TestSong("月亮河", 185, location);
    moon->size = 2960384;
    CSongPtr night = TestSong("夜曲", 240, "", kMissingFileMarker);
    night->fileType.clear();
    for (const CSongPtr& song : {moon, night}) {
        song->artist = "N/A";
    }
    CEntryPtr entry = TestEntry("老歌精选", location, "老歌精选.m3u", {moon, night}, "N/A");
    entry->style = 2002;
    entry->playCount = 3;
    return EncodeGb18030(ReplaceAll(ListFileText({EntryRecordText(*entry)}), "\n", "\r\n"));
}

CSongPtr Song(const std::string& title, int time, const std::string& location = "",
              const std::string& fileName = kMissingFileMarker) {
    CSongPtr song = TestSong(title, time, location, fileName);
    song->artist = "歌手";
    song->style = 2003;
    song->size = location.empty() ? 0 : 1234;
    if (location.empty()) {
        song->fileType.clear();
    }
    return song;
}

CEntryPtr Entry(const std::string& title, const std::vector<CSongPtr>& songs) {
    CEntryPtr entry = TestEntry(title, "/music", title + ".m3u", songs, "合唱团");
    entry->style = 2005;
    entry->playCount = 7;
    return entry;
}

CMusicList ListOf(const std::vector<CEntryPtr>& entries) {
    CMusicList list;
    for (const auto& entry : entries) {
        list.AddTail(entry);
    }
    return list;
}

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

TEST(ListFileRead, WorkedExampleInGbkReadsAndWritesBackAsUtf8) {
    CTempDir folder;
    std::string location = folder.Path() + "/音乐/老歌";
    folder.Write("音乐/老歌/月亮河.mp3", "ID3");
    folder.Write("PlayList.stp", ExampleInGbk(location));
    CMusicList list;
    ASSERT_TRUE(ReadMusicListFile(folder.File("PlayList.stp"), list));
    EXPECT_EQ(Describe(list), Lines{"老歌精选|N/A|2002|2|425|3|老歌精选.m3u|" + location +
                                    "\n  月亮河|N/A|2001|185|1|月亮河.mp3|mp3|" + location +
                                    "|2960384\n  夜曲|N/A|2001|240|2|不存在|||0"});
    ASSERT_TRUE(WriteMusicListFile(folder.File("written.stp"), list));
    EXPECT_EQ(folder.Read("written.stp"), ListFileText(list));

    // The same two songs in the song store file, and back.
    CSongList songs;
    CollectAllSongs(songs, list);
    ASSERT_TRUE(WriteSongStoreFile(folder.File("MusicList.ckp"), songs));
    EXPECT_EQ(folder.Read("MusicList.ckp"), SongStoreText(songs.Elements()));
    CSongList readSongs;
    ASSERT_TRUE(ReadSongStoreFile(folder.File("MusicList.ckp"), readSongs));
    EXPECT_EQ(Describe(readSongs), Describe(songs));
}

TEST(ListFileRead, SongWhoseFileIsGoneComesBackMarkedMissing) {
    CTempDir folder;
    // A file that exists keeps everything; deleting it marks it on the next read.
    std::string songPath = folder.Write("music/a.mp3", "x");
    CSongPtr kept = Song("留下", 100, folder.Path() + "/music", "a.mp3");
    CMusicList library =
        ListOf({Entry("专辑", {kept, Song("删掉", 50, folder.Path() + "/music")})});
    ASSERT_TRUE(WriteMusicListFile(folder.File("two.stp"), library));
    Lines read = ReadList(folder.File("two.stp"));
    EXPECT_EQ(read, Lines{"专辑|合唱团|2005|2|150|7|专辑.m3u|/music\n  " + Describe(*kept) +
                          "\n  删掉|歌手|2003|50|2|不存在|||0"});
    ASSERT_EQ(unlink(songPath.c_str()), 0);
    CSongList songs;
    CollectAllSongs(songs, library);
    ASSERT_TRUE(WriteSongStoreFile(folder.File("songs.ckp"), songs));
    ASSERT_TRUE(ReadSongStoreFile(folder.File("songs.ckp"), songs));
    EXPECT_EQ(Describe(songs),
              (Lines{"留下|歌手|2003|100|1|不存在|||0", "删掉|歌手|2003|50|2|不存在|||0"}));
}

TEST(ListFileRead, ValueRunsToTheLastSemicolon) {
    // Without " = " there is no key, and the value starts at the third byte.
    const struct {
        const char* line;
        const char* split;
    } cases[] = {
        {"曲目标题 = A;B;", "曲目标题|A;B"},
        {"曲目标题 = X = Y;", "曲目标题|X = Y"},
        {"风格 =  2003;", "风格| 2003"},
        {"key = no semicolon", "key|"},
        {"a;b = c", "a;b|"},
        {"abcdef;", "|cdef"},
        {"", "|"},
        {";", "|"},
    };
    for (const auto& c : cases) {
        std::string key, value;
        SplitRecordLine(c.line, key, value);
        EXPECT_EQ(key + "|" + value, c.split) << c.line;
    }
}

TEST(ListFileRead, NumbersReadLikeAtoiIn32AndSizesIn64Bits) {
    const struct {
        const char* text;
        std::int64_t value;
    } numbers[] = {
        {"", 0},
        {"abc", 0},
        {" \t-3x", -3},
        {"+7", 7},
        {"12 34", 12},
        {"- 5", 0},
        {"0", 0},
        {"9", 9},
        {"-09", -9},
        {"5000000000", 5000000000LL},
        {"-9223372036854775808", INT64_MIN},
        {"99999999999999999999999", INT64_MAX},
        {"-99999999999999999999999", INT64_MIN},
    };
    for (const auto& n : numbers) {
        EXPECT_EQ(ParseRecordNumber(n.text), n.value) << n.text;
    }

    CTempDir folder;
    // An oversized number gives its low 32 bits; totals of huge times do not overflow.
    folder.Write(
        "bad.stp",
        ListFileText({EntryText("坏", 3) + SongText("a", INT_MAX, 1) + "\n" +
                      SongText("b", INT_MAX, 2) + "\n" +
                      ReplaceAll(SongText("c", 0, 3), "时间 = 0", "时间 = 4294967297") + "\n"}));
    CMusicList list;
    ASSERT_TRUE(ReadMusicListFile(folder.File("bad.stp"), list));
    ASSERT_EQ(list.GetCount(), 1);
    EXPECT_EQ(list.GetAt(1)->songs.GetAt(3)->time, 1);
    EXPECT_EQ(list.GetAt(1)->time, INT_MAX);
}

TEST(ListFileRead, CountsLargerThanTheFileStopAtItsEnd) {
    CTempDir folder;
    // Two billion entries promised, one present, then empty lines.
    folder.Write("list.stp",
                 ListFileText({EntryText("一", 2000000000) + SongText("歌", 10, 1) + "\n\n\n\n"},
                              2000000000));
    EXPECT_EQ(ReadList(folder.File("list.stp")),
              Lines{"一||2001|1|10|0|x.m3u|/m\n  歌||2001|10|1|不存在|||0"});
    folder.Write("songs.ckp", "number = 2000000000;\n\n" + SongText("歌", 10, 5) + "\n");
    CSongList songs;
    ASSERT_TRUE(ReadSongStoreFile(folder.File("songs.ckp"), songs));
    EXPECT_EQ(Describe(songs), Lines{"歌||2001|10|5|不存在|||0"});
    folder.Write("short.stp", std::string(kListFileHeader) + "number = 5;");
    EXPECT_EQ(ReadList(folder.File("short.stp")), Lines{});
}

TEST(ListFileRead, EmptyLibraryAndEntryWithoutSongs) {
    CTempDir folder;
    CMusicList library = ListOf({Entry("空", {}), Entry("满", {Song("歌", 30)})});
    ASSERT_TRUE(WriteMusicListFile(folder.File("two.stp"), library));
    // The next entry follows the empty entry's "<song list>" line directly.
    EXPECT_NE(folder.Read("two.stp").find("<song list>\n<play list>\n曲目标题 = 满;"),
              std::string::npos);
    EXPECT_EQ(ReadList(folder.File("two.stp")), Describe(library));
    ASSERT_TRUE(WriteMusicListFile(folder.File("two.stp"), CMusicList()));
    EXPECT_EQ(ReadList(folder.File("two.stp")), Lines{});
}

TEST(ListFileRead, MissingOrUnreadableFileEmptiesTheList) {
    CTempDir folder;
    CScopedRecordingPlatform recording;
    std::filesystem::create_directory(folder.File("folder.stp"));
    for (const char* name : {"none.stp", "folder.stp"}) {
        CMusicList list = ListOf({Entry("old", {})});
        EXPECT_FALSE(ReadMusicListFile(folder.File(name), list)) << name;
        EXPECT_EQ(list.GetCount(), 0) << name;
        CSongList songs;
        songs.AddTail(Song("old", 1));
        EXPECT_FALSE(ReadSongStoreFile(folder.File(name), songs)) << name;
        EXPECT_EQ(songs.GetCount(), 0) << name;
    }
    // A missing store file is an ordinary first start: nothing to report.
    const std::string folderText = "“" + folder.File("folder.stp") + "”不是普通文件，无法读取。";
    EXPECT_EQ(recording.platform.MessageTexts(), (Lines{folderText, folderText}));
}

TEST(ListFileRead, DamagedRecordsKeepWhatCanBeRead) {
    CTempDir folder;
    // An empty line inside the second song ends the entry there: its count
    // and time match the one song before it. The old key name is accepted,
    // and the lines of a record may come in any order.
    std::string secondSong = ReplaceAll(SongText("b", 20, 2), "次序 = 2;\n", "\n");
    std::string firstSong = SongText("a", 10, 9);
    std::string swapped =
        ReplaceAll(firstSong, "音乐标题 = a;\n艺术家 = ;\n", "艺术家 = ;\n音乐标题 = a;\n");
    std::string entry = ReplaceAll(EntryText("旧", 3), "曲数", "曲目数");
    std::string text = ListFileText({entry + swapped + "\n" + secondSong + "\n"});
    const Lines expected = {"旧||2001|1|10|0|x.m3u|/m\n  a||2001|10|1|不存在|||0"};
    for (const std::string& bytes : {text, ReplaceAll(text, "\n", "\r\n"), "\xEF\xBB\xBF" + text}) {
        folder.Write("damaged.stp", bytes);
        EXPECT_EQ(ReadList(folder.File("damaged.stp")), expected) << bytes.size();
    }

    // Text values keep a leading space; numbers skip it.
    folder.Write(
        "spaces.stp",
        ListFileText({ReplaceAll(ReplaceAll(EntryText("t", 0), "曲目标题 = t", "曲目标题 =  t"),
                                 "风格 = 2001", "风格 =  2003")}));
    EXPECT_EQ(ReadList(folder.File("spaces.stp")), Lines{" t||2003|0|0|0|x.m3u|/m"});
}

TEST(ListFileWrite, FailedWriteIsReportedAndLeavesTheOldFileWhole) {
    CTempDir folder;
    CScopedRecordingPlatform recording;
    CMusicList library = ListOf({Entry("新", {Song("歌", 30)})});
    std::string missing = folder.File("no such folder/PlayList.stp");
    EXPECT_FALSE(WriteMusicListFile(missing, library));
    Lines expected = {missing + ": " + std::strerror(ENOENT)};
    std::string readOnlyPath = folder.Write("locked/PlayList.stp", "old library");
    if (geteuid() != 0) { // permissions do not stop root
        chmod(folder.File("locked").c_str(), 0555);
        EXPECT_FALSE(WriteMusicListFile(readOnlyPath, library));
        chmod(folder.File("locked").c_str(), 0755);
        expected.push_back(readOnlyPath + ": " + std::strerror(EACCES));
    }

    // A full disk, as the file size limit makes it: the write fails midway.
    std::string fullPath = folder.Write("full/PlayList.stp", "old library");
    CSongList songs;
    for (int i = 0; i < 100; ++i) {
        songs.AddTail(Song("歌" + std::to_string(i), i));
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
    for (const auto& message : recording.platform.messages) {
        EXPECT_EQ(message.icon, CMessageIcon::Error);
    }
    EXPECT_EQ(folder.Read(readOnlyPath) + folder.Read(fullPath), "old libraryold library");
    // No temporary file is left beside the target.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.File("full")),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(ListFileWrite, NoValueCanBreakTheFilesLinesOrEncoding) {
    CTempDir folder;
    // A Linux file name may hold a line break, or bytes that are not UTF-8
    // (here GBK for "老"); either would garble every record after it.
    CSongPtr song = Song("第一行\n第二行\r", 10);
    song->fileName = "\xC0\xCF.mp3";
    CSongPtr other = Song("后面的歌", 20);
    ASSERT_TRUE(
        WriteMusicListFile(folder.File("list.stp"), ListOf({Entry("专辑", {song, other})})));
    EXPECT_EQ(
        ReadList(folder.File("list.stp")),
        Lines{
            "专辑|合唱团|2005|2|30|7|专辑.m3u|/music\n  第一行 第二行 |歌手|2003|10|1|不存在|||0" +
            ("\n  " + Describe(*other))});
    EXPECT_NE(folder.Read("list.stp").find("文件名 = 老.mp3;\n"), std::string::npos);
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
        std::size_t lineCount = 1 + static_cast<std::size_t>(
                                        std::count(bytes.begin(), bytes.end(), '\n') +
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
        read.emplace_back(cursor.Next());
        return read;
    };
    EXPECT_EQ(readAll(CLineCursor(std::string("a\r\n\nb\r\r\nc\n\r\n\n"))),
              (Lines{"a", "", "b", "", "c", "", ""}));
    const Lines expected = {"a", "", "b", "c", "", ""};
    EXPECT_EQ(readAll(CLineCursor(expected)), expected);
    EXPECT_EQ(readAll(CLineCursor(std::string("a\n\nb\r\nc"))), expected);
    EXPECT_TRUE(CLineCursor(std::string("\r\n\n\r\n")).AtEnd());
}
