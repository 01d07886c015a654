#include "audio/Mp3Info.h"
#include "ShownBoxes.h"
#include "support/Mp3Bytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace {

const std::string kOpenFailed = "You tried to open a file\nthat didn't work";
const std::string kNoHeader = "The file that was opened\nwas no correct .mp3-file";

Mp3FrameFormat Format(int version, int layer, int bitrateIndex, bool mono = false,
                      int sampleRateIndex = 0) {
    Mp3FrameFormat format;
    format.version = version;
    format.layer = layer;
    format.bitrateIndex = bitrateIndex;
    format.mono = mono;
    format.sampleRateIndex = sampleRateIndex;
    return format;
}

// A file whose first frame carries a Xing header with frameCount frames.
std::string XingFile(const Mp3FrameFormat& format, int frames, long long frameCount) {
    Mp3FileLayout layout;
    layout.format = format;
    layout.frames = frames;
    layout.xing = true;
    layout.xingFrames = frameCount;
    return Mp3FileBytes(layout);
}

struct Summary {
    Mp3Result result;
    bool isVbr;
    bool hasTag;
    int bitrate;
    int frames;
    int seconds;
    bool operator==(const Summary& o) const {
        return result == o.result && isVbr == o.isVbr && hasTag == o.hasTag &&
               bitrate == o.bitrate && frames == o.frames && seconds == o.seconds;
    }
    friend std::ostream& operator<<(std::ostream& out, const Summary& s) {
        return out << "{result " << s.result << ", vbr " << s.isVbr << ", tag " << s.hasTag << ", "
                   << s.bitrate << " kbit/s, " << s.frames << " frames, " << s.seconds << " s}";
    }
};

Summary OpenSummary(const std::string& path) {
    Mp3Info info;
    Mp3Result result = info.Open(path);
    return {result,         info.isVbr,        info.hasTag,
            info.Bitrate(), info.FrameCount(), info.LengthSeconds()};
}

} // namespace

TEST(Mp3Open, TimesAConstantBitRateFileFromItsSize) {
    CScopedRecordingPlatform log;
    CTempDir dir;
    Mp3FileLayout layout;
    layout.frames = 1;
    std::string bytes = Mp3FileBytes(layout);
    bytes.resize(4800000, '\0');
    // 4,800,000 bytes at 128 kbit/s: (38,400,000 div 1000) div 128.
    EXPECT_EQ(OpenSummary(dir.Write("cbr.mp3", bytes)),
              (Summary{MP3_OK, false, false, 128, 11484, 300}));
    EXPECT_TRUE(log.platform.messages.empty());
}

TEST(Mp3Open, ReadsEveryVersionLayerAndChannelMode) {
    CScopedRecordingPlatform log;
    CTempDir dir;
    struct Case {
        Mp3FrameFormat format;
        int frames; // one minute of frames at the format's sample rate
        int bitrate;
    };
    // Sample-rate index 1 (48, 24 and 12 kHz) gives frames of whole bytes.
    const std::vector<Case> cases = {
        {Format(3, 1, 9, false, 1), 2500, 128},  {Format(3, 1, 14, true, 1), 2500, 320},
        {Format(3, 2, 10, false, 1), 2500, 192}, {Format(3, 3, 2, true, 1), 7500, 64},
        {Format(2, 1, 1, false, 1), 2500, 8},    {Format(2, 1, 8, true, 1), 2500, 64},
        {Format(2, 2, 14, false, 1), 1250, 160}, {Format(2, 3, 4, false, 1), 3750, 64},
        {Format(0, 1, 4, false, 1), 1250, 32},   {Format(0, 1, 2, true, 1), 1250, 16},
        {Format(0, 2, 8, false, 1), 625, 64},    {Format(0, 3, 1, true, 1), 1875, 32},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        Mp3FileLayout layout;
        layout.format = cases[i].format;
        layout.frames = cases[i].frames;
        std::string path = dir.Write("f" + std::to_string(i) + ".mp3", Mp3FileBytes(layout));
        EXPECT_EQ(OpenSummary(path),
                  (Summary{MP3_OK, false, false, cases[i].bitrate, cases[i].frames, 60}))
            << "case " << i;
    }
    EXPECT_TRUE(log.platform.messages.empty());
}

