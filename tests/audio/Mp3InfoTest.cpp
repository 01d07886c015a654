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

} // namespace

// One object opens every file in turn: nothing of one file may show in the next.
TEST(Mp3Open, TimesFramesTagsAndFailuresOfEachFile) {
    CScopedRecordingPlatform log;
    CTempDir dir;
    const Mp3FrameFormat f48 = Format(3, 1, 9);
    const std::string v1 = Id3v1TagBytes(Id3v1Fields{"Title", "", "", "", "", -1, 255, '\0'});
    Mp3FileLayout footer = Layout(f48, 2500);
    footer.id3v2Footer = true; // a version 2.4 footer belongs to the tag
    const std::string pipe = dir.File("pipe.mp3");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0); // and the open does not wait for a writer
    const std::string none = std::to_string(MP3_NO_HEADER) + " cbr - 0 0 0";
    // Sample-rate index 1 (48, 24 and 12 kHz) gives frames of whole bytes: a
    // minute of frames each. A Xing count of twice the frames halves the
    // average bit rate and doubles the time. Summary: "result vbr tag kbit/s
    // frames seconds", then the title, ID3v2 size and audio size where given.
    std::vector<std::pair<std::string, std::string>> cases = {
        {Mp3FileBytes(Layout(f48, 2500)), Ok(128, 2500, 60)},
        {Mp3FileBytes(Layout(Format(3, 3, 2, true), 7500)), Ok(64, 7500, 60)},
        {Mp3FileBytes(Layout(Format(2, 2, 14), 1250)), Ok(160, 1250, 60)},
        {Mp3FileBytes(Layout(f48, 2500, 5000)), Ok(64, 5000, 120, true)},
        {Bytes(Layout(f48, 2500, 5000), 0, 2030), Ok(64, 5000, 120, true)}, // Xing read late
        // A count so large that the average bit rate comes to 0: the first header times it.
        {Mp3FileBytes(Layout(f48, 2500, 2000000000LL)), Ok(128, 2500, 60, true)},
        // Tags are no audio.
        {Bytes(Layout(f48, 2500, 5000), 2048, 0, v1), "0 vbr tag 64 5000 120 [Title] 2048 960000"},
        {Bytes(footer, 4096, 0), Ok(128, 2500, 60) + " [] 4096 960000"},
        {"", none},
        {std::string(3000, '\0') + Mp3HeaderBytes(f48).substr(0, 3), none}, // a header cut off
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
    // A second write through the same object replaces the tag it appended.
    std::string path = dir.Write("append.mp3", SongBytes(""));
    Mp3Info info;
    ASSERT_EQ(info.Open(path), MP3_OK);
    EXPECT_EQ(WriteTitle(info, "first"), MP3_OK);
    EXPECT_EQ(WriteTitle(info, "second"), MP3_OK);
    EXPECT_EQ(dir.Read(path), SongBytes(Id3v1TagBytes({"second", "", "", "0", "", -1, 255, '\0'})));
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
    {
        CScopedUnprivilegedFiles unprivileged;
        EXPECT_EQ(WriteTitle(info, "Title"), MP3_CANNOT_WRITE);
    }
    EXPECT_EQ(dir.Read("song.mp3"), original);
    // A file gone since it was opened is not created again.
    ASSERT_EQ(unlink(path.c_str()), 0);
    EXPECT_EQ(WriteTitle(info, "Title"), MP3_CANNOT_WRITE);
    EXPECT_NE(access(path.c_str(), F_OK), 0);
    EXPECT_TRUE(log.platform.messages.empty());
}
