#include "audio/Id3v1Tag.h"
#include "ShownBoxes.h"
#include "audio/GenreNames.h"
#include "support/Mp3Bytes.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

const std::string kGbkSongTitle = "\xD6\xD0\xCE\xC4\xB8\xE8\xC3\xFB"; // 中文歌名
const std::string kTrackMessage = "The tracknumber, should be between 0 and 255";
const std::string kCaption = "MP3Info Example";

bool ParseBytes(Id3v1Tag& tag, const std::string& bytes) {
    return tag.Parse(reinterpret_cast<const unsigned char*>(bytes.data()));
}

std::string BuildBytes(const Id3v1Tag& tag) {
    unsigned char bytes[Id3v1Tag::kSize];
    tag.Build(bytes);
    return std::string(reinterpret_cast<const char*>(bytes), Id3v1Tag::kSize);
}

struct Fields {
    std::string title, artist, album, comment;
    int year, track;
    Id3v1Version version;
    int genre;
    bool operator==(const Fields& o) const {
        return title == o.title && artist == o.artist && album == o.album && comment == o.comment &&
               year == o.year && track == o.track && version == o.version && genre == o.genre;
    }
    friend std::ostream& operator<<(std::ostream& out, const Fields& f) {
        return out << "{" << f.title << "|" << f.artist << "|" << f.album << "|" << f.comment << "|"
                   << f.year << "|" << f.track << "|"
                   << (f.version == Id3v1Version::V1_1 ? "1.1" : "1.0") << "|" << f.genre << "}";
    }
};

Fields FieldsOf(const Id3v1Tag& tag) {
    return {tag.GetTitle(), tag.GetArtist(), tag.GetAlbum(),   tag.GetComment(),
            tag.GetYear(),  tag.GetTrack(),  tag.GetVersion(), tag.GetGenre()};
}

} // namespace

TEST(Id3v1Parse, TellsVersion11FromTheTwoBytesBeforeTheGenre) {
    Id3v1Fields raw;
    raw.title = "Song";
    raw.comment = std::string(28, 'c');
    raw.track = 7;
    raw.genre = 17;
    Id3v1Tag tag;
    ASSERT_TRUE(ParseBytes(tag, Id3v1TagBytes(raw)));
    EXPECT_EQ(FieldsOf(tag),
              (Fields{"Song", "", "", std::string(28, 'c'), 0, 7, Id3v1Version::V1_1, 17}));
    EXPECT_EQ(tag.GenreName(), "Rock");

    // Bytes 125 and 126 both 0: a 1.0 tag; the track read before stays.
    raw.track = -1;
    raw.comment = std::string(30, 'd');
    std::string bytes = Id3v1TagBytes(raw);
    bytes[125] = bytes[126] = '\0';
    ASSERT_TRUE(ParseBytes(tag, bytes));
    EXPECT_EQ(FieldsOf(tag),
              (Fields{"Song", "", "", std::string(28, 'd'), 0, 7, Id3v1Version::V1_0, 17}));

    // A comment using all 30 bytes is 1.0 whatever its byte 126.
    bytes = Id3v1TagBytes(raw);
    Id3v1Tag fresh;
    ASSERT_TRUE(ParseBytes(fresh, bytes));
    EXPECT_EQ(FieldsOf(fresh),
              (Fields{"Song", "", "", std::string(30, 'd'), 0, -1, Id3v1Version::V1_0, 17}));
    // Track 255 reads as unsigned.
    raw.track = 255;
    ASSERT_TRUE(ParseBytes(fresh, Id3v1TagBytes(raw)));
    EXPECT_EQ(fresh.GetTrack(), 255);
}