TEST(Mp3Open, FindsTheXingHeaderAtTheOffsetOfItsLayout) {
    CScopedRecordingPlatform log;
    CTempDir dir;
    // 2500 frames of 128 kbit/s whose Xing header counts 5000: the average
    // frame is half as long, so the average bit rate is 64 and the time doubles.
    struct Case {
        Mp3FrameFormat format;
        int frames;
        long long xingFrames;
        Summary expected;
    };
    const std::vector<Case> cases = {
        {Format(3, 1, 9, false, 1), 2500, 5000, {MP3_OK, true, false, 64, 5000, 120}},   // 36
        {Format(3, 1, 9, true, 1), 2500, 5000, {MP3_OK, true, false, 64, 5000, 120}},    // 21
        {Format(2, 1, 12, false, 1), 2500, 5000, {MP3_OK, true, false, 64, 5000, 120}},  // 21
        {Format(2, 1, 12, true, 1), 2500, 5000, {MP3_OK, true, false, 64, 5000, 120}},   // 13
        {Format(0, 1, 8, true, 1), 1250, 1250, {MP3_OK, true, false, 64, 1250, 60}},     // 13
        {Format(3, 3, 4, false, 1), 7500, 15000, {MP3_OK, true, false, 64, 15000, 120}}, // 36
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        std::string path =
            dir.Write("x" + std::to_string(i) + ".mp3", XingFile(c.format, c.frames, c.xingFrames));
        EXPECT_EQ(OpenSummary(path), c.expected) << "case " << i;
    }
    // The signature at another layout's offset is not looked at.
    Mp3FrameFormat mono = Format(3, 1, 9, true, 1);
    std::string misplaced = XingFile(Format(3, 1, 9, false, 1), 2500, 5000);
    misplaced.replace(0, 4, Mp3HeaderBytes(mono));
    EXPECT_EQ(OpenSummary(dir.Write("misplaced.mp3", misplaced)),
              (Summary{MP3_OK, false, false, 128, 2500, 60}));
    EXPECT_TRUE(log.platform.messages.empty());
}

TEST(Mp3Open, XingHeaderWithoutAUsableCountFallsBackToTheFirstHeader) {
    CScopedRecordingPlatform log;
    CTempDir dir;
    Mp3FrameFormat format = Format(3, 1, 9, false, 1);
    const Summary cbrTimed{MP3_OK, true, false, 128, 2500, 60};
    // No frame-count flag, a count of 0, a count that reads negative, and a
    // count so large that the average bit rate comes to 0.
    for (long long count : {-1LL, 0LL, 0xFFFFFFFFLL, 2000000000LL}) {
        std::string path = dir.Write("c.mp3", XingFile(format, 2500, count));
        EXPECT_EQ(OpenSummary(path), cbrTimed) << count;
    }
    // Any other signature is no Xing header at all.
    for (const char* signature : {"xing", "XinG", "info", "Xin "}) {
        Mp3FileLayout layout;
        layout.format = format;
        layout.frames = 2500;
        std::string bytes = Mp3FileBytes(layout);
        bytes.replace(0, Mp3FrameLength(format), Mp3XingFrameBytes(format, 5000, signature));
        EXPECT_EQ(OpenSummary(dir.Write("s.mp3", bytes)),
                  (Summary{MP3_OK, false, false, 128, 2500, 60}))
            << signature;
    }
    EXPECT_TRUE(log.platform.messages.empty());
}

TEST(Mp3Open, SearchesAtMost204800BytesPastTheStartOfTheAudio) {
    CTempDir dir;
    Mp3FileLayout layout;
    layout.format = Format(3, 1, 9, false, 1);
    layout.frames = 100;
    for (std::size_t id3v2 : {0, 1000, 2047, 2048, 2049, 10000}) {
        CScopedRecordingPlatform log;
        layout.id3v2Size = id3v2;
        layout.leadingZeros = 204800;
        std::string found = dir.Write("found.mp3", Mp3FileBytes(layout));
        Mp3Info info;
        EXPECT_EQ(info.Open(found), MP3_OK) << id3v2;
        EXPECT_EQ(info.header.TableBitrate(), 128);
        EXPECT_EQ(info.id3v2Size, static_cast<std::int64_t>(id3v2));

        layout.leadingZeros = 204801;
        std::string missed = dir.Write("missed.mp3", Mp3FileBytes(layout));
        EXPECT_EQ(info.Open(missed), MP3_NO_HEADER) << id3v2;
        EXPECT_EQ(info.LengthSeconds(), 0);
        EXPECT_EQ(info.Bitrate(), 0);
        EXPECT_EQ(ShownBoxes(log.platform),
                  (std::vector<std::string>{PlainBox(kNoHeader, missed)}));
    }
}

