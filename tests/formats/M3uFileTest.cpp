#include "formats/M3uFile.h"

#include "support/Library.h"
#include "support/Mp3Bytes.h"
#include "support/RecordingPlatform.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

// "title | name | folder | count | time | type", then "order time [title]
// name folder artist" for each song.
Lines M3uSummary(const CPlayListItem& entry) {
    Lines lines = {entry.title + " | " + entry.fileName + " | " + entry.location + " | " +
                   std::to_string(entry.count) + " | " + std::to_string(entry.time) + " | " +
                   std::to_string(entry.GetType())};
    for (const auto& song : entry.songs) {
        lines.push_back(std::to_string(song->order) + " " + std::to_string(song->time) + " [" +
                        song->title + "] " + song->fileName + " " + song->location + " " +
                        song->artist);
    }
    return lines;
}

} // namespace

TEST(PlaylistRead, PlaylistsWrittenByOtherPlayers) {
    CScopedRecordingPlatform recording;
    CTempDir dir;
    const std::string d = dir.Path(), m = d + "/music";
    dir.Write("lists/sub/a.ogg", "aaaa");
    dir.Write("lists/b.ogg", "bb");
    dir.Write("elsewhere/c.flac", "ccc");
    const std::string gbkName = "\xD2\xB9\xC7\xFA.mp3x"; // 夜曲 in GBK, kept so on disk
    dir.Write(gbkName, "yy");
    dir.Write("music/Moon.mp3", TaggedMp3Bytes("Moon River", 2500)); // 65 s
    dir.Write("music/tiny.mp3", "x");
    const std::string gone = "不存在  ", moon = "Moon.mp3 " + m + " N/A";
    const Lines refused = {"malformed"};
    const struct {
        const char* name;
        std::string bytes;
        Lines summary;
    } cases[] = {
        {"lists/mix.m3u",
         "#EXTM3U\r\n#EXTINF:185,Moon River, live, 1961\r\nsub\\a.ogg\r\n#EXTINF:-1,\r\n\r\n"
         "b.ogg\r\n#EXTINF:20,Absolute\r\n" +
             d + "/elsewhere/c.flac\r\n#EXTINF:7,Gone\r\nC:\\Music\\gone.mp3\r\n",
         {"mix | mix.m3u | " + d + "/lists | 4 | 211 | 100",
          "1 185 [Moon River, live, 1961] a.ogg " + d + "/lists/sub N/A",
          "2 -1 [] b.ogg " + d + "/lists N/A", "3 20 [Absolute] c.flac " + d + "/elsewhere N/A",
          "4 7 [Gone] " + gone}},
        // Empty lines before a path are skipped; a last "#EXTINF:" line without
        // a path adds no song and no seconds; non-numbers read as 0.
        {"e.m3u",
         "#EXTM3U\n#EXTINF:-1,first\n\n\nx.mp3\n#EXTINF: 30abc,second\ny.mp3\n"
         "#EXTINF:x,third\nz.mp3\n#EXTINF:99999999999,huge\nw.mp3\n#EXTINF:500,orphan\n\n",
         {"e | e.m3u | " + d + " | 4 | 2147483647 | 100", "1 -1 [first] " + gone,
          "2 30 [second] " + gone, "3 0 [third] " + gone, "4 2147483647 [huge] " + gone}},
        {"gbk-name.m3u",
         "#EXTM3U\r\n#EXTINF:185,\xD2\xB9\xC7\xFA\r\n" + gbkName + "\r\n",
         {"gbk-name | gbk-name.m3u | " + d + " | 1 | 185 | 100",
          "1 185 [夜曲] " + gbkName + " " + d + " N/A"}},
        // Other playlist types become empty entries.
        {"Radio.xspf", "<playlist/>\n", {"Radio | Radio.xspf | " + d + " | 0 | 0 | 106"}},
        // Without a header line a file is a plain list of paths.
        {"plain.m3u",
         "# a comment\n" + m + "/Moon.mp3\n\n   \nmusic/gone.mp3\nmusic\\tiny.mp3\n",
         {"plain | plain.m3u | " + d + " | 3 | 65 | 100", "1 65 [Moon River] " + moon,
          "2 0 [gone] " + gone, "3 0 [tiny] tiny.mp3 " + m + " "}},
        {"h3.m3u", "#EXTM3U", refused},
        {"h4.m3u", "#EXTM3U\n#EXTINF:12 title\nx.mp3\n", refused}, // no comma
        {"h6.m3u", "", refused},
        {"h7.m3u", "# only comments\n#EXTINF:1,a\n", refused},
        // In a file address only "%" starts an escape ("/ab" is no "\xAB").
        {"list.pls",
         "[playlist]\r\nNumberOfEntries=3\r\nFile2=music/Moon.mp3\r\nfile1 = music/gone.mp3\r\n"
         "Title1=Gone song\r\nLength1=-1\r\nFILE3=file://" +
             m + "/ab/../%4Doon.mp3\r\nTitle3=\r\nLength3=61\r\nVersion=2\r\n",
         {"list | list.pls | " + d + " | 3 | 125 | 101", "1 -1 [Gone song] " + gone,
          "2 65 [Moon River] " + moon, "3 61 [Moon River] " + moon}},
        {"other.pls",
         "File1=music/Moon.mp3\n[other]\nFile2=music/Moon.mp3\n[Playlist]\nTitle3=x\n"
         "File99999999999=music/Moon.mp3\nFile=music/Moon.mp3\n",
         {"other | other.pls | " + d + " | 0 | 0 | 101"}},
    };
    for (const auto& c : cases) {
        dir.Write(c.name, c.bytes);
        CPlayListItem entry;
        CM3uReadResult result = ReadM3UFileChecked(dir.File(c.name), &entry);
        EXPECT_EQ(result == CM3uReadResult::Malformed ? refused : M3uSummary(entry), c.summary)
            << c.name;
    }
    EXPECT_FALSE(ReadM3UFile(dir.File("e.m3u"), nullptr));
    EXPECT_TRUE(recording.platform.MessageTexts().empty());
    CPlayListItem missing;
    EXPECT_EQ(ReadM3UFileChecked(dir.File("none.m3u"), &missing), CM3uReadResult::Unreadable);
    EXPECT_EQ(recording.platform.MessageTexts(),
              Lines{dir.File("none.m3u") + ": No such file or directory"});
}

TEST(M3uPathLine, WindowsAbsoluteRelativeAndUrlLinesAreNormalised) {
    std::string paths;
    for (const char* line :
         {"sub\\song.mp3", "../up/x:y.mp3", "\\music\\a.mp3", "E:\\x.mp3", "svn+ssh9.a-b://h/x",
          "1 ://x", "../../../other/./a.mp3", "http://host/a/../b.mp3", "D:\\a\\..\\b.mp3"}) {
        paths += ResolveM3uPathLine("/l/h", line) + " ";
    }
    EXPECT_EQ(paths, "/l/h/sub/song.mp3 /l/up/x:y.mp3 /music/a.mp3 E:/x.mp3 svn+ssh9.a-b://h/x "
                     "/l/h/1 :/x /other/a.mp3 http://host/a/../b.mp3 D:/a/../b.mp3 ");
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
}