TEST(Id3v1Parse, ReadsTextsPaddedWithSpacesOrNulsAndGbk) {
    Id3v1Fields raw;
    raw.title = "Song";
    raw.artist = kGbkSongTitle;
    raw.album = std::string(30, 'A');
    raw.comment = "  ";
    raw.year = "1999";
    raw.genre = 125;
    for (char pad : {'\0', ' '}) {
        raw.pad = pad;
        Id3v1Tag tag;
        ASSERT_TRUE(ParseBytes(tag, Id3v1TagBytes(raw)));
        EXPECT_EQ(FieldsOf(tag), (Fields{"Song", "中文歌名", std::string(30, 'A'), "", 1999, -1,
                                         Id3v1Version::V1_0, 125}))
            << "pad " << int(pad);
        EXPECT_EQ(tag.GenreName(), "Dance Hall");
    }
    // Text after a NUL is not part of the field.
    std::string bytes = Id3v1TagBytes(raw);
    bytes.replace(3, 10, std::string("Go\0away  x", 10));
    Id3v1Tag tag;
    ASSERT_TRUE(ParseBytes(tag, bytes));
    EXPECT_EQ(tag.GetTitle(), "Go");
}

TEST(Id3v1Parse, ReadsTheYearFromItsFourBytesOnly) {
    struct Case {
        std::string field;
        int year;
    };
    for (const Case& c : {Case{"1999", 1999}, Case{" 12x", 12}, Case{"-5  ", -5}, Case{"abcd", 0},
                          Case{std::string(4, '\0'), 0}, Case{std::string("+7\0\0", 4), 7}}) {
        Id3v1Fields raw;
        raw.year = c.field;
        raw.comment = "2024"; // digits right after the year field are not read
        std::string bytes = Id3v1TagBytes(raw);
        bytes.replace(93, 4, c.field);
        Id3v1Tag tag;
        ASSERT_TRUE(ParseBytes(tag, bytes));
        EXPECT_EQ(tag.GetYear(), c.year) << c.field;
    }
}

TEST(Id3v1Parse, RefusesBytesWithoutTheSignatureAndKeepsTheFields) {
    Id3v1Tag tag;
    tag.SetTitle("Kept");
    tag.SetYear(2001);
    Id3v1Fields raw;
    raw.title = "Other";
    for (const char* signature : {"tag", "TAG"}) {
        std::string bytes = Id3v1TagBytes(raw);
        bytes.replace(0, 3, signature);
        bool parsed = ParseBytes(tag, bytes);
        EXPECT_EQ(parsed, std::string(signature) == "TAG");
        EXPECT_EQ(tag.GetTitle(), parsed ? "Other" : "Kept");
    }
}

TEST(Id3v1Build, WritesTheFileImageOfTheFields) {
    Id3v1Tag tag;
    // Starting values: empty texts, year 0, a 1.0 tag, genre 255.
    Id3v1Fields empty;
    empty.year = "0";
    EXPECT_EQ(BuildBytes(tag), Id3v1TagBytes(empty));

    tag.SetTitle("Song  ");
    tag.SetArtist("中文歌名");
    tag.SetAlbum(std::string(35, 'b'));
    tag.SetComment(std::string(30, 'c'));
    tag.SetYear(123456);
    tag.SetTrack(12);
    tag.SetGenreByName("Pop");
    Id3v1Fields expected;
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

    Id3v1Tag reread;
    ASSERT_TRUE(ParseBytes(reread, BuildBytes(tag)));
    EXPECT_EQ(FieldsOf(reread), (Fields{"Song", "中文歌名", std::string(30, 'b'),
                                        std::string(30, 'c'), 1234, -1, Id3v1Version::V1_0, 13}));
}

TEST(Id3v1Build, CutsGbkTextsAtCharacterBoundaries) {
    Id3v1Tag tag;
    tag.SetTitle("鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩"); // 16 characters, 32 bytes
    tag.SetArtist("a鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩鸣"); // 31 bytes
    tag.SetComment("ab鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩"); // 30 bytes, 29 in a 1.1 tag
    tag.SetTrack(3);
    EXPECT_EQ(tag.GetTitle(), "鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩鸣");
    EXPECT_EQ(tag.GetArtist(), "a鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩");
    Id3v1Tag reread;
    ASSERT_TRUE(ParseBytes(reread, BuildBytes(tag)));
    EXPECT_EQ(FieldsOf(reread),
              (Fields{"鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩鸣", "a鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩", "",
                      "ab鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩鸣蛩鸣", 0, 3, Id3v1Version::V1_1, 255}));
    // A four-byte GB18030 character is never split either.
    tag.SetTitle(std::string(27, 'x') + "🎵");
    EXPECT_EQ(tag.GetTitle(), std::string(27, 'x'));
    tag.SetTitle(std::string(26, 'x') + "🎵");
    EXPECT_EQ(tag.GetTitle(), std::string(26, 'x') + "🎵");
}

