#include "ShownBoxes.h"
#include "audio/Mp3Info.h"
#include "audio/SongFile.h"
#include "platform/TextEncoding.h"
#include "support/Mp3Bytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A minute of MPEG-1 Layer III at 128 kbit/s (48 kHz) between the tags.
std::string MinuteWithTags(const std::string& id3v2, const std::string& id3v1) {
    Mp3FileLayout layout;
    layout.format.sampleRateIndex = 1;
    layout.frames = 2500;
    layout.id3v1 = id3v1;
    return id3v2 + Mp3FileBytes(layout);
}

std::string V2(const std::string& title, const std::string& artist, std::size_t cover = 0) {
    std::string frames;
    if (cover > 0) {
        frames += Id3v2FrameBytes(4, "APIC", std::string(cover, '\xFF'));
    }
    if (!title.empty()) {
        frames += Id3v2FrameBytes(4, "TIT2", Id3v2TextBody(3, title));
    }
    if (!artist.empty()) {
        frames += Id3v2FrameBytes(4, "TPE1", Id3v2TextBody(3, artist));
    }
    return Id3v2TagWithFrames(4, frames, 0, 300);
}

std::string V1(const std::string& titleBytes, const std::string& artistBytes) {
    Id3v1Fields fields;
    fields.title = titleBytes;
    fields.artist = artistBytes;
    return Id3v1TagBytes(fields);
}

const std::string kLongChinese = "一二三四五六七八九十甲乙丙丁戊己庚辛"; // 36 GBK bytes

} // namespace

TEST(SongTagText, AnId3v1TextWinsUnlessItSaysNothingOrRepeatsTheId3v2Text) {
    const std::string gbk = EncodeGb18030(kLongChinese);
    const struct {
        const char* name;
        std::string v2;
        std::string v1;
        std::string title;
        std::string artist;
    } cases[] = {
        {"ID3v2 alone", V2("月亮河", "邓丽君"), "", "月亮河", "邓丽君"},
        {"ID3v2 after a cover", V2("月亮河", "邓丽君", 300 * 1024), "", "月亮河", "邓丽君"},
        {"ID3v1 written later", V2("Old", "Old band"), V1("New", EncodeGb18030("新歌手")), "New",
         "新歌手"},
        {"empty ID3v1 fields", V2("月亮河", "邓丽君"), V1("", "  "), "月亮河", "邓丽君"},
        {"question marks", V2("月亮河", "邓丽君"), V1("???", "? ?"), "月亮河", "邓丽君"},
        {"cut at a character", V2(kLongChinese, "A"), V1(gbk.substr(0, 30), "A"), kLongChinese,
         "A"},
        {"cut inside a character", V2("a" + kLongChinese, "A"), V1("a" + gbk.substr(0, 29), "A"),
         "a" + kLongChinese, "A"},
        {"cut in Latin-1", V2("Ça plane pour moi, again and again", "Plastic Bertrand"),
         V1("\xC7"
            "a plane pour moi, again and a",
            "Plastic Bertrand"),
         "Ça plane pour moi, again and again", "Plastic Bertrand"},
        {"Latin-1 with question marks", V2("Café 夜曲", "B"), V1("Caf\xE9 ??", "B"), "Café 夜曲",
         "B"},
        {"a shorter ID3v1 text is no cut", V2(kLongChinese, "A"), V1(gbk.substr(0, 20), "A"),
         kLongChinese.substr(0, 30), "A"},
        {"ID3v2 without texts", V2("", ""), V1("Title", "Band"), "Title", "Band"},
        {"no texts at all", V2("", "?"), V1("", ""), "file name", "N/A"},
    };
    CScopedRecordingPlatform log;
    CTempDir dir;
    for (const auto& c : cases) {
        std::string path = dir.Write("file name.mp3", MinuteWithTags(c.v2, c.v1));
        CSongItem song;
        ASSERT_TRUE(ReadSongFile(path, &song)) << c.name;
        EXPECT_EQ(song.title, c.title) << c.name;
        EXPECT_EQ(song.artist, c.artist) << c.name;
        EXPECT_EQ(song.time, 60) << c.name;
        EXPECT_EQ(ReadArtistFromFile(path), c.artist) << c.name;
    }
    EXPECT_TRUE(log.platform.messages.empty());
}

