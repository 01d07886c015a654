#include "audio/Mp3Info.h"
#include "AudioHelpers.h"
#include "audio/SongFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using Lines = std::vector<std::string>;

const std::string kOpenFailed = "You tried to open a file\nthat didn't work";

Mp3FileLayout Layout(const Mp3FrameFormat& format, int frames, long long xingFrames = -2) {
    Mp3FileLayout layout;
    layout.format = format;
    layout.frames = frames;
    layout.xing = xingFrames != -2;
    layout.xingFrames = xingFrames;
    return layout;
}

// "result vbr tag bitrate frames seconds" of the file opened.
std::string OpenSummary(const std::string& path) {
    Mp3Info info;
    Mp3Result result = info.Open(path);
    return std::to_string(result) + (info.isVbr ? " vbr " : " cbr ") +
           (info.hasTag ? "tag " : "- ") + std::to_string(info.Bitrate()) + " " +
           std::to_string(info.FrameCount()) + " " + std::to_string(info.LengthSeconds());
}

// A first frame (with a VBRI or Info header that counts frames), then more frames.
std::string Then(std::string bytes, const Mp3FrameFormat& format, int more) {
    for (int i = 0; i < more; ++i) {
        bytes += Mp3FrameBytes(format);
    }
    return bytes;
}

std::string Ok(int bitrate, int frames, int seconds, bool vbr = false) {
    return std::to_string(MP3_OK) + (vbr ? " vbr - " : " cbr - ") + std::to_string(bitrate) + " " +
           std::to_string(frames) + " " + std::to_string(seconds);
}

} // namespace

TEST(Mp3Open, TimesEveryVersionLayerAndChannelModeFromTheSizeOrTheXingCount) {
    CScopedRecordingPlatform log;
    CTempDir dir;
    Mp3FileLayout cbrFile = Layout(Format(3, 1, 9, false, 0), 1);
    std::string cbr = Mp3FileBytes(cbrFile);
    cbr.resize(4800000, '\0'); // (38,400,000 div 1000) div 128 seconds
    std::string misplaced = Mp3FileBytes(Layout(Format(3, 1, 9), 2500, 5000));
    misplaced.replace(0, 4, Mp3HeaderBytes(Format(3, 1, 9, true))); // Xing at the stereo offset
    Mp3FileLayout late = Layout(Format(3, 1, 9), 2500, 5000);
    const Mp3FrameFormat f441 = Format(3, 1, 9, false, 0), f22 = Format(2, 1, 8, false, 0);
    late.leadingZeros = 2030; // the Xing header lies past the first bytes read
    // Sample-rate index 1 (48, 24 and 12 kHz) gives frames of whole bytes: a
    // minute of frames each. A Xing count of twice the frames halves the
    // average bit rate and doubles the time.
    const struct {
        std::string bytes;
        std::string summary;
    } cases[] = {
        {cbr, Ok(128, 11484, 300)},
        {Mp3FileBytes(Layout(Format(3, 1, 9), 2500)), Ok(128, 2500, 60)},
        {Mp3FileBytes(Layout(Format(3, 3, 2, true), 7500)), Ok(64, 7500, 60)},
        {Mp3FileBytes(Layout(Format(2, 1, 1), 2500)), Ok(8, 2500, 60)},
        {Mp3FileBytes(Layout(Format(2, 2, 14), 1250)), Ok(160, 1250, 60)},
        {Mp3FileBytes(Layout(Format(0, 1, 4), 1250)), Ok(32, 1250, 60)},
        {Mp3FileBytes(Layout(Format(3, 1, 9), 2500, 5000)), Ok(64, 5000, 120, true)},
        {Mp3FileBytes(Layout(Format(2, 1, 12), 2500, 5000)), Ok(64, 5000, 120, true)},
        {Mp3FileBytes(Layout(Format(0, 1, 8, true), 1250, 1250)), Ok(64, 1250, 60, true)},
        {Mp3FileBytes(Layout(Format(3, 3, 4), 7500, 15000)), Ok(64, 15000, 120, true)},
        {Mp3FileBytes(late), Ok(64, 5000, 120, true)},
        {misplaced, Ok(128, 2500, 60)},
        // No frame-count flag, a count of 0, one that reads negative, and one
        // so large that the average bit rate comes to 0: the first header times it.
        {Mp3FileBytes(Layout(Format(3, 1, 9), 2500, -1)), Ok(128, 2500, 60, true)},
        {Mp3FileBytes(Layout(Format(3, 1, 9), 2500, 0)), Ok(128, 2500, 60, true)},
        {Mp3FileBytes(Layout(Format(3, 1, 9), 2500, 0xFFFFFFFFLL)), Ok(128, 2500, 60, true)},
        {Mp3FileBytes(Layout(Format(3, 1, 9), 2500, 2000000000LL)), Ok(128, 2500, 60, true)},
        // 3000 x 1152 / 44100 = 78.4 s; the size alone would say 75. 5000 x 576 / 22050 = 130.6.
        {Then(Mp3VbriFrameBytes(f441, 3000), f441, 2900), Ok(123, 3000, 78, true)},
        {Then(Mp3VbriFrameBytes(f22, 5000), f22, 4000), Ok(50, 5000, 130, true)},
        {Then(Mp3VbriFrameBytes(f441, 3000), f441, 2900).replace(36, 4, "VBRX"), Ok(128, 2894, 75)},
        {Then(Mp3XingFrameBytes(f441, 3000, "Info"), f441, 2900), Ok(128, 3000, 78, true)},
    };
    for (std::size_t row = 0; row < std::size(cases); ++row) {
        std::string path = dir.Write("f" + std::to_string(row) + ".mp3", cases[row].bytes);
        EXPECT_EQ(OpenSummary(path), cases[row].summary) << "row " << row;
    }
    // Any other signature is no Xing header at all.
    Mp3FrameFormat format = Format(3, 1, 9);
    for (const char* signature : {"xing", "info"}) {
        std::string bytes = Mp3FileBytes(Layout(format, 2500));
        bytes.replace(0, Mp3FrameLength(format), Mp3XingFrameBytes(format, 5000, signature));
        EXPECT_EQ(OpenSummary(dir.Write("s.mp3", bytes)), Ok(128, 2500, 60)) << signature;
    }
    EXPECT_TRUE(log.platform.messages.empty());
}