TEST(Mp3Open, FindsAHeaderWhereverItFallsInTheSearchedBytes) {
    CScopedRecordingPlatform log;
    CTempDir dir;
    // A single frame, so that no later frame can stand in for a missed one.
    Mp3FileLayout layout;
    layout.frames = 1;
    for (std::size_t zeros : {0, 1, 2045, 2046, 2047, 2048, 8190, 100000}) {
        for (std::size_t id3v2 : {0, 20, 3000}) {
            layout.leadingZeros = zeros;
            layout.id3v2Size = id3v2;
            Mp3Info info;
            EXPECT_EQ(info.Open(dir.Write("one.mp3", Mp3FileBytes(layout))), MP3_OK)
                << zeros << " " << id3v2;
        }
    }
    // A header cut off by the end of the file is no header.
    std::string cut = std::string(3000, '\0') + Mp3HeaderBytes(layout.format).substr(0, 3);
    Mp3Info info;
    EXPECT_EQ(info.Open(dir.Write("cut.mp3", cut)), MP3_NO_HEADER);
    EXPECT_EQ(log.platform.messages.size(), 1u);
}

TEST(Mp3Open, SkipsALeadingId3v2TagWithoutLookingInside) {
    CScopedRecordingPlatform log;
    CTempDir dir;
    // A false sync of 320 kbit/s inside the tag's body, real frames of 128.
    Mp3FileLayout layout;
    layout.format = Format(3, 1, 9, false, 1);
    layout.frames = 2500;
    layout.id3v2Size = 300000;
    std::string bytes = Mp3FileBytes(layout);
    bytes.replace(100, 4, Mp3HeaderBytes(Format(3, 1, 14)));
    std::string path = dir.Write("cover.mp3", bytes);
    Mp3Info info;
    ASSERT_EQ(info.Open(path), MP3_OK);
    EXPECT_EQ(info.id3v2Size, 300000);
    EXPECT_EQ(info.header.TableBitrate(), 128);
    // The tag is not audio: one minute, not the 300,000 bytes more.
    EXPECT_EQ(info.AudioSize(), 960000);
    EXPECT_EQ(OpenSummary(path), (Summary{MP3_OK, false, false, 128, 2500, 60}));

    // A version 2.4 footer belongs to the tag.
    layout.id3v2Footer = true;
    layout.id3v2Size = 4096;
    ASSERT_EQ(info.Open(dir.Write("footer.mp3", Mp3FileBytes(layout))), MP3_OK);
    EXPECT_EQ(info.id3v2Size, 4096);
    EXPECT_EQ(info.AudioSize(), 960000);

    // A tag with a broken size is not a tag: the scan starts at the file's
    // first byte and takes the false sync.
    bytes[6] = '\x80';
    ASSERT_EQ(info.Open(dir.Write("broken.mp3", bytes)), MP3_OK);
    EXPECT_EQ(info.id3v2Size, 0);
    EXPECT_EQ(info.header.TableBitrate(), 320);

    // A tag that claims more than the file holds leaves no audio.
    std::string truncated = Id3v2TagBytes(300000).substr(0, 5000);
    std::string truncatedPath = dir.Write("truncated.mp3", truncated);
    EXPECT_EQ(info.Open(truncatedPath), MP3_NO_HEADER);
    EXPECT_EQ(ShownBoxes(log.platform),
              (std::vector<std::string>{PlainBox(kNoHeader, truncatedPath)}));
}

TEST(Mp3Open, LeavesBothTagsOutOfTheAudioSize) {
    CScopedRecordingPlatform log;
    CTempDir dir;
    Id3v1Fields fields;
    fields.title = "Title";
    Mp3FileLayout layout;
    layout.format = Format(3, 1, 9, false, 1);
    layout.frames = 2500;
    layout.id3v2Size = 2048;
    layout.xing = true;
    layout.xingFrames = 5000;
    layout.id3v1 = Id3v1TagBytes(fields);
    Mp3Info info;
    ASSERT_EQ(info.Open(dir.Write("both.mp3", Mp3FileBytes(layout))), MP3_OK);
    EXPECT_EQ(info.fileSize, 2048 + 960000 + 128);
    EXPECT_EQ(info.AudioSize(), 960000);
    EXPECT_TRUE(info.hasTag);
    EXPECT_EQ(info.GetTitle(), "Title");
    EXPECT_EQ(info.Bitrate(), 64);
    EXPECT_EQ(info.LengthSeconds(), 120);
}