TEST(SongTagText, HeadersThatCountFramesGiveTheExactTime) {
    Mp3FrameFormat mpeg1;
    mpeg1.sampleRateIndex = 0; // 44.1 kHz: frames of 417 or 418 bytes
    Mp3FrameFormat mpeg2 = mpeg1;
    mpeg2.version = 2;
    mpeg2.bitrateIndex = 8; // 64 kbit/s at 22.05 kHz
    const struct {
        const char* name;
        Mp3FrameFormat format;
        std::string first;
        int frames; // frames written after the first
        int seconds;
        int bitrate;
    } cases[] = {
        // 3000 x 1152 / 44100 = 78.4; the size alone would say 75.
        {"Xing", mpeg1, Mp3XingFrameBytes(mpeg1, 3000), 2900, 78, 123},
        {"Info", mpeg1, Mp3XingFrameBytes(mpeg1, 3000, "Info"), 2900, 78, 128}, // CBR
        {"VBRI", mpeg1, Mp3VbriFrameBytes(mpeg1, 3000), 2900, 78, 123},
        // 5000 x 576 / 22050 = 130.6
        {"VBRI MPEG-2", mpeg2, Mp3VbriFrameBytes(mpeg2, 5000), 4000, 130, 50},
        {"VBRI without the signature", mpeg1, Mp3VbriFrameBytes(mpeg1, 3000).replace(36, 4, "VBRX"),
         2900, 75, 128},
    };
    CScopedRecordingPlatform log;
    CTempDir dir;
    for (const auto& c : cases) {
        std::string bytes = c.first;
        for (int i = 0; i < c.frames; ++i) {
            bytes += Mp3FrameBytes(c.format);
        }
        Mp3Info info;
        ASSERT_EQ(info.Open(dir.Write("v.mp3", bytes)), MP3_OK) << c.name;
        EXPECT_EQ(info.LengthSeconds(), c.seconds) << c.name;
        EXPECT_EQ(info.Bitrate(), c.bitrate) << c.name;
    }
    EXPECT_TRUE(log.platform.messages.empty());
}

TEST(SongTagText, TheFrameSearchEndsWhereTheId3v1TagBegins) {
    CScopedRecordingPlatform log;
    CTempDir dir;
    // A file with no audio: its tag's title looks like a frame header.
    Id3v1Fields fields;
    fields.title = Mp3HeaderBytes(Mp3FrameFormat()) + "Song";
    std::string path = dir.Write("tag only.mp3", std::string(500, '\0') + Id3v1TagBytes(fields));
    Mp3Info info;
    EXPECT_EQ(info.Open(path), MP3_NO_HEADER);
    EXPECT_EQ(ShownBoxes(log.platform),
              std::vector<std::string>{
                  PlainBox("The file that was opened\nwas no correct .mp3-file", path)});
    // A header in the last bytes before the tag is still found.
    std::string audio = std::string(500, '\0') + Mp3HeaderBytes(Mp3FrameFormat());
    EXPECT_EQ(info.Open(dir.Write("late.mp3", audio + Id3v1TagBytes(fields))), MP3_OK);
}

TEST(SongTagText, AKeptId3v1FieldIsWrittenBackByteForByte) {
    CScopedRecordingPlatform log;
    CTempDir dir;
    // Fields cut by other taggers: a GBK lead byte alone at the end, a lead
    // byte and a digit that start a four-byte character.
    const std::string cases[] = {
        "abcdefghijklmnopqrstuvwxyz012\xD4",
        "abcdefghijklmnopqrstuvwxyz01\x81\x30",
    };
    for (const std::string& field : cases) {
        Id3v1Fields fields;
        fields.title = field;
        fields.artist = field;
        fields.album = field;
        fields.comment = field;
        std::string original = Id3v1TagBytes(fields);
        std::string path = dir.Write("keep.mp3", MinuteWithTags("", original));
        Mp3Info info;
        ASSERT_EQ(info.Open(path), MP3_OK);
        ASSERT_EQ(info.WriteTag("n/a", "n/a", "n/a", "n/a", "n/a", "n/a", "n/a"), MP3_OK);
        std::string written = dir.Read("keep.mp3");
        std::string tag = written.substr(written.size() - 128);
        // The year field without digits is written as "0", as specified.
        EXPECT_EQ(tag.substr(0, 93) + tag.substr(97), original.substr(0, 93) + original.substr(97))
            << field;
    }
}
