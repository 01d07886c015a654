#include "AudioHelpers.h"
#include "audio/Mp3Info.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Lines = std::vector<std::string>;
const std::string kNa = "n/a";

// 50 frames after a 1000-byte ID3v2 tag, with the ID3v1 tag given (or none).
std::string SongBytes(const std::string& id3v1) {
    Mp3FileLayout layout;
    layout.frames = 50;
    layout.id3v2Size = 1000;
    layout.id3v1 = id3v1;
    return Mp3FileBytes(layout);
}

Id3v1Fields OldFields() {
    Id3v1Fields fields;
    fields.title = "Old title";
    fields.artist = "Artist";
    fields.album = "Album";
    fields.year = "1999";
    fields.comment = "Comment";
    fields.track = 5;
    fields.genre = 17;
    fields.pad = ' ';
    return fields;
}

// Makes the file system treat this thread as an unprivileged user, so that
// a read-only file stays read-only when the tests run as root.
class CUnprivileged {
public:
    CUnprivileged() : m_previous(geteuid() == 0 ? setfsuid(65534) : -1) {}
    ~CUnprivileged() {
        if (m_previous >= 0) {
            setfsuid(static_cast<uid_t>(m_previous));
        }
    }

private:
    int m_previous;
};

} // namespace

TEST(Mp3WriteTag, ReplacesOrAppendsTheTagAndNoOtherByte) {
    CScopedRecordingPlatform log;
    CTempDir dir;
    Id3v1Fields gbkTitle = OldFields();
    gbkTitle.title = "\xB1\xEA\xCC\xE2"; // 标题
    gbkTitle.year = "ab";
    // The fields left at "n/a" keep what was read; a file without a tag
    // starts from empty texts, year 0, version 1.0 and genre 255. Padding
    // spaces become NULs and a year without digits 0.
    Id3v1Fields replaced = OldFields();
    replaced.title = "New title";
    replaced.album = "\xD6\xD0\xCE\xC4\xD7\xA8\xBC\xAD"; // 中文专辑
    replaced.year = "2024";
    replaced.pad = '\0';
    Id3v1Fields appended;
    appended.title = "\xB1\xEA\xCC\xE2";
    appended.artist = "\xB8\xE8\xCA\xD6"; // 歌手
    appended.year = "0";
    Id3v1Fields kept = gbkTitle;
    kept.pad = '\0';
    kept.year = "0";
    // Fields cut by other taggers: a GBK lead byte alone at the end, a lead
    // byte and a digit that start a four-byte character.
    Id3v1Fields cut[2];
    for (int i = 0; i < 2; ++i) {
        cut[i].title = cut[i].artist = cut[i].album = cut[i].comment =
            i == 0 ? "abcdefghijklmnopqrstuvwxyz012\xD4" : "abcdefghijklmnopqrstuvwxyz01\x81\x30";
    }
    Id3v1Fields cutWritten[2] = {cut[0], cut[1]};
    cutWritten[0].year = cutWritten[1].year = "0";
    const Lines none = {kNa, kNa, kNa, kNa, kNa, kNa, kNa};
    const struct {
        const char* name;
        std::string tag;
        Lines fields; // title, artist, album, year, comment, track, genre
        std::string expectedTag;
    } cases[] = {
        {"replace",
         Id3v1TagBytes(OldFields()),
         {"New title", kNa, "中文专辑", "2024", kNa, kNa, kNa},
         Id3v1TagBytes(replaced)},
        {"append", "", {"标题", "歌手", kNa, kNa, kNa, kNa, kNa}, Id3v1TagBytes(appended)},
        {"keep", Id3v1TagBytes(gbkTitle), none, Id3v1TagBytes(kept)},
        {"cut lead byte", Id3v1TagBytes(cut[0]), none, Id3v1TagBytes(cutWritten[0])},
        {"cut four-byte character", Id3v1TagBytes(cut[1]), none, Id3v1TagBytes(cutWritten[1])},
    };
    for (const auto& c : cases) {
        std::string original = SongBytes(c.tag);
        std::string path = dir.Write(std::string(c.name) + ".mp3", original);
        Mp3Info info;
        ASSERT_EQ(info.Open(path), MP3_OK) << c.name;
        const Lines& f = c.fields;
        EXPECT_EQ(info.WriteTag(f[0], f[1], f[2], f[3], f[4], f[5], f[6]), MP3_OK) << c.name;
        EXPECT_EQ(dir.Read(path),
                  original.substr(0, original.size() - c.tag.size()) + c.expectedTag)
            << c.name;
    }

    // A second write through the same object replaces the tag it appended;
    // "N/A" and "n/A" are texts like any other.
    std::string path = dir.File("append.mp3");
    Mp3Info info;
    ASSERT_EQ(info.Open(path), MP3_OK);
    EXPECT_EQ(info.WriteTag("N/A", "n/A", kNa, kNa, kNa, "3", "Blues"), MP3_OK);
    EXPECT_EQ(dir.Read(path).size(), SongBytes("").size() + 128);
    Mp3Info reread;
    ASSERT_EQ(reread.Open(path), MP3_OK);
    EXPECT_EQ(Lines({reread.GetTitle(), reread.GetArtist(), reread.GetGenre()}),
              Lines({"N/A", "n/A", "Blues"}));
    EXPECT_EQ(reread.tag.GetTrack(), 3);
    EXPECT_EQ(reread.LengthSeconds(), info.LengthSeconds());
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
        CUnprivileged user;
        EXPECT_EQ(info.WriteTag("Title", kNa, kNa, kNa, kNa, kNa, kNa), MP3_CANNOT_WRITE);
    }
    EXPECT_EQ(dir.Read("song.mp3"), original);
    // A file gone since it was opened is not created again.
    ASSERT_EQ(unlink(path.c_str()), 0);
    EXPECT_EQ(info.WriteTag("Title", kNa, kNa, kNa, kNa, kNa, kNa), MP3_CANNOT_WRITE);
    EXPECT_NE(access(path.c_str(), F_OK), 0);
    // Without a successful open there is no file to write.
    Mp3Info unopened;
    EXPECT_EQ(unopened.WriteTag("Title", kNa, kNa, kNa, kNa, kNa, kNa), MP3_CANNOT_WRITE);
    Mp3Info failed;
    EXPECT_EQ(failed.Open(dir.File("missing.mp3")), MP3_CANNOT_READ);
    EXPECT_EQ(failed.WriteTag("Title", kNa, kNa, kNa, kNa, kNa, kNa), MP3_CANNOT_WRITE);
    EXPECT_NE(access(dir.File("missing.mp3").c_str(), F_OK), 0);
    EXPECT_EQ(log.platform.messages.size(), 1u); // only the failed open spoke
}
