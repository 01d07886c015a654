#include "audio/Id3v2Tag.h"
#include "support/Mp3Bytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

// A file image read through Id3v2Tag::Read, with the reads it asked for.
struct CReadLog {
    std::int64_t furthestEnd = 0;
    std::size_t largestRead = 0;
    std::size_t bytesRead = 0;
};

Id3v2Tag ReadImage(const std::string& file, CReadLog& log) {
    Id3v2Tag tag;
    tag.Read([&](std::int64_t offset, unsigned char* buffer, std::size_t count) -> std::size_t {
        log.furthestEnd = std::max<std::int64_t>(log.furthestEnd, offset + count);
        log.largestRead = std::max(log.largestRead, count);
        if (offset < 0 || offset >= static_cast<std::int64_t>(file.size())) {
            return 0;
        }
        std::size_t copied = std::min(count, file.size() - static_cast<std::size_t>(offset));
        std::memcpy(buffer, file.data() + offset, copied);
        log.bytesRead += copied;
        return copied;
    });
    return tag;
}

std::string Utf16Le(const std::u16string& text, bool bom) {
    std::string bytes = bom ? "\xFF\xFE" : "";
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

std::string Utf16Be(const std::u16string& text, bool bom) {
    std::string bytes = bom ? "\xFE\xFF" : "";
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit >> 8);
        bytes += static_cast<char>(unit & 0xFF);
    }
    return bytes;
}

std::string Frame(int version, const std::string& id, int encoding, const std::string& text,
                  unsigned char formatFlags = 0) {
    return Id3v2FrameBytes(version, id, Id3v2TextBody(encoding, text), formatFlags);
}

std::string Title(int version, int encoding, const std::string& text) {
    return Frame(version, version == 2 ? "TT2" : "TIT2", encoding, text);
}

std::string Artist(int version, int encoding, const std::string& text) {
    return Frame(version, version == 2 ? "TP1" : "TPE1", encoding, text);
}

const std::string kMoonRiverGbk = "\xD4\xC2\xC1\xC1\xBA\xD3"; // 月亮河
const std::string kAudio = Mp3FrameBytes(Mp3FrameFormat());

} // namespace

TEST(Id3v2Tag, ReadsTitleAndArtistInEveryVersionAndEncoding) {
    const std::string pictureFrame = Id3v2FrameBytes(3, "APIC", std::string(5000, '\xFF'));
    const struct {
        const char* name;
        std::string tag;
        std::string title;
        std::string artist;
    } cases[] = {
        {"2.3 Latin-1", Id3v2TagWithFrames(3, Title(3, 0, "Song") + Artist(3, 0, "Band")), "Song",
         "Band"},
        {"2.4 UTF-8", Id3v2TagWithFrames(4, Title(4, 3, "月亮河") + Artist(4, 3, "邓丽君")),
         "月亮河", "邓丽君"},
        {"2.3 UTF-16 LE with BOM",
         Id3v2TagWithFrames(3, Title(3, 1, Utf16Le(u"夜曲", true)) +
                                   Artist(3, 1, Utf16Le(u"Jay", true))),
         "夜曲", "Jay"},
        {"2.3 UTF-16 BE with BOM", Id3v2TagWithFrames(3, Title(3, 1, Utf16Be(u"夜曲", true))),
         "夜曲", ""},
        {"2.4 UTF-16BE", Id3v2TagWithFrames(4, Artist(4, 2, Utf16Be(u"周杰伦", false))), "",
         "周杰伦"},
        {"UTF-16 without BOM", Id3v2TagWithFrames(3, Artist(3, 1, Utf16Le(u"夜曲", false))), "",
         "夜曲"},
        {"UTF-16 surrogate pair", Id3v2TagWithFrames(3, Title(3, 1, Utf16Le(u"\U0001F3B5", true))),
         "\U0001F3B5", ""},
        {"2.2 three-letter frames",
         Id3v2TagWithFrames(2, Title(2, 0, "Caf\xE9") + Artist(2, 0, "X")), "Café", "X"},
        {"GBK in a Latin-1 frame", Id3v2TagWithFrames(3, Title(3, 0, kMoonRiverGbk)), "月亮河", ""},
        {"Latin-1 that is no GBK", Id3v2TagWithFrames(3, Artist(3, 0, "Beyonc\xE9 ")), "",
         "Beyoncé "},
        {"first of several values",
         Id3v2TagWithFrames(
             4, Title(4, 3, std::string("One\0Two", 7)) +
                    Artist(4, 1, Utf16Le(u"A", true) + std::string(2, '\0') + Utf16Le(u"B", true))),
         "One", "A"},
        {"line breaks become spaces", Id3v2TagWithFrames(4, Title(4, 3, "a\r\nb")), "a  b", ""},
        {"unknown encoding", Id3v2TagWithFrames(4, Title(4, 7, "x") + Artist(4, 3, "y")), "", "y"},
        {"frames after a large picture",
         Id3v2TagWithFrames(3, pictureFrame + Title(3, 0, "Late") + Artist(3, 0, "Band")), "Late",
         "Band"},
        {"first of two title frames",
         Id3v2TagWithFrames(3, Title(3, 0, "First") + Title(3, 0, "Second")), "First", ""},
    };
    for (const auto& c : cases) {
        CReadLog log;
        Id3v2Tag tag = ReadImage(c.tag + kAudio, log);
        EXPECT_EQ(tag.title, c.title) << c.name;
        EXPECT_EQ(tag.artist, c.artist) << c.name;
        EXPECT_LE(log.furthestEnd, static_cast<std::int64_t>(c.tag.size())) << c.name;
    }
}