TEST(Mp3Open, SearchesAtMost204800BytesPastTheStartOfTheAudio) {
    CTempDir dir;
    Mp3FileLayout layout = Layout(Format(3, 1, 9), 100);
    for (std::size_t id3v2 : {0, 2047, 2048, 10000}) {
        CScopedRecordingPlatform log;
        layout.id3v2Size = id3v2;
        layout.leadingZeros = 204800;
        Mp3Info info;
        EXPECT_EQ(info.Open(dir.Write("found.mp3", Mp3FileBytes(layout))), MP3_OK) << id3v2;
        EXPECT_EQ(info.id3v2Size, static_cast<std::int64_t>(id3v2));
        layout.leadingZeros = 204801;
        std::string missed = dir.Write("missed.mp3", Mp3FileBytes(layout));
        EXPECT_EQ(info.Open(missed), MP3_NO_HEADER) << id3v2;
        EXPECT_EQ(info.LengthSeconds() + info.Bitrate(), 0);
        EXPECT_EQ(ShownBoxes(log.platform), Lines{PlainBox(kNoMp3Header, missed)});
    }
    // A single frame, so that no later frame can stand in for a missed one.
    layout.frames = 1;
    for (std::size_t zeros : {0, 1, 2045, 2046, 2047, 2048, 8190}) {
        for (std::size_t id3v2 : {0, 20, 3000}) {
            layout.leadingZeros = zeros;
            layout.id3v2Size = id3v2;
            Mp3Info info;
            EXPECT_EQ(info.Open(dir.Write("one.mp3", Mp3FileBytes(layout))), MP3_OK)
                << zeros << " " << id3v2;
        }
    }
}

TEST(Mp3Open, SkipsALeadingId3v2TagWithoutLookingInside) {
    CScopedRecordingPlatform log;
    CTempDir dir;
    // A false sync of 320 kbit/s inside the tag's body, real frames of 128.
    Mp3FileLayout layout = Layout(Format(3, 1, 9), 2500);
    layout.id3v2Size = 300000;
    std::string bytes = Mp3FileBytes(layout);
    bytes.replace(100, 4, Mp3HeaderBytes(Format(3, 1, 14)));
    layout.id3v2Footer = true; // a version 2.4 footer belongs to the tag
    layout.id3v2Size = 4096;
    std::string footer = Mp3FileBytes(layout);
    // A tag with a broken size is not a tag: the scan takes the false sync.
    std::string broken = bytes;
    broken[6] = '\x80';
    const struct {
        const char* name;
        std::string bytes;
        std::int64_t id3v2Size, audioSize;
        int bitrate;
    } cases[] = {
        {"cover", bytes, 300000, 960000, 128},
        {"footer", footer, 4096, 960000, 128},
        {"broken", broken, 0, 1260000, 320},
    };
    for (const auto& c : cases) {
        Mp3Info info;
        ASSERT_EQ(info.Open(dir.Write(std::string(c.name) + ".mp3", c.bytes)), MP3_OK) << c.name;
        EXPECT_EQ(info.id3v2Size, c.id3v2Size) << c.name;
        EXPECT_EQ(info.AudioSize(), c.audioSize) << c.name; // the tag is not audio
        EXPECT_EQ(info.header.TableBitrate(), c.bitrate) << c.name;
    }
    EXPECT_EQ(OpenSummary(dir.File("cover.mp3")), Ok(128, 2500, 60));
}

