// The title and lead artist of an ID3v2 tag (versions 2.2, 2.3 and 2.4) at
// the start of an MP3 file, the texts that today's encoders and shops write
// instead of, or besides, an ID3v1 tag. Only these two texts are read; the
// tag is never written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

class Id3v2Tag {
public:
    // Copies up to count bytes of the file at offset into buffer and returns
    // how many it copied: fewer only at the end of the file.
    using ReadFunction =
        std::function<std::size_t(std::int64_t offset, unsigned char* buffer, std::size_t count)>;

    // A text frame larger than this is skipped unread: no title needs it.
    static constexpr std::size_t kMaxTextFrame = 64 * 1024;
    // A tag unsynchronised as a whole (2.2, 2.3) must be decoded before its
    // frames can be found; only this much of it is read.
    static constexpr std::size_t kMaxDecodedTag = 1024 * 1024;

    int version = 0;    // 2, 3 or 4 after a successful Read
    std::string title;  // UTF-8; empty when the tag has no usable title
    std::string artist; // the first of the lead artists, UTF-8

    // Reads the tag that starts at offset 0. False when the first bytes do
    // not start an ID3v2 tag of a known version; the texts are then empty.
    // Reads only within the tag's own size and never more than the limits
    // above, whatever the sizes in the tag claim.
    bool Read(const ReadFunction& read);
};

// Latin-1 text as ID3v2 stores it (text encoding 0). Bytes that are not all
// ASCII but form valid GBK are read as GBK, as Chinese taggers wrote them.
std::string DecodeId3Latin1(const std::string& bytes);
