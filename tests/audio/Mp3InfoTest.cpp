#include "audio/Mp3Info.h"
#include "AudioHelpers.h"
#include "audio/MpegHeader.h"
#include "audio/SongFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Lines = std::vector<std::string>;

const std::string kOpenFailed = "You tried to open a file\nthat didn't work";

Mp3FileLayout Layout(const Mp3FrameFormat& format, int frames, long long xingFrames = -2) {
    return Mp3FileLayout{format, frames, 0, false, 0, xingFrames != -2, xingFrames, ""};
}

std::string Bytes(Mp3FileLayout layout, std::size_t id3v2, std::size_t zeros,
                  const std::string& id3v1 = "") {
    layout.id3v2Size = id3v2;
    layout.leadingZeros = zeros;
    layout.id3v1 = id3v1;
    return Mp3FileBytes(layout);
}

std::string Ok(int bitrate, int frames, int seconds, bool vbr = false) {
    return "0 " + std::string(vbr ? "vbr - " : "cbr - ") + std::to_string(bitrate) + " " +
           std::to_string(frames) + " " + std::to_string(seconds);
}

const std::string kNa = "n/a";

// 50 frames after a 1000-byte ID3v2 tag, with the ID3v1 tag given (or none).
std::string SongBytes(const std::string& id3v1) {
    return Mp3FileBytes(Mp3FileLayout{Mp3FrameFormat(), 50, 1000, false, 0, false, -1, id3v1});
}

Mp3Result WriteTitle(Mp3Info& info, const std::string& title) {
    return info.WriteTag(title, kNa, kNa, kNa, kNa, kNa, kNa);
}

MpegHeader HeaderOf(Mp3FrameFormat format, int emphasis = 0, int sampleRateIndex = 0) {
    format.emphasis = emphasis;
    format.sampleRateIndex = sampleRateIndex;
    std::string bytes = Mp3HeaderBytes(format);
    MpegHeader header;
    header.Load(reinterpret_cast<const unsigned char*>(bytes.data()));
    return header;
}

} // namespace

