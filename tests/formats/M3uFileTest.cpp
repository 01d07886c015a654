#include "formats/M3uFile.h"

#include "support/Library.h"
#include "support/RecordingPlatform.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

// The entry's line, then "order time [title] name type folder size artist"
// for each song.
Lines M3uSummary(const CPlayListItem& entry) {
    Lines lines = {entry.title + " | " + entry.fileName + " | " + entry.location + " | " +
                   std::to_string(entry.count) + " | " + std::to_string(entry.time)};
    for (const auto& song : entry.songs) {
        lines.push_back(std::to_string(song->order) + " " + std::to_string(song->time) + " [" +
                        song->title + "] " + song->fileName + " " + song->fileType + " " +
                        song->location + " " + std::to_string(song->size) + " " + song->artist);
    }
    return lines;
}

} // namespace

TEST(M3uRead, PlaylistsWrittenByOtherPlayers) {
    CScopedRecordingPlatform recording;
    CTempDir dir;
    const std::string d = dir.Path();
    dir.Write("lists/sub/a.ogg", "aaaa");
    dir.Write("lists/b.ogg", "bb");
    dir.Write("elsewhere/c.flac", "ccc");
    const std::string gbkName = "\xD2\xB9\xC7\xFA.mp3x"; // 夜曲 in GBK, kept so on disk
    dir.Write("月亮河.mp3x", "x");
    dir.Write(gbkName, "yy");
    // A path line of 600 bytes: folders of 100 letters each.
    std::string deep = "lists";
    for (int i = 0; i < 6; ++i) {
        deep += "/" + std::string(99, static_cast<char>('p' + i));
    }
    dir.Write(deep + "/d.ogg", "d");
    const struct {
        const char* name;
        std::string bytes;
        Lines summary;
        int type;
    } cases[] = {
        {"lists/mix.m3u",
         "#EXTM3U\r\n#EXTINF:185,Moon River, live, 1961\r\nsub\\a.ogg\r\n#EXTINF:-1,\r\n\r\n"
         "b.ogg\r\n#EXTINF:20,Absolute\r\n" +
             d +
             "/elsewhere/c.flac\r\n#EXTINF:7,Gone\r\nC:\\Music\\gone.mp3\r\n#EXTINF:1,Deep\r\n" +
             deep.substr(6) + "/d.ogg\r\n",
         {"mix | mix.m3u | " + d + "/lists | 5 | 212",
          "1 185 [Moon River, live, 1961] a.ogg ogg " + d + "/lists/sub 4 N/A",
          "2 -1 [] b.ogg ogg " + d + "/lists 2 N/A",
          "3 20 [Absolute] c.flac flac " + d + "/elsewhere 3 N/A", "4 7 [Gone] 不存在   0 ",
          "5 1 [Deep] d.ogg ogg " + d + "/" + deep + " 1 N/A"},
         PLTYPE_M3U},
        // Empty lines before a path are skipped; a last "#EXTINF:" line without
        // a path adds no song and no seconds; non-numbers read as 0.
        {"e.m3u",
         "#EXTM3U\n#EXTINF:-1,first\n\n\nx.mp3\n#EXTINF: 30abc,second\ny.mp3\n"
         "#EXTINF:x,third\nz.mp3\n#EXTINF:99999999999,huge\nw.mp3\n#EXTINF:500,orphan\n\n",
         {"e | e.m3u | " + d + " | 4 | 2147483647", "1 -1 [first] 不存在   0 ",
          "2 30 [second] 不存在   0 ", "3 0 [third] 不存在   0 ",
          "4 2147483647 [huge] 不存在   0 "},
         PLTYPE_M3U},
        {"bom.m3u",
         "\xEF\xBB\xBF#EXTM3U\n#EXTINF:185,月亮河\n月亮河.mp3x\n",
         {"bom | bom.m3u | " + d + " | 1 | 185", "1 185 [月亮河] 月亮河.mp3x mp3x " + d + " 1 N/A"},
         PLTYPE_M3U},
        // As the original platform wrote it: GBK with CR LF.
        {"gbk.m3u8",
         "#EXTM3U\r\n#EXTINF:185,\xD4\xC2\xC1\xC1\xBA\xD3\r\n\xD4\xC2\xC1\xC1\xBA\xD3.mp3x\r\n",
         {"gbk | gbk.m3u8 | " + d + " | 1 | 185",
          "1 185 [月亮河] 月亮河.mp3x mp3x " + d + " 1 N/A"},
         PLTYPE_M3U},
        {"gbk-name.m3u",
         "#EXTM3U\r\n#EXTINF:185,\xD2\xB9\xC7\xFA\r\n" + gbkName + "\r\n",
         {"gbk-name | gbk-name.m3u | " + d + " | 1 | 185",
          "1 185 [夜曲] " + gbkName + " mp3x " + d + " 2 N/A"},
         PLTYPE_M3U},
        // Other playlist types become empty entries.
        {"Radio.xspf", "<playlist/>\n", {"Radio | Radio.xspf | " + d + " | 0 | 0"}, PLTYPE_OTHER},
    };
    for (const auto& c : cases) {
        dir.Write(c.name, c.bytes);
        CPlayListItem entry;
        ASSERT_EQ(ReadM3UFileChecked(dir.File(c.name), &entry), CM3uReadResult::Accepted) << c.name;
        EXPECT_EQ(M3uSummary(entry), c.summary) << c.name;
        EXPECT_EQ(entry.GetType(), c.type) << c.name;
    }
    EXPECT_TRUE(recording.platform.MessageTexts().empty());
    CPlayListItem missing;
    EXPECT_EQ(ReadM3UFileChecked(dir.File("none.m3u"), &missing), CM3uReadResult::Unreadable);
    EXPECT_EQ(recording.platform.MessageTexts(),
              Lines{dir.File("none.m3u") + ": No such file or directory"});
}

