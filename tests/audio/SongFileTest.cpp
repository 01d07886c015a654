#include "audio/SongFile.h"
#include "ShownBoxes.h"
#include "support/Mp3Bytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <string>
#include <vector>

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

struct Song {
    std::string title, artist;
    int style, time, order;
    std::string fileName, fileType, location;
    std::int64_t size;
    bool operator==(const Song& o) const {
        return title == o.title && artist == o.artist && style == o.style && time == o.time &&
               order == o.order && fileName == o.fileName && fileType == o.fileType &&
               location == o.location && size == o.size;
    }
    friend std::ostream& operator<<(std::ostream& out, const Song& s) {
        return out << "{" << s.title << "|" << s.artist << "|" << s.style << "|" << s.time << "|"
                   << s.order << "|" << s.fileName << "|" << s.fileType << "|" << s.location << "|"
                   << s.size << "}";
    }
};

Song Fields(const CSongItem& song) {
    return {song.title,    song.artist,   song.style,    song.time, song.order,
            song.fileName, song.fileType, song.location, song.size};
}

// A song whose every field shows whether it was written.
CSongItem Untouched() {
    CSongItem song;
    song.title = "old title";
    song.artist = "old artist";
    song.style = 2005;
    song.time = 77;
    song.order = 9;
    song.fileName = "old.name";
    song.fileType = "old";
    song.location = "/old";
    song.size = 1;
    return song;
}

} // namespace

TEST(ReadSongFile, FillsAnMp3SongFromItsEntryAndItsTag) {
    CScopedRecordingPlatform log;
    CTempDir dir;
    std::string bytes = MinuteOfMusic(TagWith("\xB8\xE8\xC3\xFB", "Singer")); // 歌名
    std::string path = dir.Write("album/Track One.mp3", bytes);
    CSongItem song = Untouched();
    ASSERT_TRUE(ReadSongFile(path, &song));
    EXPECT_EQ(Fields(song), (Song{"歌名", "Singer", 2001, 60, 0, "Track One.mp3", "mp3",
                                  dir.File("album"), 960128}));

    // Capital letters in the extension count; the type is lower-cased.
    std::string upper = dir.Write("album/LOUD.MP3", MinuteOfMusic(""));
    ASSERT_TRUE(ReadSongFile(upper, &song));
    EXPECT_EQ(Fields(song),
              (Song{"LOUD", "N/A", 2001, 60, 0, "LOUD.MP3", "mp3", dir.File("album"), 960000}));
    EXPECT_TRUE(log.platform.messages.empty());
}

TEST(ReadSongFile, TakesTheFileNameWhereTheTagHasNoText) {
    CScopedRecordingPlatform log;
    CTempDir dir;
    CSongItem song = Untouched();
    std::string spaces = dir.Write("Spaces.mp3", MinuteOfMusic(TagWith("", "", ' ')));
    ASSERT_TRUE(ReadSongFile(spaces, &song));
    EXPECT_EQ(Fields(song),
              (Song{"Spaces", "N/A", 2001, 60, 0, "Spaces.mp3", "mp3", dir.Path(), 960128}));
    std::string artistOnly = dir.Write("a.b.mp3", MinuteOfMusic(TagWith("", "Band")));
    ASSERT_TRUE(FillSongFromFile(&song, artistOnly));
    EXPECT_EQ(song.title, "a.b");
    EXPECT_EQ(song.artist, "Band");
    // A tagger that could not write Chinese in the tag left question marks.
    std::string placeholders = dir.Write("双截棍.mp3", MinuteOfMusic(TagWith("???", "? ?")));
    ASSERT_TRUE(FillSongFromFile(&song, placeholders));
    EXPECT_EQ(song.title, "双截棍");
    EXPECT_EQ(song.artist, "N/A");
    EXPECT_EQ(ReadArtistFromFile(placeholders), "N/A");
    std::string question = dir.Write("q.mp3", MinuteOfMusic(TagWith("Why?", "?")));
    ASSERT_TRUE(FillSongFromFile(&song, question));
    EXPECT_EQ(song.title, "Why?");
    EXPECT_TRUE(log.platform.messages.empty());
}

TEST(ReadSongFile, ReadsOnlyTheEntryOfSmallAndOtherFiles) {
    CScopedRecordingPlatform log;
    CTempDir dir;
    // 200 bytes: name, type, folder and size; the rest stays.
    std::string small =
        MinuteOfMusic(TagWith("Tagged", "Tagged")).substr(0, 72) + TagWith("Tagged", "Tagged");
    std::string smallPath = dir.Write("small.mp3", small);
    CSongItem song = Untouched();
    ASSERT_TRUE(ReadSongFile(smallPath, &song));
    EXPECT_EQ(Fields(song),
              (Song{"old title", "old artist", 2005, 77, 0, "small.mp3", "mp3", dir.Path(), 200}));

    // Other types are never opened.
    std::string wma = dir.Write("Tune.wma", MinuteOfMusic(TagWith("Tagged", "Tagged")));
    song = Untouched();
    ASSERT_TRUE(ReadSongFile(wma, &song));
    EXPECT_EQ(Fields(song),
              (Song{"Tune", "N/A", 2001, 0, 0, "Tune.wma", "wma", dir.Path(), 960128}));
    // A name that is only an extension has none.
    std::string dotOnly = dir.Write(".mp3", MinuteOfMusic(TagWith("Tagged", "Tagged")));
    ASSERT_TRUE(ReadSongFile(dotOnly, &song));
    EXPECT_EQ(Fields(song), (Song{".mp3", "N/A", 2001, 0, 0, ".mp3", "", dir.Path(), 960128}));
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
        EXPECT_EQ(Fields(song), Fields(Untouched())) << path;
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
    std::string broken = std::string(1000, 'x') + TagWith("Tagged", "Tagged");
    std::string path = dir.Write("Broken.mp3", broken);
    CSongItem song = Untouched();
    ASSERT_TRUE(ReadSongFile(path, &song));
    EXPECT_EQ(Fields(song),
              (Song{"Broken", "N/A", 2001, 0, 0, "Broken.mp3", "mp3", dir.Path(), 1128}));
    EXPECT_EQ(ShownBoxes(log.platform),
              (std::vector<std::string>{
                  PlainBox("The file that was opened\nwas no correct .mp3-file", path)}));
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
    EXPECT_EQ(
        ReadArtistFromFile(dir.Write("a.mp3", MinuteOfMusic(TagWith("T", "\xB8\xE8\xCA\xD6")))),
        "歌手");
    EXPECT_EQ(ReadArtistFromFile(dir.Write("b.MP3", MinuteOfMusic(TagWith("T", "Band")))), "Band");
    EXPECT_EQ(ReadArtistFromFile(dir.Write("c.mp3", MinuteOfMusic(TagWith("T", "   ", ' ')))),
              "N/A");
    EXPECT_EQ(ReadArtistFromFile(dir.Write("d.mp3", MinuteOfMusic(""))), "N/A");
    EXPECT_EQ(ReadArtistFromFile(dir.Write("e.ogg", MinuteOfMusic(TagWith("T", "Band")))), "N/A");
    EXPECT_EQ(ReadArtistFromFile(dir.File("missing.ogg")), "N/A");
    EXPECT_TRUE(log.platform.messages.empty());
    // A missing MP3 file is opened and reported.
    EXPECT_EQ(ReadArtistFromFile(dir.File("missing.mp3")), "N/A");
    EXPECT_EQ(log.platform.messages.size(), 1u);
}