TEST(Id3v2Tag, DecodesUnsynchronisationExtendedHeadersAndFrameFlags) {
    const std::string title3 = Title(3, 1, Utf16Le(u"ÿ夜", true)); // BOM and 0xFF bytes
    const std::string artist3 = Artist(3, 0, "\xFF\xFE");
    const std::string extended3 = std::string("\0\0\0\x06", 4) + std::string(6, '\0');
    const std::string extended4 = std::string("\0\0\0\x06\x01\0", 6);
    const std::string unsyncBody = Id3v2Unsync(Id3v2TextBody(1, Utf16Le(u"ÿ", true)));
    const std::string lengthIndicator("\0\0\0\x05", 4);
    const struct {
        const char* name;
        std::string tag;
        std::string title;
        std::string artist;
    } cases[] = {
        {"2.3 whole tag unsynchronised", Id3v2TagWithFrames(3, Id3v2Unsync(title3 + artist3), 0x80),
         "ÿ夜", "ÿþ"},
        {"2.3 extended header", Id3v2TagWithFrames(3, extended3 + title3, 0x40), "ÿ夜", ""},
        {"2.3 unsynchronised extended header",
         Id3v2TagWithFrames(3, Id3v2Unsync(extended3 + artist3), 0xC0), "", "ÿþ"},
        {"2.4 extended header", Id3v2TagWithFrames(4, extended4 + Artist(4, 3, "A"), 0x40), "",
         "A"},
        {"2.4 frame unsynchronised with a length indicator",
         Id3v2TagWithFrames(4, Id3v2FrameBytes(4, "TIT2", lengthIndicator + unsyncBody, 0x03)), "ÿ",
         ""},
        {"2.4 tag unsynchronised",
         Id3v2TagWithFrames(4, Id3v2FrameBytes(4, "TIT2", unsyncBody), 0x80), "ÿ", ""},
        {"2.3 grouped frame",
         Id3v2TagWithFrames(3, Id3v2FrameBytes(3, "TIT2", "\x07" + Id3v2TextBody(0, "G"), 0x20)),
         "G", ""},
        {"2.4 grouped frame",
         Id3v2TagWithFrames(4, Id3v2FrameBytes(4, "TPE1", "\x07" + Id3v2TextBody(0, "G"), 0x40)),
         "", "G"},
        {"2.3 compressed frame skipped",
         Id3v2TagWithFrames(3, Frame(3, "TIT2", 0, "zip", 0x80) + Artist(3, 0, "B")), "", "B"},
        {"2.3 encrypted frame skipped", Id3v2TagWithFrames(3, Frame(3, "TIT2", 0, "enc", 0x40)), "",
         ""},
        {"2.4 compressed frame skipped", Id3v2TagWithFrames(4, Frame(4, "TIT2", 0, "zip", 0x08)),
         "", ""},
        {"2.4 encrypted frame skipped", Id3v2TagWithFrames(4, Frame(4, "TPE1", 0, "enc", 0x04)), "",
         ""},
        {"2.4 size written without seven-bit bytes",
         Id3v2TagWithFrames(4, "TIT2" + std::string("\0\0\0\xC8\0\0", 6) +
                                   Id3v2TextBody(0, std::string(199, 'a')) + Artist(4, 0, "B")),
         std::string(199, 'a'), "B"},
        {"2.2 compressed tag", Id3v2TagWithFrames(2, Title(2, 0, "x"), 0x40), "", ""},
    };
    for (const auto& c : cases) {
        CReadLog log;
        Id3v2Tag tag = ReadImage(c.tag + kAudio, log);
        EXPECT_EQ(tag.title, c.title) << c.name;
        EXPECT_EQ(tag.artist, c.artist) << c.name;
        EXPECT_LE(log.furthestEnd, static_cast<std::int64_t>(c.tag.size())) << c.name;
    }
}