TEST(M3uRead, HeaderMustBeAWholeLineWithSomethingAfterIt) {
    CTempDir dir;
    const struct {
        const char* bytes;
        bool accepted;
    } cases[] = {
        // Without an exact header line a file is a plain list of paths.
        {"#EXTM3U \n#EXTINF:1,a\nx.mp3\n", true},
        {"#extm3u\n#EXTINF:1,a\nx.mp3\n", true},
        {"#extm3u\n#EXTINF:1,a\n\n", false},
        {"#EXTM3U\n", false},
        {"#EXTM3U", false},
        {"#EXTM3U\n#EXTINF:12 title\nx.mp3\n", false}, // no comma
        {"#EXTM3U\n#EXTINF:,title\nx.mp3\n", false},   // no seconds
        {"# made by another player\nrubbish\n#EXTM3U\n#EXTINF:1,a\nx.mp3\n", true},
        {"#EXTM3U \n#EXTM3U\n\n", true},
    };
    for (const auto& c : cases) {
        dir.Write("h.m3u", c.bytes);
        CPlayListItem entry;
        EXPECT_EQ(ReadM3UFile(dir.File("h.m3u"), &entry), c.accepted) << c.bytes;
    }
    EXPECT_FALSE(ReadM3UFile(dir.File("h.m3u"), nullptr));
}

TEST(M3uRead, APlaylistNamedRelativelyGetsFullPaths) {
    CTempDir dir;
    dir.Write("lists/a.ogg", "a");
    dir.Write("lists/l.m3u", "#EXTM3U\n#EXTINF:1,a\na.ogg\n");
    CPlayListItem entries[2];
    {
        CScopedFolderChange here(dir.Path());
        ASSERT_TRUE(ReadM3UFile("lists/l.m3u", &entries[0]));
    }
    {
        CScopedFolderChange here(dir.File("lists"));
        ASSERT_TRUE(ReadM3UFile("./l.m3u", &entries[1]));
    }
    for (const auto& entry : entries) {
        EXPECT_EQ(entry.location, dir.File("lists"));
        EXPECT_EQ(entry.songs.GetAt(1)->GetFullPath(), dir.File("lists/a.ogg"));
    }
}

