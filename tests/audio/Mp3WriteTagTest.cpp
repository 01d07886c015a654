#include "AudioHelpers.h"
#include "audio/Mp3Info.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::string kNa = "n/a";

// 50 frames after a 1000-byte ID3v2 tag, with the ID3v1 tag given (or none).
std::string SongBytes(const std::string& id3v1) {
    Mp3FileLayout layout;
    layout.frames = 50;
    layout.id3v2Size = 1000;
    layout.id3v1 = id3v1;
    return Mp3FileBytes(layout);
}

Mp3Result WriteTitle(Mp3Info& info, const std::string& title) {
    return info.WriteTag(title, kNa, kNa, kNa, kNa, kNa, kNa);
}

} // namespace

// Fields other taggers cut (a GBK lead byte alone at the end, a lead byte and
// a digit that start a four-byte character) and fields left at "n/a" are
// written back byte for byte; padding spaces become NULs, a year without
// digits 0.
TEST(Mp3WriteTag, FieldsLeftAtNaAreKeptByteForByte) {
    CScopedRecordingPlatform log;
    CTempDir dir;
    Id3v1Fields gbk;
    gbk.title = "\xB1\xEA\xCC\xE2"; // 标题
    gbk.artist = "Artist";
    gbk.comment = "Comment";
    gbk.year = "ab";
    gbk.track = 5;
    gbk.genre = 17;
    gbk.pad = ' ';
    Id3v1Fields cut[2];
    for (int i = 0; i < 2; ++i) {
        cut[i].title = cut[i].artist = cut[i].album = cut[i].comment =
            i == 0 ? "abcdefghijklmnopqrstuvwxyz012\xD4" : "abcdefghijklmnopqrstuvwxyz01\x81\x30";
    }
    for (Id3v1Fields fields : {gbk, cut[0], cut[1]}) {
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
