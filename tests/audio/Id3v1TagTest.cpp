#include "audio/Id3v1Tag.h"
#include "AudioHelpers.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

const std::string kGbkSongTitle = "\xD6\xD0\xCE\xC4\xB8\xE8\xC3\xFB"; // 中文歌名
const std::string kCaption = "MP3Info Example";

bool ParseBytes(Id3v1Tag& tag, const std::string& bytes) {
    return tag.Parse(reinterpret_cast<const unsigned char*>(bytes.data()));
}

std::string BuildBytes(const Id3v1Tag& tag) {
    unsigned char bytes[Id3v1Tag::kSize];
    tag.Build(bytes);
    return std::string(reinterpret_cast<const char*>(bytes), Id3v1Tag::kSize);
}

// "title|artist|album|comment|year|track|version|genre name".
std::string FieldsOf(const Id3v1Tag& tag) {
    return tag.GetTitle() + "|" + tag.GetArtist() + "|" + tag.GetAlbum() + "|" + tag.GetComment() +
           "|" + std::to_string(tag.GetYear()) + "|" + std::to_string(tag.GetTrack()) + "|" +
           (tag.GetVersion() == Id3v1Version::V1_1 ? "1.1" : "1.0") + "|" +
           std::to_string(tag.GetGenre()) + " " + tag.GenreName();
}

} // namespace

TEST(Id3v1Parse, ReadsEveryFieldOfTheFileImage) {
    const std::string c28(28, 'c'), d30(30, 'd'), a30(30, 'A');
    const std::string v11 = Id3v1TagBytes(Id3v1Fields{"Song", "", "", "", c28, 7, 17, '\0'});
    const Id3v1Fields full{"Song", kGbkSongTitle, a30, "1999", d30, -1, 125, '\0'};
    const struct {
        const char* name;
        std::string bytes;
        std::string fields; // of a fresh tag
    } cases[] = {
        // A 1.1 tag: byte 125 zero and byte 126 the track.
        {"1.1", v11, "Song|||" + c28 + "|0|7|1.1|17 Rock"},
        // A comment using all 30 bytes is 1.0 whatever its byte 126.
        {"1.0", Id3v1TagBytes(full),
         "Song|中文歌名|" + a30 + "|" + d30 + "|1999|-1|1.0|125 Dance Hall"},
    };
    for (const auto& c : cases) {
        Id3v1Tag tag;
        ASSERT_TRUE(ParseBytes(tag, c.bytes)) << c.name;
        EXPECT_EQ(FieldsOf(tag), c.fields) << c.name;
    }
    // Bytes without the signature are refused and change nothing.
    Id3v1Tag tag;
    ASSERT_TRUE(ParseBytes(tag, v11));
    EXPECT_FALSE(ParseBytes(tag, std::string(v11).replace(0, 3, "tag")));
    EXPECT_EQ(FieldsOf(tag), cases[0].fields);
}

TEST(Id3v1Build, WritesTheFileImageOfTheFieldsCutAtCharacters) {
    Id3v1Tag tag;
    tag.SetTitle("Song  ");
    tag.SetAlbum(std::string(35, 'b'));
    tag.SetComment(std::string(30, 'c'));
    tag.SetYear(123456);
    tag.SetTrack(12);
    EXPECT_EQ(BuildBytes(tag), Id3v1TagBytes(Id3v1Fields{"Song", "", std::string(30, 'b'), "1234",
                                                         std::string(28, 'c'), 12, 255, '\0'}));

    // A 1.1 tag's shorter comment field cuts GBK texts at a character, a
    // four-byte one too (its second byte is a digit, '9').
    tag.SetTrack(3);
    const std::string xs(25, 'x');
    for (const auto& [comment, kept] :
         {std::pair<std::string, std::string>{"ab鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩",
                                              "ab鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩鸣"},
          {xs + "🎵", xs}}) {
        tag.SetComment(comment);
        Id3v1Tag reread;
        ASSERT_TRUE(ParseBytes(reread, BuildBytes(tag)));
        EXPECT_EQ(reread.GetComment(), kept);
    }
}

TEST(Id3v1Tag, RefusesTracksOutsideZeroTo255AndAsksAboutUnknownGenres) {
    CScopedRecordingPlatform log;
    Id3v1Tag tag;
    std::string tracks;
    for (int set : {9, 256, -2, -1}) {
        tag.SetTrack(set);
        tracks += std::to_string(tag.GetTrack()) +
                  (tag.GetVersion() == Id3v1Version::V1_1 ? "/1.1 " : "/1.0 ");
    }
    EXPECT_EQ(tracks, "9/1.1 9/1.1 9/1.1 -1/1.0 ");
    // Names are found ignoring case; an unknown one asks before it clears the genre.
    log.platform.answers = {CAnswer::No, CAnswer::Yes};
    std::string genres;
    for (const char* name : {"rock", "ROCK & ROLL", "Chinese Pop", "Chinese Pop"}) {
        tag.SetGenreByName(name);
        genres += std::to_string(tag.GetGenre()) + " ";
    }
    EXPECT_EQ(genres, "17 78 78 255 ");
    const std::string track = PlainBox("The tracknumber, should be between 0 and 255", kCaption);
    const std::string question = "? " + PlainBox("the genre Chinese Pop couldn't be found\ndo you "
                                                 "want to set it to \"not supported\"?",
                                                 kCaption);
    EXPECT_EQ(ShownBoxes(log.platform), (Lines{track, track, question, question}));
    EXPECT_EQ(tag.GenreName(), "not supported");
}