TEST(Mp3Open, ReportsFilesThatCannotBeReadWithTheirPathAsCaption) {
    CScopedRecordingPlatform log;
    CTempDir dir;
    std::string pipe = dir.File("pipe.mp3");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0); // and does not wait for a writer
    const struct {
        std::string path;
        Mp3Result result;
        const std::string& message;
    } cases[] = {
        {dir.File("missing.mp3"), MP3_CANNOT_READ, kOpenFailed},
        {pipe, MP3_CANNOT_READ, kOpenFailed},
        {dir.Write("empty.mp3", ""), MP3_NO_HEADER, kNoMp3Header},
        {dir.Write("text.mp3", std::string(5000, 'x')), MP3_NO_HEADER, kNoMp3Header},
        // A header cut off by the end of the file is no header.
        {dir.Write("cut.mp3",
                   std::string(3000, '\0') + Mp3HeaderBytes(Format(3, 1, 9)).substr(0, 3)),
         MP3_NO_HEADER, kNoMp3Header},
        // A tag that claims more than the file holds leaves no audio.
        {dir.Write("truncated.mp3", Id3v2TagBytes(300000).substr(0, 5000)), MP3_NO_HEADER,
         kNoMp3Header},
    };
    Lines boxes;
    for (const auto& c : cases) {
        Mp3Info info;
        EXPECT_EQ(info.Open(c.path), c.result) << c.path;
        EXPECT_EQ(info.LengthSeconds(), 0) << c.path;
        boxes.push_back(PlainBox(c.message, c.path));
    }
    ReportMp3Error(MP3_OK, "x");
    ReportMp3Error(MP3_CANNOT_WRITE, "x");
    EXPECT_EQ(ShownBoxes(log.platform), boxes);
}

TEST(Mp3Open, TagsAreLeftOutOfTheAudioAndASecondOpenForgetsTheFirstFile) {
    CScopedRecordingPlatform log;
    CTempDir dir;
    Id3v1Fields fields;
    fields.title = "Title";
    Mp3FileLayout both = Layout(Format(3, 1, 9), 2500, 5000);
    both.id3v2Size = 2048;
    both.id3v1 = Id3v1TagBytes(fields);
    Mp3Info info;
    ASSERT_EQ(info.Open(dir.Write("both.mp3", Mp3FileBytes(both))), MP3_OK);
    EXPECT_EQ(OpenSummary(dir.File("both.mp3")), "0 vbr tag 64 5000 120");
    EXPECT_EQ(std::to_string(info.fileSize) + " " + std::to_string(info.AudioSize()) + " " +
                  info.GetTitle(),
              "962176 960000 Title");
    ASSERT_EQ(info.Open(dir.Write("plain.mp3", Mp3FileBytes(Layout(Format(3, 1, 9), 2500)))),
              MP3_OK);
    EXPECT_EQ(std::to_string(info.id3v2Size) + " " + std::to_string(info.vbr.frameCount) + " " +
                  std::to_string(info.isVbr || info.hasTag) + info.GetTitle(),
              "0 -1 0");

    // 100 bytes: a header, then "TAG" where a tag would start in a longer file.
    std::string shortFile = Mp3HeaderBytes(Format(3, 1, 9)) + "TAG";
    shortFile.resize(100, ' ');
    ASSERT_EQ(info.Open(dir.Write("short.mp3", shortFile)), MP3_OK);
    EXPECT_FALSE(info.hasTag);
    // Exactly 128 bytes that start with "TAG" are a tag, and a header-like
    // text inside it is no audio.
    std::string tagOnly = Id3v1TagBytes(fields);
    tagOnly.replace(40, 4, Mp3HeaderBytes(Format(3, 1, 9)));
    EXPECT_EQ(info.Open(dir.Write("tag.mp3", tagOnly)), MP3_NO_HEADER);
    EXPECT_EQ(info.LengthSeconds(), 0);
    // A header in the last bytes before the tag is still found.
    std::string late = std::string(500, '\0') + Mp3HeaderBytes(Format(3, 1, 9)) + tagOnly;
    EXPECT_EQ(info.Open(dir.Write("late.mp3", late)), MP3_OK);
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
