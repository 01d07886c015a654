#include "audio/SongFile.h"

#include "AudioHelpers.h"
#include "platform/TextEncoding.h"
#include "support/Library.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

std::string V1(const std::string& titleBytes, const std::string& artistBytes, char pad = '\0') {
    return Id3v1TagBytes(Id3v1Fields{titleBytes, artistBytes, "Album", "", "", -1, 17, pad});
}

std::string V2(const std::string& title, const std::string& artist) {
    return Id3v2TagWithFrames(4,
                              Id3v2FrameBytes(4, "TIT2", Id3v2TextBody(3, title)) +
                                  Id3v2FrameBytes(4, "TPE1", Id3v2TextBody(3, artist)),
                              0, 300);
}

// A song whose every field shows whether it was written.
CSongItem Untouched() {
    CSongItem song = *TestSong("old title", 77, "/old", "old.name");
    song.artist = "old artist";
    song.style = 2005;
    song.order = 9;
    song.size = 1;
    return song;
}

// A second of 8-bit PCM whose RIFF INFO chunk names the artist.
std::string WavWithArtist(const std::string& artist) {
    auto chunk = [](const std::string& id, const std::string& body) {
        const auto n = static_cast<unsigned>(body.size());
        return id + std::string{char(n), char(n >> 8), char(n >> 16), char(n >> 24)} + body +
               std::string(n % 2, '\0');
    };
    const std::string format("\1\0\1\0\x40\x1F\0\0\x40\x1F\0\0\1\0\x08\0", 16);
    return chunk("RIFF", "WAVE" + chunk("fmt ", format) + chunk("data", std::string(8000, '\x80')) +
                             chunk("LIST", "INFO" + chunk("IART", artist + '\0')));
}

const std::string kLongChinese = "一二三四五六七八九十甲乙丙丁戊己庚辛"; // 36 GBK bytes

} // namespace

TEST(ReadSongFile, FillsTheSongFromItsFileEntryAndAnMp3Tag) {
    CScopedRecordingPlatform log;
    CTempDir dir;
    const std::string tagged = MinuteWithTags("", V1("Tagged", "Tagged"));
    const std::string d = dir.Path();
    const struct {
        const char* name;
        std::string bytes;
        std::string fields; // title|artist|style|time|order|fileName|fileType|location|size
    } cases[] = {
        {"album/Track One.mp3", MinuteWithTags("", V1("\xB8\xE8\xC3\xFB", "Singer")), // 歌名
         "歌名|Singer|2001|60|0|Track One.mp3|mp3|" + d + "/album|960128"},
        // Capital letters in the extension count; the type is lower-cased.
        {"LOUD.MP3", MinuteWithTags("", ""), "LOUD|N/A|2001|60|0|LOUD.MP3|mp3|" + d + "|960000"},
        // 200 bytes: name, type, folder and size only; the rest stays.
        {"small.mp3", tagged.substr(0, 72) + V1("Tagged", "Tagged"),
         "old title|old artist|2005|77|0|small.mp3|mp3|" + d + "|200"},
        // Other types are never opened.
        {"Tune.wma", tagged, "Tune|N/A|2001|0|0|Tune.wma|wma|" + d + "|960128"},
        // No frame header, but a tag: the tag is not taken either.
        {"Broken.mp3", std::string(1000, 'x') + V1("Tagged", "Tagged"),
         "Broken|N/A|2001|0|0|Broken.mp3|mp3|" + d + "|1128"},
    };
    for (const auto& c : cases) {
        CSongItem song = Untouched();
        ASSERT_TRUE(ReadSongFile(dir.Write(c.name, c.bytes), &song)) << c.name;
        EXPECT_EQ(Describe(song), c.fields) << c.name;
    }
    // Without a file the song is left alone.
    dir.Write("folder.mp3/inside.txt", "x");
    for (const std::string& path :
         {dir.File("missing.mp3"), dir.File("folder.mp3"), std::string()}) {
        CSongItem song = Untouched();
        EXPECT_FALSE(ReadSongFile(path, &song) || FillSongFromFile(&song, path)) << path;
        EXPECT_EQ(Describe(song), Describe(Untouched())) << path;
    }
    EXPECT_FALSE(ReadSongFile(dir.File("LOUD.MP3"), nullptr));
    EXPECT_FALSE(FillSongFromFile(nullptr, dir.File("LOUD.MP3")));
    EXPECT_EQ(ShownBoxes(log.platform), Lines(1, PlainBox(kNoMp3Header, dir.File("Broken.mp3"))));
}

TEST(SongTagText, AnId3v1TextWinsUnlessItSaysNothingOrRepeatsTheId3v2Text) {
    const std::string gbk = EncodeGb18030(kLongChinese);
    const struct {
        const char* name;
        std::string v2;
        std::string v1;
        std::string title;
        std::string artist;
    } cases[] = {
        {"ID3v1 written later", V2("Old", "Old band"), V1("New", EncodeGb18030("新歌手")), "New",
         "新歌手"},
        // A tagger that could not write Chinese in the tag left question marks.
        {"question marks", V2("月亮河", "邓丽君"), V1("???", "? ?"), "月亮河", "邓丽君"},
        {"cut inside a character", V2("a" + kLongChinese, "A"), V1("a" + gbk.substr(0, 29), "A"),
         "a" + kLongChinese, "A"},
        {"cut in Latin-1", V2("Ça plane pour moi, again and again", "Plastic Bertrand"),
         V1("\xC7"
            "a plane pour moi, again and a",
            "Plastic Bertrand"),
         "Ça plane pour moi, again and again", "Plastic Bertrand"},
        {"Latin-1 with question marks", V2("Café 夜曲", "B"), V1("Caf\xE9 ??", "B"), "Café 夜曲",
         "B"},
        {"a shorter ID3v1 text is no cut", V2(kLongChinese, "A"), V1(gbk.substr(0, 20), "A"),
         kLongChinese.substr(0, 30), "A"},
    };
    CScopedRecordingPlatform log;
    CTempDir dir;
    for (const auto& c : cases) {
        std::string path = dir.Write("file name.mp3", MinuteWithTags(c.v2, c.v1));
        CSongItem song;
        ASSERT_TRUE(ReadSongFile(path, &song)) << c.name;
        EXPECT_EQ(song.title + "|" + song.artist + "|" + std::to_string(song.time),
                  c.title + "|" + c.artist + "|60")
            << c.name;
        EXPECT_EQ(ReadArtistFromFile(path), c.artist) << c.name;
    }
    // Files of the other formats give their tag's artist.
    EXPECT_EQ(ReadArtistFromFile(dir.Write("f.wav", WavWithArtist("Band"))), "Band");
    EXPECT_TRUE(log.platform.messages.empty());
}
