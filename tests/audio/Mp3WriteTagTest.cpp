#include "ShownBoxes.h"
#include "audio/Mp3Info.h"
#include "support/Mp3Bytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace {

const std::string kGbkTitle = "\xB1\xEA\xCC\xE2";  // 标题
const std::string kGbkArtist = "\xB8\xE8\xCA\xD6"; // 歌手

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
    CUnprivileged(const CUnprivileged&) = delete;
    CUnprivileged& operator=(const CUnprivileged&) = delete;

private:
    int m_previous;
};

} // namespace

TEST(Mp3WriteTag, ReplacesTheOldTagAndNoOtherByte) {
    CScopedRecordingPlatform log;
    CTempDir dir;
    std::string original = SongBytes(Id3v1TagBytes(OldFields()));
    std::string path = dir.Write("song.mp3", original);
    Mp3Info info;
    ASSERT_EQ(info.Open(path), MP3_OK);
    ASSERT_TRUE(info.hasTag);
    EXPECT_EQ(info.WriteTag("New title", "n/a", "中文专辑", "2024", "n/a", "n/a", "n/a"), MP3_OK);

    std::string written = dir.Read("song.mp3");
    ASSERT_EQ(written.size(), original.size());
    std::size_t audio = original.size() - 128;
    EXPECT_TRUE(written.compare(0, audio, original, 0, audio) == 0);
    Id3v1Fields expected = OldFields();
    expected.title = "New title";
    expected.album = "\xD6\xD0\xCE\xC4\xD7\xA8\xBC\xAD"; // 中文专辑
    expected.year = "2024";
    expected.pad = '\0';
    EXPECT_EQ(written.substr(audio), Id3v1TagBytes(expected));
    EXPECT_TRUE(log.platform.messages.empty());
}

TEST(Mp3WriteTag, AppendsATagOnceToAFileWithoutOne) {
    CScopedRecordingPlatform log;
    CTempDir dir;
    std::string original = SongBytes("");
    std::string path = dir.Write("song.mp3", original);
    Mp3Info info;
    ASSERT_EQ(info.Open(path), MP3_OK);
    ASSERT_FALSE(info.hasTag);
    EXPECT_EQ(info.WriteTag("标题", "歌手", "n/a", "n/a", "n/a", "n/a", "n/a"), MP3_OK);
    // The fields left at "n/a" take the starting values: empty, year 0,
    // version 1.0, genre 255.
    Id3v1Fields expected;
    expected.title = kGbkTitle;
    expected.artist = kGbkArtist;
    expected.year = "0";
    EXPECT_EQ(dir.Read("song.mp3"), original + Id3v1TagBytes(expected));

    // A second write through the same object replaces the tag it appended.
    EXPECT_EQ(info.WriteTag("n/a", "n/a", "n/a", "n/a", "n/a", "3", "Blues"), MP3_OK);
    expected.track = 3;
    expected.genre = 0;
    EXPECT_EQ(dir.Read("song.mp3"), original + Id3v1TagBytes(expected));

    Mp3Info reread;
    ASSERT_EQ(reread.Open(path), MP3_OK);
    EXPECT_EQ(reread.GetTitle(), "标题");
    EXPECT_EQ(reread.GetArtist(), "歌手");
    EXPECT_EQ(reread.tag.GetTrack(), 3);
    EXPECT_EQ(reread.GetGenre(), "Blues");
    EXPECT_EQ(reread.LengthSeconds(), info.LengthSeconds());
    EXPECT_TRUE(log.platform.messages.empty());
}

