#include "formats/M3uFile.h"

#include "support/RecordingPlatform.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

// Every field of every song, one line each, so a whole read compares at once.
std::string Describe(const CPlayListItem& entry) {
    std::ostringstream out;
    out << entry.title << " | " << entry.fileName << " | " << entry.location << " | " << entry.count
        << " | " << entry.time << "\n";
    for (const auto& song : entry.songs) {
        out << song->order << " " << song->time << " [" << song->title << "] " << song->fileName
            << " " << song->fileType << " " << song->location << " " << song->size << " "
            << song->artist << "\n";
    }
    return out.str();
}

CSongPtr MakeSong(const std::string& title, int time, const std::string& location,
                  const std::string& fileName) {
    auto song = std::make_shared<CSongItem>();
    song->title = title;
    song->time = time;
    song->location = location;
    song->fileName = fileName;
    return song;
}

} // namespace

TEST(M3uRead, PlaylistsWrittenByOtherPlayers) {
    CScopedRecordingPlatform recording;
    CTempDir dir;
    const std::string d = dir.Path();
    dir.Write("lists/sub/a.ogg", "aaaa");
    dir.Write("lists/b.ogg", "bb");
    dir.Write("elsewhere/c.flac", "ccc");
    // A path line of 600 bytes: folders of 100 letters each.
    std::string deep = "lists";
    for (int i = 0; i < 6; ++i) {
        deep += "/" + std::string(99, static_cast<char>('p' + i));
    }
    deep += "/d.ogg";
    dir.Write(deep, "d");
    std::string deepLine = deep.substr(6);
    ASSERT_GE(deepLine.size(), 600u);

    dir.Write("lists/mix.m3u", "#EXTM3U\r\n"
                               "#EXTINF:185,Moon River, live, 1961\r\n"
                               "sub\\a.ogg\r\n"
                               "#EXTINF:-1,\r\n"
                               "\r\n"
                               "b.ogg\r\n"
                               "#EXTINF:20,Absolute\r\n" +
                                   d +
                                   "/elsewhere/c.flac\r\n"
                                   "#EXTINF:7,Gone\r\n"
                                   "C:\\Music\\gone.mp3\r\n"
                                   "#EXTINF:1,Deep\r\n" +
                                   deepLine + "\r\n");
    CPlayListItem entry;
    ASSERT_TRUE(ReadM3UFile(dir.File("lists/mix.m3u"), &entry));
    std::string deepFolder = d + "/" + deep.substr(0, deep.size() - 6);
    EXPECT_EQ(Describe(entry), "mix | mix.m3u | " + d + "/lists | 5 | 212\n" +
                                   "1 185 [Moon River, live, 1961] a.ogg ogg " + d +
                                   "/lists/sub 4 N/A\n"
                                   "2 -1 [] b.ogg ogg " +
                                   d + "/lists 2 N/A\n" + "3 20 [Absolute] c.flac flac " + d +
                                   "/elsewhere 3 N/A\n"
                                   "4 7 [Gone] 不存在   0 \n"
                                   "5 1 [Deep] d.ogg ogg " +
                                   deepFolder + " 1 N/A\n");
    EXPECT_EQ(entry.GetType(), PLTYPE_M3U);
    EXPECT_TRUE(recording.platform.MessageTexts().empty());
}

TEST(M3uRead, Utf8WithBomGbkAndM3u8FilesAreAccepted) {
    CTempDir dir;
    dir.Write("月亮河.mp3x", "x");
    const std::string body = "#EXTINF:185,月亮河\n月亮河.mp3x\n";
    dir.Write("bom.m3u", "\xEF\xBB\xBF#EXTM3U\n" + body);
    dir.Write("plain.m3u8", "#EXTM3U\n" + body);
    // The same playlist as the original platform wrote it: GBK with CR LF.
    dir.Write("gbk.m3u", "#EXTM3U\r\n#EXTINF:185,\xD4\xC2\xC1\xC1\xBA\xD3\r\n"
                         "\xD4\xC2\xC1\xC1\xBA\xD3.mp3x\r\n");
    for (const char* name : {"bom.m3u", "plain.m3u8", "gbk.m3u"}) {
        CPlayListItem entry;
        ASSERT_TRUE(ReadM3UFile(dir.File(name), &entry)) << name;
        ASSERT_EQ(entry.count, 1) << name;
        CSongPtr song = entry.songs.GetAt(1);
        EXPECT_EQ(song->title, "月亮河") << name;
        EXPECT_EQ(song->fileName, "月亮河.mp3x") << name;
        EXPECT_EQ(song->location, dir.Path()) << name;
        EXPECT_EQ(entry.time, 185) << name;
    }
}