TEST(Mp3Open, ReportsFilesThatCannotBeReadWithTheirPathAsCaption) {
    CScopedRecordingPlatform log;
    CTempDir dir;
    Mp3Info info;
    std::string missing = dir.File("missing.mp3");
    EXPECT_EQ(info.Open(missing), MP3_CANNOT_READ);
    EXPECT_EQ(info.Open(dir.Path()), MP3_CANNOT_READ);
    std::string pipe = dir.File("pipe.mp3");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
    EXPECT_EQ(info.Open(pipe), MP3_CANNOT_READ); // and does not wait for a writer
    std::string empty = dir.Write("empty.mp3", "");
    EXPECT_EQ(info.Open(empty), MP3_NO_HEADER);
    std::string text = dir.Write("text.mp3", std::string(5000, 'x'));
    EXPECT_EQ(info.Open(text), MP3_NO_HEADER);
    EXPECT_EQ(info.LengthSeconds(), 0);
    EXPECT_EQ(
        ShownBoxes(log.platform),
        (std::vector<std::string>{PlainBox(kOpenFailed, missing), PlainBox(kOpenFailed, dir.Path()),
                                  PlainBox(kOpenFailed, pipe), PlainBox(kNoHeader, empty),
                                  PlainBox(kNoHeader, text)}));
    ReportMp3Error(MP3_OK, "x");
    ReportMp3Error(MP3_CANNOT_WRITE, "x");
    EXPECT_EQ(log.platform.messages.size(), 5u);
}

TEST(Mp3Open, AFileShorterThanATagHasNone) {
    CScopedRecordingPlatform log;
    CTempDir dir;
    // 100 bytes: a header, then "TAG" where a tag would start in a longer file.
    std::string bytes = Mp3HeaderBytes(Format(3, 1, 9)) + "TAG";
    bytes.resize(100, ' ');
    Mp3Info info;
    ASSERT_EQ(info.Open(dir.Write("short.mp3", bytes)), MP3_OK);
    EXPECT_FALSE(info.hasTag);
    // Exactly 128 bytes that start with "TAG" are a tag, and a header-like
    // text inside it is no audio.
    Id3v1Fields fields;
    fields.title = "x";
    std::string tagOnly = Id3v1TagBytes(fields);
    tagOnly.replace(40, 4, Mp3HeaderBytes(Format(3, 1, 9)));
    EXPECT_EQ(info.Open(dir.Write("tag.mp3", tagOnly)), MP3_NO_HEADER);
    EXPECT_EQ(info.LengthSeconds(), 0);
}

TEST(Mp3Open, SizesBeyondFourGigabytesUseWideArithmetic) {
    CScopedRecordingPlatform log;
    CTempDir dir;
    std::string path = dir.Write("huge.mp3", Mp3FrameBytes(Format(3, 1, 9)));
    const std::int64_t size = 5LL * 1024 * 1024 * 1024; // sparse: no disk used
    ASSERT_EQ(truncate(path.c_str(), size), 0);
    Mp3Info info;
    ASSERT_EQ(info.Open(path), MP3_OK);
    EXPECT_EQ(info.fileSize, size);
    EXPECT_EQ(info.LengthSeconds(), 335544); // (size x 8 div 1000) div 128
    EXPECT_EQ(info.FrameCount(), 12845056);
}

TEST(Mp3Open, ASecondOpenForgetsTheFirstFile) {
    CScopedRecordingPlatform log;
    CTempDir dir;
    Id3v1Fields fields;
    fields.title = "First";
    Mp3FileLayout layout;
    layout.format = Format(3, 1, 9, false, 1);
    layout.frames = 2500;
    layout.xing = true;
    layout.xingFrames = 5000;
    layout.id3v2Size = 1000;
    layout.id3v1 = Id3v1TagBytes(fields);
    Mp3Info info;
    ASSERT_EQ(info.Open(dir.Write("first.mp3", Mp3FileBytes(layout))), MP3_OK);
    EXPECT_TRUE(info.isVbr && info.hasTag);
    Mp3FileLayout plain;
    plain.format = Format(3, 1, 9, false, 1);
    plain.frames = 2500;
    ASSERT_EQ(info.Open(dir.Write("second.mp3", Mp3FileBytes(plain))), MP3_OK);
    EXPECT_FALSE(info.isVbr);
    EXPECT_FALSE(info.hasTag);
    EXPECT_EQ(info.id3v2Size, 0);
    EXPECT_EQ(info.vbr.frameCount, -1);
    EXPECT_EQ(info.GetTitle(), "");
    EXPECT_EQ(info.LengthSeconds(), 60);
}