TEST(Id3v2Tag, DamagedSizesNeitherCrashNorReadPastTheTag) {
    const std::string song = Title(3, 0, "Song");
    const struct {
        const char* name;
        std::string file;
        std::string title;
        std::string artist;
    } cases[] = {
        {"frame runs past the tag",
         Id3v2TagWithFrames(3, song + Id3v2FrameBytes(3, "TPE1", Id3v2TextBody(0, "B"), 0, 500)) +
             kAudio,
         "Song", ""},
        {"frame one byte longer than the tag",
         Id3v2TagWithFrames(3, song + Artist(3, 0, "Band"), 0, 0, 15 + 10 + 4) + kAudio, "Song",
         ""},
        {"tag runs past the file", Id3v2TagWithFrames(3, song + Artist(3, 0, "Band"), 0, 0, 100000),
         "Song", "Band"},
        {"frame of 16 MB in a 1 KB file",
         Id3v2TagWithFrames(4, Id3v2FrameBytes(4, "TIT2", Id3v2TextBody(0, "x"), 0, 16 << 20), 0,
                            1000) +
             kAudio.substr(0, 100),
         "", ""},
        {"empty frames",
         Id3v2TagWithFrames(3, Frame(3, "TIT2", 0, "") + Id3v2FrameBytes(3, "TPE1", "") + song),
         "Song", ""},
        {"padding ends the frames", Id3v2TagWithFrames(3, std::string(20, '\0') + song), "", ""},
        {"bytes that are no frame id", Id3v2TagWithFrames(3, "tit2" + song.substr(4)), "", ""},
        {"tag of a version yet to come", "ID3\x05" + std::string(6, '\0') + song, "", ""},
        {"header cut short", std::string("ID3\x03\0\0\0\0", 8), "", ""},
    };
    for (const auto& c : cases) {
        CReadLog log;
        Id3v2Tag tag = ReadImage(c.file, log);
        EXPECT_EQ(tag.title, c.title) << c.name;
        EXPECT_EQ(tag.artist, c.artist) << c.name;
        // The header's own size, whatever the file holds.
        std::int64_t tagEnd = 10;
        for (std::size_t i = 6; i < 10 && i < c.file.size(); ++i) {
            tagEnd += static_cast<std::int64_t>(static_cast<unsigned char>(c.file[i]))
                      << (7 * (9 - i));
        }
        EXPECT_LE(log.furthestEnd, tagEnd) << c.name;
        EXPECT_LE(log.largestRead, Id3v2Tag::kMaxTextFrame) << c.name;
    }
}

TEST(Id3v2Tag, SkipsACoverPictureWithoutReadingIt) {
    const std::string cover = Id3v2FrameBytes(4, "APIC", std::string(300 * 1024, '\x55'));
    for (unsigned char flags : {0x00, 0x80}) {
        CReadLog log;
        std::string tag =
            Id3v2TagWithFrames(4, cover + Title(4, 3, "After the cover"), flags, 2048);
        EXPECT_EQ(ReadImage(tag + kAudio, log).title, "After the cover") << int(flags);
        EXPECT_LT(log.bytesRead, 1024u) << int(flags);
    }
    // A whole-tag unsynchronised 2.3 tag is decoded once, within its limit.
    CReadLog log;
    std::string big = Id3v2TagWithFrames(
        3,
        Id3v2FrameBytes(3, "APIC", std::string(2 * Id3v2Tag::kMaxDecodedTag, 'x')) +
            Title(3, 0, "Lost"),
        0x80);
    EXPECT_EQ(ReadImage(big, log).title, "");
    EXPECT_EQ(log.bytesRead, 10 + Id3v2Tag::kMaxDecodedTag);
}