TEST(M3uPathLine, WindowsAbsoluteRelativeAndUrlLinesAreNormalised) {
    const struct {
        const char *line, *path;
    } cases[] = {
        {"song.mp3", "/l/h/song.mp3"},
        {"sub\\song.mp3", "/l/h/sub/song.mp3"},
        {"../up/x:y.mp3", "/l/up/x:y.mp3"},
        {"\\music\\a.mp3", "/music/a.mp3"},
        {"/home/u/a.mp3", "/home/u/a.mp3"},
        {"E:\\x.mp3", "E:/x.mp3"},
        {"svn+ssh9.a-b://h/x", "svn+ssh9.a-b://h/x"},
        {"1 ://x", "/l/h/1 :/x"},
        {"a b://x", "/l/h/a b:/x"},
        {"://x", "/l/h/:/x"},
        {"../../../other/./a.mp3", "/other/a.mp3"},
        {"sub//b.mp3", "/l/h/sub/b.mp3"},
        {"\\music\\..\\c.mp3", "/c.mp3"},
        {"http://host/a/../b.mp3", "http://host/a/../b.mp3"},
        {"D:\\a\\..\\b.mp3", "D:/a/../b.mp3"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ResolveM3uPathLine("/l/h", c.line), c.path) << c.line;
    }
}

TEST(M3uWrite, FullPathsBareNamesAndRoundTrip) {
    CScopedRecordingPlatform recording;
    CTempDir dir;
    const std::string d = dir.Path();
    dir.Write("a.mp3x", "aaa");
    dir.Write("b, c.mp3x", "b");
    CPlayListItem entry;
    for (const auto& song :
         {TestSong("夜曲, live", 0, d, "a.mp3x"), TestSong("B", 185, d, "b, c.mp3x"),
          TestSong("Lost", 3, "", kMissingFileMarker),
          TestSong("Line\r\nbreak", 4, "/m", "x.mp3")}) {
        entry.songs.AddTail(song);
    }
    entry.count = 4;
    ASSERT_TRUE(WriteM3UFile(dir.File("full.m3u"), entry, true));
    EXPECT_EQ(dir.Read("full.m3u"), "#EXTM3U\n#EXTINF:-1,夜曲, live\n" + d +
                                        "/a.mp3x\n#EXTINF:185,B\n" + d +
                                        "/b, c.mp3x\n#EXTINF:3,Lost\n不存在\n"
                                        "#EXTINF:4,Line  break\n/m/x.mp3\n");
    entry.count = 2; // only the counted songs are written
    ASSERT_TRUE(WriteM3UFile(dir.File("bare.m3u8"), entry, false));
    EXPECT_EQ(dir.Read("bare.m3u8"),
              "#EXTM3U\n#EXTINF:-1,夜曲, live\na.mp3x\n#EXTINF:185,B\nb, c.mp3x\n");
    CPlayListItem back;
    ASSERT_TRUE(ReadM3UFile(dir.File("bare.m3u8"), &back));
    EXPECT_EQ(M3uSummary(back), (Lines{"bare | bare.m3u8 | " + d + " | 2 | 184",
                                       "1 -1 [夜曲, live] a.mp3x mp3x " + d + " 3 N/A",
                                       "2 185 [B] b, c.mp3x mp3x " + d + " 1 N/A"}));
    EXPECT_TRUE(recording.platform.MessageTexts().empty());
    EXPECT_FALSE(WriteM3UFile(dir.File("no/such/folder/x.m3u"), entry, true));
    EXPECT_EQ(recording.platform.MessageTexts(),
              Lines{dir.File("no/such/folder/x.m3u") + ": No such file or directory"});
}
