#include "audio/SongFile.h"
#include "ShownBoxes.h"
#include "support/Library.h"
#include "support/Mp3Bytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

// A minute of MPEG-1 Layer III at 128 kbit/s (48 kHz) with the tag given.
std::string MinuteOfMusic(const std::string& id3v1) {
    Mp3FileLayout layout;
    layout.format.sampleRateIndex = 1;
    layout.frames = 2500;
    layout.id3v1 = id3v1;
    return Mp3FileBytes(layout);
}

std::string TagWith(const std::string& title, const std::string& artist, char pad = '\0') {
    Id3v1Fields fields;
    fields.title = title;
    fields.artist = artist;
    fields.album = "Album";
    fields.genre = 17;
    fields.pad = pad;
    return Id3v1TagBytes(fields);
}

// A song whose every field shows whether it was written.
CSongItem Untouched() {
    CSongItem song = *TestSong("old title", 77, "/old", "old.name");
    song.artist = "old artist";
    song.style = 2005;
    song.order = 9;
    song.size = 1;
    return song;
}

} // namespace

TEST(ReadSongFile, FillsTheSongFromItsFileEntryAndAnMp3Tag) {
    CScopedRecordingPlatform log;
    CTempDir dir;
    const std::string tagged = MinuteOfMusic(TagWith("Tagged", "Tagged"));
    const std::string d = dir.Path();
    const struct {
        const char* name;
        std::string bytes;
        std::string fields; // title|artist|style|time|order|fileName|fileType|location|size
    } cases[] = {
        {"album/Track One.mp3", MinuteOfMusic(TagWith("\xB8\xE8\xC3\xFB", "Singer")), // 歌名
         "歌名|Singer|2001|60|0|Track One.mp3|mp3|" + d + "/album|960128"},
        // Capital letters in the extension count; the type is lower-cased.
        {"LOUD.MP3", MinuteOfMusic(""), "LOUD|N/A|2001|60|0|LOUD.MP3|mp3|" + d + "|960000"},
        // Where the tag has no text the file's name stands.
        {"Spaces.mp3", MinuteOfMusic(TagWith("", "", ' ')),
         "Spaces|N/A|2001|60|0|Spaces.mp3|mp3|" + d + "|960128"},
        {"a.b.mp3", MinuteOfMusic(TagWith("", "Band")),
         "a.b|Band|2001|60|0|a.b.mp3|mp3|" + d + "|960128"},
        // A tagger that could not write Chinese in the tag left question marks.
        {"双截棍.mp3", MinuteOfMusic(TagWith("???", "? ?")),
         "双截棍|N/A|2001|60|0|双截棍.mp3|mp3|" + d + "|960128"},
        {"q.mp3", MinuteOfMusic(TagWith("Why?", "?")),
         "Why?|N/A|2001|60|0|q.mp3|mp3|" + d + "|960128"},
        // 200 bytes: name, type, folder and size only; the rest stays.
        {"small.mp3", tagged.substr(0, 72) + TagWith("Tagged", "Tagged"),
         "old title|old artist|2005|77|0|small.mp3|mp3|" + d + "|200"},
        // Other types are never opened; a name that is only an extension has none.
        {"Tune.wma", tagged, "Tune|N/A|2001|0|0|Tune.wma|wma|" + d + "|960128"},
        {".mp3", tagged, ".mp3|N/A|2001|0|0|.mp3||" + d + "|960128"},
    };
    for (const auto& c : cases) {
        CSongItem song = Untouched();
        ASSERT_TRUE(ReadSongFile(dir.Write(c.name, c.bytes), &song)) << c.name;
        EXPECT_EQ(Describe(song), c.fields) << c.name;
    }
    EXPECT_TRUE(log.platform.messages.empty());
}

TEST(ReadSongFile, LeavesTheSongAloneWhenThereIsNoFile) {
    CScopedRecordingPlatform log;
    CTempDir dir;
    dir.Write("folder.mp3/inside.txt", "x");
    CSongItem song = Untouched();
    for (const std::string& path :
         {dir.File("missing.mp3"), dir.File("folder.mp3"), std::string()}) {
        EXPECT_FALSE(ReadSongFile(path, &song)) << path;
        EXPECT_FALSE(FillSongFromFile(&song, path)) << path;
        EXPECT_EQ(Describe(song), Describe(Untouched())) << path;
    }
    std::string real = dir.Write("real.mp3", MinuteOfMusic(""));
    EXPECT_FALSE(ReadSongFile(real, nullptr));
    EXPECT_FALSE(FillSongFromFile(nullptr, real));
    EXPECT_TRUE(log.platform.messages.empty());
}

TEST(ReadSongFile, KeepsTimeZeroForABrokenMp3AndShowsOneMessage) {
    CScopedRecordingPlatform log;
    CTempDir dir;
    // No frame header, but a tag: the tag is not taken either.
    std::string path =
        dir.Write("Broken.mp3", std::string(1000, 'x') + TagWith("Tagged", "Tagged"));
    CSongItem song = Untouched();
    ASSERT_TRUE(ReadSongFile(path, &song));
    EXPECT_EQ(Describe(song), "Broken|N/A|2001|0|0|Broken.mp3|mp3|" + dir.Path() + "|1128");
    EXPECT_EQ(ShownBoxes(log.platform),
              std::vector<std::string>{
                  PlainBox("The file that was opened\nwas no correct .mp3-file", path)});
    EXPECT_TRUE(FillSongFromFile(&song, path)); // the file is there, only its frames are not
}

TEST(ReadSongFile, StoresTimesBeyond32767SecondsWhole) {
    CScopedRecordingPlatform log;
    CTempDir dir;
    Mp3FrameFormat lowRate; // MPEG-2 Layer III, 8 kbit/s
    lowRate.version = 2;
    lowRate.bitrateIndex = 1;
    std::string path = dir.Write("Long.mp3", Mp3FrameBytes(lowRate));
    ASSERT_EQ(truncate(path.c_str(), 100000000), 0); // sparse
    CSongItem song;
    ASSERT_TRUE(ReadSongFile(path, &song));
    EXPECT_EQ(song.time, 100000); // 100,000,000 x 8 / 1000 / 8
}

TEST(ReadArtistFromFile, GivesTheTagArtistOfMp3FilesOnly) {
    CScopedRecordingPlatform log;
    CTempDir dir;
    const struct {
        const char* name;
        std::string bytes;
        const char* artist;
    } cases[] = {
        {"a.mp3", MinuteOfMusic(TagWith("T", "\xB8\xE8\xCA\xD6")), "歌手"},
        {"b.MP3", MinuteOfMusic(TagWith("T", "Band")), "Band"},
        {"c.mp3", MinuteOfMusic(TagWith("T", "   ", ' ')), "N/A"},
        {"d.mp3", MinuteOfMusic(TagWith("T", "? ?")), "N/A"},
        {"e.mp3", MinuteOfMusic(""), "N/A"},
        {"f.ogg", MinuteOfMusic(TagWith("T", "Band")), "N/A"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadArtistFromFile(dir.Write(c.name, c.bytes)), c.artist) << c.name;
    }
    EXPECT_EQ(ReadArtistFromFile(dir.File("missing.ogg")), "N/A");
    EXPECT_TRUE(log.platform.messages.empty());
    // A missing MP3 file is opened and reported.
    EXPECT_EQ(ReadArtistFromFile(dir.File("missing.mp3")), "N/A");
    EXPECT_EQ(log.platform.messages.size(), 1u);
}