TEST(Mp3WriteTag, EveryFieldGivenAsNaKeepsTheTagThatWasRead) {
    CScopedRecordingPlatform log;
    CTempDir dir;
    Id3v1Fields fields = OldFields();
    fields.title = kGbkTitle;
    fields.year = "ab";
    std::string original = SongBytes(Id3v1TagBytes(fields));
    std::string path = dir.Write("song.mp3", original);
    Mp3Info info;
    ASSERT_EQ(info.Open(path), MP3_OK);
    EXPECT_EQ(info.WriteTag("n/a", "n/a", "n/a", "n/a", "n/a", "n/a", "n/a"), MP3_OK);
    // Only the padding spaces become NULs and a year without digits 0.
    fields.pad = '\0';
    fields.year = "0";
    EXPECT_EQ(dir.Read("song.mp3"),
              original.substr(0, original.size() - 128) + Id3v1TagBytes(fields));
    // "N/A" and "n/A" are texts like any other.
    EXPECT_EQ(info.WriteTag("N/A", "n/A", "n/a", "n/a", "n/a", "n/a", "n/a"), MP3_OK);
    Mp3Info reread;
    ASSERT_EQ(reread.Open(path), MP3_OK);
    EXPECT_EQ(reread.GetTitle(), "N/A");
    EXPECT_EQ(reread.GetArtist(), "n/A");
    EXPECT_EQ(reread.GetAlbum(), "Album");
}

TEST(Mp3WriteTag, WritesOnAfterARefusedTrackOrAnUnknownGenre) {
    CScopedRecordingPlatform log;
    CTempDir dir;
    std::string path = dir.Write("song.mp3", SongBytes(Id3v1TagBytes(OldFields())));
    Mp3Info info;
    ASSERT_EQ(info.Open(path), MP3_OK);
    log.platform.answers.push_back(CAnswer::No);
    EXPECT_EQ(info.WriteTag("Title", "n/a", "n/a", "n/a", "n/a", "300", "Cantopop"), MP3_OK);
    Mp3Info reread;
    ASSERT_EQ(reread.Open(path), MP3_OK);
    EXPECT_EQ(reread.GetTitle(), "Title");
    EXPECT_EQ(reread.tag.GetTrack(), 5);
    EXPECT_EQ(reread.GetGenre(), "Rock");

    log.platform.answers.push_back(CAnswer::Yes);
    EXPECT_EQ(info.WriteTag("n/a", "n/a", "n/a", "n/a", "n/a", "-1", "Cantopop"), MP3_OK);
    ASSERT_EQ(reread.Open(path), MP3_OK);
    EXPECT_EQ(reread.tag.GetVersion(), Id3v1Version::V1_0);
    EXPECT_EQ(reread.GetGenre(), "not supported");

    const std::string question =
        "the genre Cantopop couldn't be found\ndo you want to set it to \"not supported\"?";
    EXPECT_EQ(
        ShownBoxes(log.platform),
        (std::vector<std::string>{
            PlainBox("The tracknumber, should be between 0 and 255", "MP3Info Example"),
            QuestionBox(question, "MP3Info Example"), QuestionBox(question, "MP3Info Example")}));
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
        EXPECT_EQ(info.WriteTag("Title", "n/a", "n/a", "n/a", "n/a", "n/a", "n/a"),
                  MP3_CANNOT_WRITE);
    }
    EXPECT_EQ(dir.Read("song.mp3"), original);

    // A file gone since it was opened is not created again.
    ASSERT_EQ(unlink(path.c_str()), 0);
    EXPECT_EQ(info.WriteTag("Title", "n/a", "n/a", "n/a", "n/a", "n/a", "n/a"), MP3_CANNOT_WRITE);
    EXPECT_NE(access(path.c_str(), F_OK), 0);

    // Without a successful open there is no file to write.
    std::string other = dir.Write("other.mp3", original);
    Mp3Info unopened;
    EXPECT_EQ(unopened.WriteTag("Title", "n/a", "n/a", "n/a", "n/a", "n/a", "n/a"),
              MP3_CANNOT_WRITE);
    Mp3Info failed;
    EXPECT_EQ(failed.Open(dir.File("missing.mp3")), MP3_CANNOT_READ);
    EXPECT_EQ(failed.WriteTag("Title", "n/a", "n/a", "n/a", "n/a", "n/a", "n/a"), MP3_CANNOT_WRITE);
    EXPECT_EQ(dir.Read("other.mp3"), original);
    EXPECT_NE(access(dir.File("missing.mp3").c_str(), F_OK), 0);
    // Only the failed open spoke.
    EXPECT_EQ(log.platform.messages.size(), 1u);
}