// One object opens every file in turn: nothing of one file may show in the next.
TEST(Mp3Open, TimesFramesTagsAndFailuresOfEachFile) {
    CScopedRecordingPlatform log;
    CTempDir dir;
    const Mp3FrameFormat f48 = Format(3, 1, 9), f441 = Format(3, 1, 9, false, 0);
    const std::string more = Mp3FileBytes(Layout(f441, 2900));
    std::string cbr = Mp3FileBytes(Layout(f441, 1));
    cbr.resize(4800000, '\0'); // (38,400,000 div 1000) div 128 seconds
    std::string misplaced = Mp3FileBytes(Layout(f48, 2500, 5000));
    misplaced.replace(0, 4, Mp3HeaderBytes(Format(3, 1, 9, true))); // Xing at the stereo offset
    const std::string v1 = Id3v1TagBytes(Id3v1Fields{"Title", "", "", "", "", -1, 255, '\0'});
    // A false sync of 320 kbit/s inside an ID3v2 tag's body, real frames of 128.
    std::string cover = Bytes(Layout(f48, 2500), 300000, 0);
    cover.replace(100, 4, Mp3HeaderBytes(Format(3, 1, 14)));
    std::string broken = cover; // a tag with a broken size is no tag: the false sync counts
    broken[6] = '\x80';
    Mp3FileLayout footer = Layout(f48, 2500);
    footer.id3v2Footer = true;                           // a version 2.4 footer belongs to the tag
    std::string shortFile = Mp3HeaderBytes(f48) + "TAG"; // no room for a tag after the header
    shortFile.resize(100, ' ');
    std::string tagOnly = v1; // a header-like text inside an ID3v1 tag is no audio
    tagOnly.replace(40, 4, Mp3HeaderBytes(f48));
    std::string xingLower = Mp3FileBytes(Layout(f48, 2500));
    xingLower.replace(0, Mp3FrameLength(f48), Mp3XingFrameBytes(f48, 5000, "xing"));
    const std::string pipe = dir.File("pipe.mp3");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0); // and the open does not wait for a writer
    const std::string none = std::to_string(MP3_NO_HEADER) + " cbr - 0 0 0";
    // Sample-rate index 1 (48, 24 and 12 kHz) gives frames of whole bytes: a
    // minute of frames each. A Xing count of twice the frames halves the
    // average bit rate and doubles the time. Summary: "result vbr tag kbit/s
    // frames seconds", then the title, ID3v2 size and audio size where given.
    std::vector<std::pair<std::string, std::string>> cases = {
        {cbr, Ok(128, 11484, 300)},
        {Mp3FileBytes(Layout(f48, 2500)), Ok(128, 2500, 60)},
        {Mp3FileBytes(Layout(Format(3, 3, 2, true), 7500)), Ok(64, 7500, 60)},
        {Mp3FileBytes(Layout(Format(2, 2, 14), 1250)), Ok(160, 1250, 60)},
        {Mp3FileBytes(Layout(f48, 2500, 5000)), Ok(64, 5000, 120, true)},
        {Mp3FileBytes(Layout(Format(3, 3, 4), 7500, 15000)), Ok(64, 15000, 120, true)},
        {Bytes(Layout(f48, 2500, 5000), 0, 2030), Ok(64, 5000, 120, true)}, // Xing read late
        {misplaced, Ok(128, 2500, 60)},
        {xingLower, Ok(128, 2500, 60)},
        // No frame-count flag, a count that reads negative, and one so large
        // that the average bit rate comes to 0: the first header times it.
        {Mp3FileBytes(Layout(f48, 2500, -1)), Ok(128, 2500, 60, true)},
        {Mp3FileBytes(Layout(f48, 2500, 0xFFFFFFFFLL)), Ok(128, 2500, 60, true)},
        {Mp3FileBytes(Layout(f48, 2500, 2000000000LL)), Ok(128, 2500, 60, true)},
        // A first frame with a VBRI or Info header that counts 3000 frames, then
        // 2900 more: 3000 x 1152 / 44100 = 78.4 s; the size alone would say 75.
        {Mp3VbriFrameBytes(f441, 3000) + more, Ok(123, 3000, 78, true)},
        {(Mp3VbriFrameBytes(f441, 3000) + more).replace(36, 4, "VBRX"), Ok(128, 2894, 75)},
        {Mp3XingFrameBytes(f441, 3000, "Info") + more, Ok(128, 3000, 78, true)},
        // Tags are no audio.
        {Bytes(Layout(f48, 2500, 5000), 2048, 0, v1), "0 vbr tag 64 5000 120 [Title] 2048 960000"},
        {cover, Ok(128, 2500, 60) + " [] 300000 960000"},
        {Bytes(footer, 4096, 0), Ok(128, 2500, 60) + " [] 4096 960000"},
        {broken, Ok(320, 1312, 31) + " [] 0 1260000"},
        {shortFile, Ok(128, 0, 0) + " [] 0 100"},
        {tagOnly, none},
        {std::string(500, '\0') + Mp3HeaderBytes(f48) + v1, "0 cbr tag 128 1 0"},
        {"", none},
        {std::string(3000, '\0') + Mp3HeaderBytes(f48).substr(0, 3), none}, // a header cut off
        {Id3v2TagBytes(300000).substr(0, 5000), none}, // a tag longer than the file
    };
    // The search for the first frame reaches 204,800 bytes past the audio's
    // start, and finds a lone frame at any place of its read buffer.
    Mp3FileLayout one = Layout(f48, 1);
    for (std::size_t id3v2 : {0, 2047, 10000}) {
        cases.push_back({Bytes(Layout(f48, 100), id3v2, 204800), "0 cbr - 128"});
        cases.push_back({Bytes(Layout(f48, 100), id3v2, 204801), none});
        for (std::size_t zeros : {0, 2046, 2047, 8190}) {
            cases.push_back({Bytes(one, id3v2, zeros), "0 cbr - 128"});
        }
    }
    Lines boxes;
    Mp3Info info;
    auto open = [&](const std::string& path) {
        Mp3Result result = info.Open(path);
        if (result != MP3_OK) {
            boxes.push_back(PlainBox(result == MP3_CANNOT_READ ? kOpenFailed : kNoMp3Header, path));
        }
        return std::to_string(result) + (info.isVbr ? " vbr " : " cbr ") +
               (info.hasTag ? "tag " : "- ") + std::to_string(info.Bitrate()) + " " +
               std::to_string(info.FrameCount()) + " " + std::to_string(info.LengthSeconds()) +
               " [" + info.GetTitle() + "] " + std::to_string(info.id3v2Size) + " " +
               std::to_string(info.AudioSize());
    };
    for (std::size_t row = 0; row < cases.size(); ++row) {
        std::string path = dir.Write("f" + std::to_string(row) + ".mp3", cases[row].first);
        EXPECT_EQ(open(path).substr(0, cases[row].second.size()), cases[row].second) << row;
    }
    for (const std::string& path : {pipe, dir.File("missing.mp3")}) {
        EXPECT_EQ(open(path).substr(0, 13), std::to_string(MP3_CANNOT_READ) + " cbr - 0 0 0");
    }
    ReportMp3Error(MP3_OK, "x");
    ReportMp3Error(MP3_CANNOT_WRITE, "x");
    EXPECT_EQ(ShownBoxes(log.platform), boxes);
}