TEST(Id3v1Track, RefusesTracksOutsideZeroTo255WithAMessage) {
    CScopedRecordingPlatform log;
    Id3v1Tag tag;
    tag.SetTrack(9);
    tag.SetTrack(256);
    EXPECT_EQ(tag.GetTrack(), 9);
    EXPECT_EQ(tag.GetVersion(), Id3v1Version::V1_1);
    tag.SetTrack(-2);
    EXPECT_EQ(tag.GetTrack(), 9);
    tag.SetTrack(0);
    EXPECT_EQ(tag.GetTrack(), 0);
    EXPECT_EQ(tag.GetVersion(), Id3v1Version::V1_1);
    tag.SetTrack(-1);
    EXPECT_EQ(tag.GetTrack(), -1);
    EXPECT_EQ(tag.GetVersion(), Id3v1Version::V1_0);
    EXPECT_EQ(ShownBoxes(log.platform),
              (std::vector<std::string>{PlainBox(kTrackMessage, kCaption),
                                        PlainBox(kTrackMessage, kCaption)}));
}

TEST(Id3v1Genre, NamesAndLooksUpTheGenreTable) {
    Id3v1Tag tag;
    EXPECT_EQ(tag.GenreName(), "not supported"); // 255
    struct Named {
        int index;
        const char* name;
    };
    for (const Named& n :
         {Named{0, "Blues"}, Named{14, "R&B"}, Named{29, "Jazz+Funk"}, Named{40, "AlternRock"},
          Named{60, "Top 40"}, Named{62, "Pop/Funk"}, Named{67, "Psychadelic"},
          Named{78, "Rock & Roll"}, Named{79, "Hard Rock"}, Named{80, "Folk"}, Named{85, "Bebob"},
          Named{93, "Psychedelic Rock"}, Named{109, "Porn Groove"}, Named{123, "Acapella"},
          Named{125, "Dance Hall"}}) {
        EXPECT_STREQ(GenreNames[n.index], n.name);
        EXPECT_EQ(FindGenreIndex(n.name), n.index);
    }
    EXPECT_EQ(std::set<std::string>(GenreNames, GenreNames + kGenreCount).size(), 126u);
    EXPECT_EQ(FindGenreIndex("rock"), -1);
    EXPECT_EQ(FindGenreIndex("Rock"), 17);
    EXPECT_EQ(FindGenreIndex("not supported"), -1);
    EXPECT_EQ(FindGenreIndex(""), -1);

    Id3v1Fields raw;
    for (int genre : {126, 200, 255}) {
        raw.genre = genre;
        ASSERT_TRUE(ParseBytes(tag, Id3v1TagBytes(raw)));
        EXPECT_EQ(tag.GenreName(), "not supported") << genre;
    }
}

TEST(Id3v1Genre, SetsByNameIgnoringCaseAndAsksAboutUnknownNames) {
    CScopedRecordingPlatform log;
    Id3v1Tag tag;
    tag.SetGenreByName("rock");
    EXPECT_EQ(tag.GetGenre(), 17);
    tag.SetGenreByName("ROCK & ROLL");
    EXPECT_EQ(tag.GetGenre(), 78);
    EXPECT_TRUE(log.platform.messages.empty());

    log.platform.answers.push_back(CAnswer::No);
    tag.SetGenreByName("Chinese Pop");
    EXPECT_EQ(tag.GetGenre(), 78);
    log.platform.answers.push_back(CAnswer::Yes);
    tag.SetGenreByName("Chinese Pop");
    EXPECT_EQ(tag.GetGenre(), 255);
    const std::string question =
        "the genre Chinese Pop couldn't be found\ndo you want to set it to \"not supported\"?";
    EXPECT_EQ(ShownBoxes(log.platform),
              (std::vector<std::string>{QuestionBox(question, kCaption),
                                        QuestionBox(question, kCaption)}));
}
