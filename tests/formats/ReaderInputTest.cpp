// What users' files hold besides the program's own output: hand-edited GBK
// lines, CR line ends, special files and paths with "." and "..".
#include "formats/ListFile.h"
#include "formats/M3uFile.h"
#include "formats/PathFunctions.h"
#include "platform/FileSystem.h"
#include "support/RecordingPlatform.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

std::string ExampleList() {
    CMusicList list;
    for (const char* title : {"老歌精选", "夜曲", "Rock"}) {
        auto entry = std::make_shared<CPlayListItem>();
        entry->title = title;
        entry->artist = "某人";
        entry->style = 2003;
        entry->playCount = 7;
        entry->fileName = std::string(title) + ".pls";
        entry->location = "/音乐";
        list.AddTail(entry);
    }
    CTempDir dir;
    WriteMusicListFile(dir.File("list.stp"), list);
    return dir.Read("list.stp");
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
        text.replace(at, from.size(), to);
        at += to.size();
    }
    return text;
}

std::vector<std::string> Describe(const CMusicList& list) {
    std::vector<std::string> rows;
    for (const auto& entry : list) {
        rows.push_back(entry->title + "|" + entry->artist + "|" + std::to_string(entry->style) +
                       "|" + std::to_string(entry->playCount) + "|" + entry->GetFullPath());
    }
    return rows;
}

} // namespace

TEST(ListFileRead, HandEditedGbkLinesAndCrLineEndsReadLikeTheOriginal) {
    std::string original = ExampleList();
    const struct {
        const char* what;
        std::string bytes;
        const char* firstTitle;
    } cases[] = {
        {"as written", original, "老歌精选"},
        {"one GBK line",
         Replaced(original, "曲目标题 = 老歌精选;",
                  "\xC7\xFA\xC4\xBF\xB1\xEA\xCC\xE2 = \xD4\xC2\xC1\xC1;"),
         "月亮"},
        {"CR line ends", Replaced(original, "\n", "\r"), "老歌精选"},
        {"CR LF line ends", Replaced(original, "\n", "\r\n"), "老歌精选"},
    };
    CTempDir dir;
    CMusicList expected;
    ASSERT_TRUE(ReadMusicListFile(dir.Write("original.stp", original), expected));
    ASSERT_EQ(expected.GetCount(), 3);
    for (const auto& c : cases) {
        CMusicList list;
        CStoreRead read = ReadMusicListFileChecked(dir.Write("list.stp", c.bytes), list);
        EXPECT_EQ(read.status, CStoreStatus::Whole) << c.what;
        expected.GetAt(1)->title = c.firstTitle;
        EXPECT_EQ(Describe(list), Describe(expected)) << c.what;
    }
}

TEST(M3uRead, SpecialFilesAreRefusedWithAMessageInsteadOfHanging) {
    CTempDir dir;
    ASSERT_EQ(mkfifo(dir.File("pipe.m3u").c_str(), 0600), 0);
    std::filesystem::resize_file(dir.Write("large.m3u", "#EXTM3U\n"), kPlaylistFileLimit + 1);
    const struct {
        std::string path;
        std::string message;
    } cases[] = {
        {dir.File("pipe.m3u"), "“" + dir.File("pipe.m3u") + "”不是普通文件，无法读取。"},
        {"/dev/zero", "“/dev/zero”不是普通文件，无法读取。"},
        {dir.File("large.m3u"), "“" + dir.File("large.m3u") + "”大于64 MB，文件太大，无法读取。"},
    };
    for (const auto& c : cases) {
        CScopedRecordingPlatform recorder;
        CPlayListItem entry;
        EXPECT_EQ(ReadM3UFileChecked(c.path, &entry), CM3uReadResult::Unreadable) << c.path;
        EXPECT_EQ(recorder.platform.MessageTexts(), std::vector<std::string>{c.message});
    }
}

TEST(M3uRead, CrLineEndsSeparateTheLines) {
    CTempDir dir;
    dir.Write("a.mid", "x");
    CPlayListItem entry;
    ASSERT_TRUE(ReadM3UFile(dir.Write("cr.m3u", "#EXTM3U\r#EXTINF:5,甲\ra.mid\r"), &entry));
    ASSERT_EQ(entry.songs.GetCount(), 1);
    EXPECT_EQ(entry.songs.GetAt(1)->title, "甲");
    EXPECT_EQ(entry.songs.GetAt(1)->fileName, "a.mid");
}

TEST(NormalisePath, RemovesDotsDoubleDotsAndDoubleSlashesInTheText) {
    const struct {
        const char* path;
        const char* normal;
    } cases[] = {
        {"/home/u/lib/../music/A", "/home/u/music/A"},
        {"/home//u/./music/", "/home/u/music"},
        {"/..", "/"},
        {"/a/b/../../..", "/"},
        {"a/../../b", "../b"},
        {"./a/./b", "a/b"},
        {"a/..", "."},
        {"../../x", "../../x"},
        {"/", "/"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NormalisePath(c.path), c.normal) << c.path;
    }
}

TEST(ResolveM3uPathLine, StoresNormalisedPaths) {
    const struct {
        const char* line;
        const char* path;
    } cases[] = {
        {"../other/./a.mp3", "/lists/other/a.mp3"},
        {"sub//b.mp3", "/lists/here/sub/b.mp3"},
        {"\\music\\..\\c.mp3", "/c.mp3"},
        {"/x/../y.mp3", "/y.mp3"},
        {"http://host/a/../b.mp3", "http://host/a/../b.mp3"},
        {"D:\\a\\..\\b.mp3", "D:/a/../b.mp3"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ResolveM3uPathLine("/lists/here", c.line), c.path) << c.line;
    }
}