TEST(M3uRead, AGbkPlaylistFindsFilesThatKeptTheirGbkNamesOnDisk) {
    CTempDir dir;
    const std::string nameOnDisk = "\xD4\xC2\xC1\xC1\xBA\xD3.mp3x"; // 月亮河 in GBK
    dir.Write(nameOnDisk, "x");
    dir.Write("gbk.m3u",
              "#EXTM3U\r\n#EXTINF:185,\xD4\xC2\xC1\xC1\xBA\xD3\r\n" + nameOnDisk + "\r\n");
    CPlayListItem entry;
    ASSERT_TRUE(ReadM3UFile(dir.File("gbk.m3u"), &entry));
    ASSERT_EQ(entry.count, 1);
    EXPECT_EQ(entry.songs.GetAt(1)->title, "月亮河");
    EXPECT_EQ(entry.songs.GetAt(1)->fileName, nameOnDisk);
    EXPECT_EQ(entry.songs.GetAt(1)->size, 1);
}

TEST(M3uRead, HeaderMustBeAWholeLineWithSomethingAfterIt) {
    CTempDir dir;
    struct Case {
        const char* bytes;
        bool accepted;
    };
    const Case cases[] = {
        // Without an exact header line a file is a plain list of paths.
        {"#EXTM3U \n#EXTINF:1,a\nx.mp3\n", true},
        {"#extm3u\n#EXTINF:1,a\nx.mp3\n", true},
        {"#extm3u\n#EXTINF:1,a\n\n", false},
        {"#EXTM3U\n", false},
        {"#EXTM3U", false},
        {"", false},
        {"# made by another player\nrubbish\n#EXTM3U\n#EXTINF:1,a\nx.mp3\n", true},
        {"#EXTM3U \n#EXTM3U\n\n", true},
        {"#EXTM3U\n/m/a.mp3\n/m/b.mp3\n", true},
    };
    for (const Case& item : cases) {
        dir.Write("h.m3u", item.bytes);
        CPlayListItem entry;
        EXPECT_EQ(ReadM3UFile(dir.File("h.m3u"), &entry), item.accepted) << item.bytes;
    }
    EXPECT_FALSE(ReadM3UFile(dir.File("h.m3u"), nullptr));
}

TEST(M3uRead, ExtinfLinesAndTheirPaths) {
    CTempDir dir;
    auto read = [&](const std::string& bytes, CPlayListItem& entry) {
        dir.Write("e.m3u", bytes);
        return ReadM3UFile(dir.File("e.m3u"), &entry);
    };
    CPlayListItem noComma;
    EXPECT_FALSE(read("#EXTM3U\n#EXTINF:12 title\nx.mp3\n", noComma));
    CPlayListItem noSeconds;
    EXPECT_FALSE(read("#EXTM3U\n#EXTINF:,title\nx.mp3\n", noSeconds));

    // Empty lines before a path are skipped; a last "#EXTINF:" line without
    // a path adds no song and no seconds; non-numbers read as 0.
    CPlayListItem entry;
    ASSERT_TRUE(read("#EXTM3U\n#EXTINF:-1,first\n\n\nx.mp3\n#EXTINF: 30abc,second\ny.mp3\n"
                     "#EXTINF:x,third\nz.mp3\n#EXTINF:500,orphan\n\n",
                     entry));
    EXPECT_EQ(Describe(entry), "e | e.m3u | " + dir.Path() +
                                   " | 3 | 29\n"
                                   "1 -1 [first] 不存在   0 \n"
                                   "2 30 [second] 不存在   0 \n"
                                   "3 0 [third] 不存在   0 \n");
}

TEST(M3uRead, OtherPlaylistTypesBecomeEmptyEntriesAndUnreadableFilesAreReported) {
    CScopedRecordingPlatform recording;
    CTempDir dir;
    dir.Write("Radio.xspf", "<playlist/>\n");
    CPlayListItem entry;
    ASSERT_EQ(ReadM3UFileChecked(dir.File("Radio.xspf"), &entry), CM3uReadResult::Accepted);
    EXPECT_EQ(Describe(entry), "Radio | Radio.xspf | " + dir.Path() + " | 0 | 0\n");
    EXPECT_EQ(entry.GetType(), PLTYPE_OTHER);

    CPlayListItem missing;
    EXPECT_EQ(ReadM3UFileChecked(dir.File("none.m3u"), &missing), CM3uReadResult::Unreadable);
    ASSERT_EQ(recording.platform.MessageTexts().size(), 1u);
    EXPECT_EQ(recording.platform.MessageTexts()[0],
              dir.File("none.m3u") + ": No such file or directory");
}

