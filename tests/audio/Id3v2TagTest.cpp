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

std::string Utf16(const std::u16string& text, bool bigEndian, bool bom) {
    std::string bytes = bom ? (bigEndian ? "\xFE\xFF" : "\xFF\xFE") : "";
    for (char16_t unit : text) {
        char high = static_cast<char>(unit >> 8);
        char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

std::string Frame(int version, const std::string& id, int encoding, const std::string& text,
                  unsigned char formatFlags = 0) {
    return Id3v2FrameBytes(version, id, Id3v2TextBody(encoding, text), formatFlags);
}

std::string Title(int version, int encoding, const std::string& text) {
    return Frame(version, "TIT2", encoding, text);
}

std::string Artist(int version, int encoding, const std::string& text) {
    return Frame(version, "TPE1", encoding, text);
}

const std::string kAudio = Mp3FrameBytes(Mp3FrameFormat());

} // namespace

// Damaged sizes neither crash nor read past the size the tag's header gives.
TEST(Id3v2Tag, ReadsTheTextsOfEachEncodingAndFrameFormat) {
    const std::string unsyncBody = Id3v2Unsync(Id3v2TextBody(1, Utf16(u"ÿ", false, true)));
    const struct {
        const char* name;
        std::string tag;
        std::string title;
        std::string artist;
    } cases[] = {
        {"UTF-16 with BOM",
         Id3v2TagWithFrames(3, Title(3, 1, Utf16(u"夜曲", true, true)) +
                                   Artist(3, 1, Utf16(u"Jay", false, true))),
         "夜曲", "Jay"},
        {"UTF-16BE and UTF-16 without BOM",
         Id3v2TagWithFrames(4, Title(4, 2, Utf16(u"周杰伦", true, false)) +
                                   Artist(4, 1, Utf16(u"\U0001F3FF", false, false))),
         "周杰伦", "\U0001F3FF"},
        {"GBK with the lowest trail byte", Id3v2TagWithFrames(3, Title(3, 0, "\x81\x40")), "丂",
         ""},
        {"2.4 extended header",
         Id3v2TagWithFrames(4, std::string("\0\0\0\x06\x01\0", 6) + Artist(4, 3, "A"), 0x40), "",
         "A"},
        {"2.4 frame grouped, unsynchronised, with a length indicator",
         Id3v2TagWithFrames(
             4, Id3v2FrameBytes(4, "TIT2", std::string("\x07\0\0\0\x05", 5) + unsyncBody, 0x43)),
         "ÿ", ""},
        {"2.4 tag unsynchronised after compressed and encrypted frames",
         Id3v2TagWithFrames(4,
                            Frame(4, "TIT2", 0, "zip", 0x08) + Frame(4, "TPE1", 0, "enc", 0x04) +
                                Id3v2FrameBytes(4, "TIT2", unsyncBody),
                            0x80),
         "ÿ", ""},
        {"frame one byte longer than the tag",
         Id3v2TagWithFrames(3, Title(3, 0, "Song") + Artist(3, 0, "Band"), 0, 0, 15 + 10 + 4),
         "Song", ""},
        {"frame of 16 MB in a 1 KB file",
         Id3v2TagWithFrames(4, Id3v2FrameBytes(4, "TIT2", Id3v2TextBody(0, "x"), 0, 16 << 20), 0,
                            1000),
         "", ""},
    };
    for (const auto& c : cases) {
        CReadLog log;
        Id3v2Tag tag = ReadImage(c.tag + kAudio, log);
        EXPECT_EQ(tag.title + "|" + tag.artist, c.title + "|" + c.artist) << c.name;
        std::int64_t tagEnd = 10;
        for (std::size_t i = 6; i < 10; ++i) {
            tagEnd += static_cast<std::int64_t>(static_cast<unsigned char>(c.tag[i]))
                      << (7 * (9 - i));
        }
        EXPECT_LE(log.furthestEnd, tagEnd) << c.name;
        EXPECT_LE(log.largestRead, Id3v2Tag::kMaxTextFrame) << c.name;
    }
}

// A whole-tag unsynchronised 2.3 tag is decoded once, within its limit.
TEST(Id3v2Tag, DecodesAnUnsynchronisedTagOnlyUpToItsLimit) {
    CReadLog log;
    std::string big = Id3v2TagWithFrames(
        3,
        Id3v2FrameBytes(3, "APIC", std::string(2 * Id3v2Tag::kMaxDecodedTag, 'x')) +
            Title(3, 0, "Lost"),
        0x80);
    EXPECT_EQ(ReadImage(big, log).title, "");
    EXPECT_EQ(log.bytesRead, 10 + Id3v2Tag::kMaxDecodedTag);
}
