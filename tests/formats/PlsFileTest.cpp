#include "formats/PlsFile.h"
#include "core/MusicManager.h"
#include "formats/M3uFile.h"
#include "support/Library.h"
#include "support/Mp3Bytes.h"
#include "support/RecordingPlatform.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

// The songs of an entry, one line each: order, time, title, file, artist.
std::string SongLines(const CPlayListItem& entry) {
    std::ostringstream out;
    out << entry.count << " songs, " << entry.time << " s\n";
    for (const auto& song : entry.songs) {
        out << song->order << " " << song->time << " [" << song->title << "] " << song->fileName
            << " " << song->artist << "\n";
    }
    return out.str();
}

// A minute of MP3 with an ID3v2 title and artist.
std::string TaggedMinute(const std::string& title, const std::string& artist) {
    Mp3FileLayout layout;
    layout.format.sampleRateIndex = 1;
    layout.frames = 2500;
    std::string frames = Id3v2FrameBytes(3, "TIT2", Id3v2TextBody(0, title)) +
                         Id3v2FrameBytes(3, "TPE1", Id3v2TextBody(0, artist));
    return Id3v2TagWithFrames(3, frames) + Mp3FileBytes(layout);
}

} // namespace

TEST(PlaylistRead, PlainPathLinesAndPlsEntriesBecomeSongs) {
    CScopedRecordingPlatform recording;
    CTempDir dir;
    dir.Write("music/Moon.mp3", TaggedMinute("Moon River", "Andy"));
    dir.Write("music/tiny.mp3", "x");
    const std::string music = dir.Path() + "/music";
    const struct {
        const char* name;
        std::string file;
        std::string text;
        std::string songs;
    } cases[] = {
        {"plain list", "plain.m3u",
         "# a comment\n" + music + "/Moon.mp3\n\n   \nmusic/gone.mp3\nmusic\\tiny.mp3\n",
         "3 songs, 60 s\n1 60 [Moon River] Moon.mp3 Andy\n2 0 [gone] 不存在 \n"
         "3 0 [tiny] tiny.mp3 \n"},
        {"header with and without EXTINF", "mixed.m3u8",
         "#EXTM3U\n#EXTINF:200,Listed\nmusic/Moon.mp3\nmusic/Moon.mp3\n#EXTVLCOPT:x\n",
         "2 songs, 260 s\n1 200 [Listed] Moon.mp3 Andy\n2 60 [Moon River] Moon.mp3 Andy\n"},
        {"binary line is no path", "bin.m3u", std::string("#EXTM3U\nab\0cd\n", 14),
         "0 songs, 0 s\n"},
        {"PLS in number order", "list.pls",
         "[playlist]\r\nNumberOfEntries=3\r\nFile2=music/Moon.mp3\r\nfile1 = music/gone.mp3\r\n"
         "Title1=Gone song\r\nLength1=-1\r\nFILE3=file://" +
             music + "/%4Doon.mp3\r\nTitle3=\r\nLength3=61\r\nVersion=2\r\n",
         "3 songs, 120 s\n1 -1 [Gone song] 不存在 \n2 60 [Moon River] Moon.mp3 Andy\n"
         "3 61 [Moon River] Moon.mp3 Andy\n"},
        {"PLS keys of another section", "other.pls",
         "File1=music/Moon.mp3\n[other]\nFile2=music/Moon.mp3\n[Playlist]\nTitle3=x\n"
         "File99999999999=music/Moon.mp3\n",
         "0 songs, 0 s\n"},
    };
    for (const auto& c : cases) {
        dir.Write(c.file, c.text);
        CPlayListItem entry;
        ASSERT_EQ(ReadM3UFileChecked(dir.File(c.file), &entry), CM3uReadResult::Accepted) << c.name;
        EXPECT_EQ(SongLines(entry), c.songs) << c.name;
    }
    EXPECT_TRUE(recording.platform.messages.empty());
}

TEST(PlaylistRead, AFileWithoutHeaderOrPathIsStillRefused) {
    CScopedRecordingPlatform recording;
    CTempDir dir;
    const char* const refused[] = {"", "\n\n", "# only comments\n#EXTINF:1,a\n", "#extm3u\n  \n"};
    for (const char* text : refused) {
        dir.Write("r.m3u", text);
        CPlayListItem entry;
        EXPECT_EQ(ReadM3UFileChecked(dir.File("r.m3u"), &entry), CM3uReadResult::Malformed) << text;
    }
    CMusicManager manager(nullptr);
    manager.Execute(TestCommand(MCMD_ADD_M3U, {0, 0, 0, 0}, {dir.File("r.m3u")}));
    EXPECT_EQ(manager.entries.GetCount(), 0);
    EXPECT_EQ(recording.platform.MessageTexts(),
              std::vector<std::string>{"添加曲目没有成功，M3U文件格式不正确"});

    // A PLS file read by the same command brings its songs along.
    dir.Write("music/a.mp3", TaggedMinute("A", "B"));
    dir.Write("r.pls", "[playlist]\nFile1=music/a.mp3\n");
    manager.Execute(TestCommand(MCMD_ADD_M3U, {0, 0, 0, 0}, {dir.File("r.pls")}));
    ASSERT_EQ(manager.entries.GetCount(), 1);
    EXPECT_EQ(manager.entries.GetAt(1)->GetType(), PLTYPE_PLS);
    EXPECT_EQ(SongLines(*manager.entries.GetAt(1)), "1 songs, 60 s\n1 60 [A] a.mp3 B\n");
    EXPECT_EQ(manager.songs.GetCount(), 1);
}