TEST(Mp3Open, SizesBeyondFourGigabytesUseWideArithmetic) {
    CScopedRecordingPlatform log;
    CTempDir dir;
    std::string path = dir.Write("huge.mp3", Mp3FrameBytes(Format(3, 1, 9, false, 0)));
    const std::int64_t size = 5LL * 1024 * 1024 * 1024; // sparse: no disk used
    ASSERT_EQ(truncate(path.c_str(), size), 0);
    Mp3Info info;
    ASSERT_EQ(info.Open(path), MP3_OK);
    EXPECT_EQ(info.fileSize, size);
    EXPECT_EQ(info.LengthSeconds(), 335544); // (size x 8 div 1000) div 128
    EXPECT_EQ(info.FrameCount(), 12845056);
    CSongItem song; // and a song stores times beyond 32767 seconds whole
    ASSERT_TRUE(ReadSongFile(path, &song));
    EXPECT_EQ(song.time, 335544);
}

// Fields other taggers cut (a GBK lead byte alone at the end, a lead byte and
// a digit that start a four-byte character) and fields left at "n/a" are
// written back byte for byte; padding spaces become NULs, a year without
// digits 0.
TEST(Mp3WriteTag, FieldsLeftAtNaAreKeptByteForByte) {
    CScopedRecordingPlatform log;
    CTempDir dir;
    const Id3v1Fields gbk{"\xB1\xEA\xCC\xE2", "Artist", "", "ab", "Comment", 5, 17, ' '}; // 标题
    const std::string lead = "abcdefghijklmnopqrstuvwxyz012\xD4",
                      four = lead.substr(0, 28) + "\x81\x30";
    for (Id3v1Fields fields : {gbk, Id3v1Fields{lead, lead, lead, "", lead, -1, 255, '\0'},
                               Id3v1Fields{four, four, four, "", four, -1, 255, '\0'}}) {
        std::string original = SongBytes(Id3v1TagBytes(fields));
        std::string path = dir.Write("keep.mp3", original);
        Mp3Info info;
        ASSERT_EQ(info.Open(path), MP3_OK) << fields.title;
        EXPECT_EQ(WriteTitle(info, kNa), MP3_OK) << fields.title;
        fields.pad = '\0';
        fields.year = "0";
        EXPECT_EQ(dir.Read(path), original.substr(0, original.size() - 128) + Id3v1TagBytes(fields))
            << fields.title;
    }

    // A second write through the same object replaces the tag it appended;
    // "N/A" and "n/A" are texts like any other.
    std::string path = dir.Write("append.mp3", SongBytes(""));
    Mp3Info info;
    ASSERT_EQ(info.Open(path), MP3_OK);
    EXPECT_EQ(WriteTitle(info, "first"), MP3_OK);
    EXPECT_EQ(info.WriteTag("N/A", "n/A", kNa, kNa, kNa, "3", "Blues"), MP3_OK);
    EXPECT_EQ(dir.Read(path).size(), SongBytes("").size() + 128);
    Mp3Info reread;
    ASSERT_EQ(reread.Open(path), MP3_OK);
    EXPECT_EQ(reread.GetTitle() + reread.GetArtist() + reread.GetGenre(), "N/An/ABlues");
    EXPECT_TRUE(log.platform.messages.empty());
}

