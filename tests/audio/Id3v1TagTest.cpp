#include "audio/Id3v1Tag.h"
#include "AudioHelpers.h"
#include "audio/GenreNames.h"

#include <gtest/gtest.h>

#include <set>

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

std::string WithBytes(std::string bytes, std::size_t offset, const std::string& replacement) {
    return bytes.replace(offset, replacement.size(), replacement);
}

} // namespace

TEST(Id3v1Parse, ReadsEveryFieldOfTheFileImage) {
    Id3v1Fields raw;
    raw.title = "Song";
    raw.comment = std::string(28, 'c');
    raw.track = 7;
    raw.genre = 17;
    const std::string v11 = Id3v1TagBytes(raw);
    Id3v1Fields full;
    full.title = "Song";
    full.artist = kGbkSongTitle;
    full.album = std::string(30, 'A');
    full.comment = std::string(30, 'd');
    full.year = "1999";
    full.genre = 125;
    Id3v1Fields padded = full;
    padded.pad = ' ';
    padded.comment = "  ";
    const std::string c28(28, 'c'), d30(30, 'd'), a30(30, 'A');
    const struct {
        const char* name;
        std::string bytes;
        std::string fields; // of a fresh tag
    } cases[] = {
        // A 1.1 tag: byte 125 zero and byte 126 the track.
        {"1.1", v11, "Song|||" + c28 + "|0|7|1.1|17 Rock"},
        {"track 255", WithBytes(v11, 126, "\xFF"), "Song|||" + c28 + "|0|255|1.1|17 Rock"},
        // A comment using all 30 bytes is 1.0 whatever its byte 126.
        {"1.0", Id3v1TagBytes(full),
         "Song|中文歌名|" + a30 + "|" + d30 + "|1999|-1|1.0|125 Dance Hall"},
        {"spaces", Id3v1TagBytes(padded), "Song|中文歌名|" + a30 + "||1999|-1|1.0|125 Dance Hall"},
        // Text after a NUL is not part of the field.
        {"nul", WithBytes(v11, 3, std::string("Go\0away  x", 10)),
         "Go|||" + c28 + "|0|7|1.1|17 Rock"},
        // The year is read from its four bytes only, like atoi.
        {"year", WithBytes(WithBytes(v11, 93, " 12x"), 97, "2024"),
         "Song|||2024" + c28.substr(4) + "|12|7|1.1|17 Rock"},
        {"minus", WithBytes(v11, 93, "-5  "), "Song|||" + c28 + "|-5|7|1.1|17 Rock"},
        {"letters", WithBytes(v11, 93, "abcd"), "Song|||" + c28 + "|0|7|1.1|17 Rock"},
        {"genre past the table", WithBytes(v11, 127, "\x7E"),
         "Song|||" + c28 + "|0|7|1.1|126 not supported"},
    };
    for (const auto& c : cases) {
        Id3v1Tag tag;
        ASSERT_TRUE(ParseBytes(tag, c.bytes)) << c.name;
        EXPECT_EQ(FieldsOf(tag), c.fields) << c.name;
    }
    // A 1.0 tag read after a 1.1 one keeps the track read before.
    Id3v1Tag tag;
    ASSERT_TRUE(ParseBytes(tag, v11));
    ASSERT_TRUE(ParseBytes(tag, Id3v1TagBytes(full)));
    EXPECT_EQ(tag.GetTrack(), 7);
    // Bytes without the signature are refused and change nothing.
    EXPECT_FALSE(ParseBytes(tag, WithBytes(v11, 0, "tag")));
    EXPECT_EQ(tag.GetTitle(), "Song");
    EXPECT_EQ(tag.GetGenre(), 125);
}

TEST(Id3v1Build, WritesTheFileImageOfTheFieldsCutAtCharacters) {
    Id3v1Tag tag;
    // Starting values: empty texts, year 0, a 1.0 tag, genre 255.
    Id3v1Fields expected;
    expected.year = "0";
    EXPECT_EQ(BuildBytes(tag), Id3v1TagBytes(expected));

    tag.SetTitle("Song  ");
    tag.SetArtist("中文歌名");
    tag.SetAlbum(std::string(35, 'b'));
    tag.SetComment(std::string(30, 'c'));
    tag.SetYear(123456);
    tag.SetTrack(12);
    tag.SetGenreByName("Pop");
    expected.title = "Song";
    expected.artist = kGbkSongTitle;
    expected.album = std::string(30, 'b');
    expected.year = "1234";
    expected.comment = std::string(28, 'c');
    expected.track = 12;
    expected.genre = 13;
    EXPECT_EQ(BuildBytes(tag), Id3v1TagBytes(expected));
    // Back to 1.0: the comment has its 30 bytes again.
    tag.SetTrack(-1);
    expected.track = -1;
    expected.comment = std::string(30, 'c');
    EXPECT_EQ(BuildBytes(tag), Id3v1TagBytes(expected));

    // GBK texts are cut at character boundaries.
    tag.SetTitle("鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩"); // 16 characters, 32 bytes
    tag.SetArtist("a鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩鸣"); // 31 bytes
    tag.SetAlbum("");
    tag.SetYear(0);
    tag.SetComment("ab鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩"); // 30 bytes, 29 in a 1.1 tag
    tag.SetTrack(3);
    Id3v1Tag reread;
    ASSERT_TRUE(ParseBytes(reread, BuildBytes(tag)));
    EXPECT_EQ(FieldsOf(reread), "鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩鸣|a鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩||"
                                "ab鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩鸣|0|3|1.1|13 Pop");
    // A four-byte GB18030 character is never split either.
    for (std::size_t xs : {26, 27}) {
        tag.SetTitle(std::string(xs, 'x') + "🎵");
        EXPECT_EQ(tag.GetTitle(), std::string(xs, 'x') + (xs == 26 ? "🎵" : "")) << xs;
    }
    // Nor when a 1.1 tag's shorter comment field cuts it (its second byte is a digit, '9').
    tag.SetComment(std::string(25, 'x') + "🎵");
    ASSERT_TRUE(ParseBytes(reread, BuildBytes(tag)));
    EXPECT_EQ(reread.GetComment(), std::string(25, 'x'));
}

TEST(Id3v1Tag, RefusesTracksOutsideZeroTo255AndAsksAboutUnknownGenres) {
    CScopedRecordingPlatform log;
    Id3v1Tag tag;
    const struct {
        int set, track;
        Id3v1Version version;
    } steps[] = {{9, 9, Id3v1Version::V1_1},
                 {256, 9, Id3v1Version::V1_1},
                 {-2, 9, Id3v1Version::V1_1},
                 {0, 0, Id3v1Version::V1_1},
                 {-1, -1, Id3v1Version::V1_0}};
    for (const auto& s : steps) {
        tag.SetTrack(s.set);
        EXPECT_EQ(tag.GetTrack(), s.track) << s.set;
        EXPECT_TRUE(tag.GetVersion() == s.version) << s.set;
    }
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
    for (const char* unknown : {"rock", ""}) {
        EXPECT_EQ(FindGenreIndex(unknown), -1) << unknown;
    }
    EXPECT_EQ(std::set<std::string>(GenreNames, GenreNames + kGenreCount).size(), 126u);
    EXPECT_STREQ(GenreNames[14], "R&B");
}