TEST(M3uRead, APlaylistNamedRelativelyGetsFullPaths) {
    CTempDir dir;
    dir.Write("lists/a.ogg", "a");
    dir.Write("lists/l.m3u", "#EXTM3U\n#EXTINF:1,a\na.ogg\n");
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(dir.Path().c_str()), 0);
    CPlayListItem entry;
    bool accepted = ReadM3UFile("lists/l.m3u", &entry);
    CPlayListItem here;
    ASSERT_EQ(chdir(dir.File("lists").c_str()), 0);
    bool acceptedHere = ReadM3UFile("./l.m3u", &here);
    ASSERT_EQ(chdir(previous), 0);
    ASSERT_TRUE(accepted);
    ASSERT_TRUE(acceptedHere);
    EXPECT_EQ(entry.location, dir.File("lists"));
    EXPECT_EQ(entry.songs.GetAt(1)->GetFullPath(), dir.File("lists/a.ogg"));
    EXPECT_EQ(here.location, dir.File("lists"));
    EXPECT_EQ(here.songs.GetAt(1)->GetFullPath(), dir.File("lists/a.ogg"));
}

TEST(M3uPathLine, WindowsAbsoluteRelativeAndUrlLines) {
    EXPECT_EQ(ResolveM3uPathLine("/l", "song.mp3"), "/l/song.mp3");
    EXPECT_EQ(ResolveM3uPathLine("/l", "sub\\song.mp3"), "/l/sub/song.mp3");
    EXPECT_EQ(ResolveM3uPathLine("/l", "../up/x:y.mp3"), "/l/../up/x:y.mp3");
    EXPECT_EQ(ResolveM3uPathLine("/l", "\\music\\a.mp3"), "/music/a.mp3");
    EXPECT_EQ(ResolveM3uPathLine("/l", "/home/u/a.mp3"), "/home/u/a.mp3");
    EXPECT_EQ(ResolveM3uPathLine("/l", "E:\\x.mp3"), "E:/x.mp3");
    EXPECT_EQ(ResolveM3uPathLine("/l", "http://radio.example/live"), "http://radio.example/live");
    EXPECT_EQ(ResolveM3uPathLine("/l", "1 ://x"), "/l/1 ://x");
}

TEST(M3uWrite, FullPathsBareNamesAndRoundTrip) {
    CScopedRecordingPlatform recording;
    CTempDir dir;
    dir.Write("a.mp3x", "aaa");
    dir.Write("b, c.mp3x", "b");
    CPlayListItem entry;
    entry.songs.AddTail(MakeSong("夜曲, live", 0, dir.Path(), "a.mp3x"));
    entry.songs.AddTail(MakeSong("B", 185, dir.Path(), "b, c.mp3x"));
    entry.songs.AddTail(MakeSong("Lost", 3, "", kMissingFileMarker));
    entry.songs.AddTail(MakeSong("Line\r\nbreak", 4, "/m", "x.mp3"));
    entry.count = 4;

    ASSERT_TRUE(WriteM3UFile(dir.File("full.m3u"), entry, true));
    EXPECT_EQ(dir.Read("full.m3u"), "#EXTM3U\n#EXTINF:-1,夜曲, live\n" + dir.Path() +
                                        "/a.mp3x\n#EXTINF:185,B\n" + dir.Path() +
                                        "/b, c.mp3x\n#EXTINF:3,Lost\n不存在\n"
                                        "#EXTINF:4,Line  break\n/m/x.mp3\n");

    entry.count = 2; // only the counted songs are written
    ASSERT_TRUE(WriteM3UFile(dir.File("bare.m3u8"), entry, false));
    EXPECT_EQ(dir.Read("bare.m3u8"), "#EXTM3U\n#EXTINF:-1,夜曲, live\na.mp3x\n"
                                     "#EXTINF:185,B\nb, c.mp3x\n");
    CPlayListItem back;
    ASSERT_TRUE(ReadM3UFile(dir.File("bare.m3u8"), &back));
    EXPECT_EQ(Describe(back), "bare | bare.m3u8 | " + dir.Path() + " | 2 | 184\n" +
                                  "1 -1 [夜曲, live] a.mp3x mp3x " + dir.Path() + " 3 N/A\n" +
                                  "2 185 [B] b, c.mp3x mp3x " + dir.Path() + " 1 N/A\n");
    EXPECT_TRUE(recording.platform.MessageTexts().empty());
}

TEST(M3uWrite, AFolderThatIsNotThereIsReported) {
    CScopedRecordingPlatform recording;
    CTempDir dir;
    CPlayListItem entry;
    entry.songs.AddTail(MakeSong("A", 1, "/m", "a.mp3"));
    entry.count = 1;
    EXPECT_FALSE(WriteM3UFile(dir.File("no/such/folder/x.m3u"), entry, true));
    ASSERT_EQ(recording.platform.MessageTexts().size(), 1u);
    EXPECT_NE(recording.platform.MessageTexts()[0].find("No such file or directory"),
              std::string::npos);
}