TEST(Mp3WriteTag, FailsWithoutTouchingAFileItCannotWrite) {
    CScopedRecordingPlatform log;
    CTempDir dir;
    std::string original = SongBytes("");
    std::string path = dir.Write("song.mp3", original);
    Mp3Info info;
    ASSERT_EQ(info.Open(path), MP3_OK);
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    // As an unprivileged user, so that the file stays read-only when the tests run as root.
    int previous = geteuid() == 0 ? setfsuid(65534) : -1;
    EXPECT_EQ(WriteTitle(info, "Title"), MP3_CANNOT_WRITE);
    if (previous >= 0) {
        setfsuid(static_cast<uid_t>(previous));
    }
    EXPECT_EQ(dir.Read("song.mp3"), original);
    // A file gone since it was opened is not created again.
    ASSERT_EQ(unlink(path.c_str()), 0);
    EXPECT_EQ(WriteTitle(info, "Title"), MP3_CANNOT_WRITE);
    EXPECT_NE(access(path.c_str(), F_OK), 0);
    // Without a successful open there is no file to write.
    Mp3Info failed;
    EXPECT_EQ(failed.Open(dir.File("missing.mp3")), MP3_CANNOT_READ);
    EXPECT_EQ(WriteTitle(failed, "Title"), MP3_CANNOT_WRITE);
    EXPECT_NE(access(dir.File("missing.mp3").c_str(), F_OK), 0);
    EXPECT_EQ(log.platform.messages.size(), 1u); // only the failed open spoke
}

// Frame sizes and Xing offsets of Layer III are held against real files by the
// peer test; the tables of the other layers and the reserved fields are here.
TEST(MpegHeader, RatesFollowTheStandardTablesAndReservedFieldsAreRefused) {
    for (int version : {3, 2, 0}) {
        for (int layer : {1, 2, 3}) {
            for (int index = 1; index <= 14; ++index) {
                Mp3FrameFormat format = Format(version, layer, index);
                EXPECT_EQ(HeaderOf(format).TableBitrate(), Mp3TableBitrate(format))
                    << version << " " << layer << " " << index;
            }
        }
        for (int index = 0; index < 3; ++index) {
            Mp3FrameFormat format = Format(version, 1, 9, false, index);
            EXPECT_EQ(HeaderOf(format, 0, index).SampleRate(), Mp3SampleRate(format)) << version;
        }
    }
    const unsigned char shortSync[4] = {0xFF, 0x1B, 0x90, 0x64}; // eleven sync bits are needed
    MpegHeader header;
    header.Load(shortSync);
    EXPECT_FALSE(header.IsValid());
    const MpegHeader cases[] = {HeaderOf(Format(1, 1)),       HeaderOf(Format(3, 0)),
                                HeaderOf(Format(3, 1, 0)),    HeaderOf(Format(3, 1, 15)),
                                HeaderOf(Format(3, 1), 0, 3), HeaderOf(Format(3, 1), 2)};
    for (const MpegHeader& c : cases) {
        EXPECT_FALSE(c.IsValid()) << std::hex << c.bits;
    }
    EXPECT_TRUE(HeaderOf(Format(3, 1), 3).IsValid());
    EXPECT_EQ(HeaderOf(Format(1, 1)).SampleRate(), 0);
    EXPECT_EQ(HeaderOf(Format(3, 3, 9, true)).BytesPerFrameFactor() +
                  HeaderOf(Format(2, 2)).BytesPerFrameFactor(),
              48 + 144);
}
