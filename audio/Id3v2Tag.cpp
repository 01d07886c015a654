#include "audio/Id3v2Tag.h"

#include "platform/TextEncoding.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

const std::size_t kHeaderSize = 10;
const unsigned char kUnsyncFlag = 0x80;
// 2.3 and 2.4: an extended header follows; 2.2: the whole tag is compressed.
const unsigned char kSecondFlag = 0x40;

// Format flags of a 2.3 frame (second flag byte).
const unsigned char kV23Compressed = 0x80;
const unsigned char kV23Encrypted = 0x40;
const unsigned char kV23Grouped = 0x20;
// Format flags of a 2.4 frame (second flag byte).
const unsigned char kV24Grouped = 0x40;
const unsigned char kV24Compressed = 0x08;
const unsigned char kV24Encrypted = 0x04;
const unsigned char kV24Unsync = 0x02;
const unsigned char kV24LengthIndicator = 0x01;

std::uint32_t BigEndian(const unsigned char* bytes, int count) {
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i) {
        value = (value << 8) | bytes[i];
    }
    return value;
}

// Four bytes of seven bits each; false when a byte has its top bit set.
bool SyncSafe(const unsigned char* bytes, std::uint32_t& value) {
    value = 0;
    for (int i = 0; i < 4; ++i) {
        if (bytes[i] >= 0x80) {
            return false;
        }
        value = (value << 7) | bytes[i];
    }
    return true;
}

// Undoes unsynchronisation: every 0xFF 0x00 pair stands for 0xFF.
std::string RemoveUnsync(const std::string& bytes) {
    std::string plain;
    plain.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        plain += bytes[i];
        if (static_cast<unsigned char>(bytes[i]) == 0xFF && i + 1 < bytes.size() &&
            bytes[i + 1] == '\0') {
            ++i;
        }
    }
    return plain;
}

bool IsGbk(const std::string& bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            continue;
        }
        if (lead == 0x80 || lead == 0xFF || i + 1 >= bytes.size()) {
            return false;
        }
        auto trail = static_cast<unsigned char>(bytes[++i]);
        if (trail < 0x40 || trail == 0x7F || trail == 0xFF) {
            return false;
        }
    }
    return true;
}

void AppendUtf8(std::string& text, std::uint32_t code) {
    if (code < 0x80) {
        text += static_cast<char>(code);
    } else if (code < 0x800) {
        text += static_cast<char>(0xC0 | (code >> 6));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        text += static_cast<char>(0xE0 | (code >> 12));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (code >> 18));
        text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// UTF-16 up to the first zero unit; a byte-order mark decides the order,
// else bigEndian does. Lone surrogates become U+FFFD.
std::string DecodeUtf16(const std::string& bytes, bool bigEndian) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t units = bytes.size() / 2;
    std::size_t i = 0;
    if (units > 0 &&
        ((data[0] == 0xFF && data[1] == 0xFE) || (data[0] == 0xFE && data[1] == 0xFF))) {
        bigEndian = data[0] == 0xFE;
        i = 1;
    }
    auto unitAt = [&](std::size_t k) -> std::uint32_t {
        return bigEndian ? (data[2 * k] << 8) | data[2 * k + 1]
                         : (data[2 * k + 1] << 8) | data[2 * k];
    };
    std::string text;
    for (; i < units; ++i) {
        std::uint32_t unit = unitAt(i);
        if (unit == 0) {
            break;
        }
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units && unitAt(i + 1) >= 0xDC00 &&
            unitAt(i + 1) <= 0xDFFF) {
            unit = 0x10000 + ((unit - 0xD800) << 10) + (unitAt(++i) - 0xDC00);
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            unit = 0xFFFD;
        }
        AppendUtf8(text, unit);
    }
    return text;
}

std::string UpToNul(const std::string& bytes) {
    return bytes.substr(0, bytes.find('\0'));
}

// The first value of a text frame's body. Several values are separated by
// the encoding's zero character; later ones are not wanted.
std::string FirstTextValue(const std::string& body) {
    if (body.empty()) {
        return std::string();
    }
    std::string text = body.substr(1);
    std::string value;
    switch (body[0]) {
    case 0:
        value = DecodeId3Latin1(UpToNul(text));
        break;
    case 1:
        value = DecodeUtf16(text, false);
        break;
    case 2:
        value = DecodeUtf16(text, true);
        break;
    case 3:
        value = UpToNul(text);
        if (!IsValidUtf8(value)) {
            value = DecodeId3Latin1(value);
        }
        break;
    default:
        return std::string(); // an unknown encoding names nothing
    }
    // A line break would end a record line of the store files early.
    for (char& c : value) {
        if (static_cast<unsigned char>(c) < 0x20) {
            c = ' ';
        }
    }
    return value;
}

bool IsFrameIdChar(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// Reads frames from a source whose offsets run from begin to end.
class CFrameWalker {
public:
    CFrameWalker(const Id3v2Tag::ReadFunction& read, int version, bool tagUnsync)
        : m_read(read), m_version(version), m_tagUnsync(tagUnsync) {}

    void Walk(std::int64_t position, std::int64_t end, Id3v2Tag& tag) const {
        const std::size_t headerSize = m_version == 2 ? 6 : 10;
        const std::size_t idSize = m_version == 2 ? 3 : 4;
        unsigned char header[10];
        while ((tag.title.empty() || tag.artist.empty()) &&
               end - position >= static_cast<std::int64_t>(headerSize)) {
            if (m_read(position, header, headerSize) != headerSize ||
                !std::all_of(header, header + idSize, IsFrameIdChar)) {
                return; // padding, or bytes that are no frame
            }
            std::int64_t bodyStart = position + static_cast<std::int64_t>(headerSize);
            std::int64_t size = FrameSize(header);
            if (size > end - bodyStart) {
                return; // a frame that runs past the tag: nothing after it is sound
            }
            std::string id(reinterpret_cast<const char*>(header), idSize);
            std::string* field = FieldFor(id, tag);
            if (field != nullptr && field->empty() &&
                size <= static_cast<std::int64_t>(Id3v2Tag::kMaxTextFrame)) {
                *field = ReadText(bodyStart, static_cast<std::size_t>(size), header[9]);
            }
            position = bodyStart + size;
        }
    }

private:
    const Id3v2Tag::ReadFunction& m_read;
    int m_version;
    bool m_tagUnsync;

    std::int64_t FrameSize(const unsigned char* header) const {
        if (m_version == 2) {
            return BigEndian(header + 3, 3);
        }
        std::uint32_t size = 0;
        // Some 2.4 writers put plain sizes where seven-bit ones belong.
        if (m_version == 4 && SyncSafe(header + 4, size)) {
            return size;
        }
        return BigEndian(header + 4, 4);
    }

    std::string* FieldFor(const std::string& id, Id3v2Tag& tag) const {
        if (id == (m_version == 2 ? "TT2" : "TIT2")) {
            return &tag.title;
        }
        if (id == (m_version == 2 ? "TP1" : "TPE1")) {
            return &tag.artist;
        }
        return nullptr;
    }

    // The frame's first text; empty for compressed and encrypted frames,
    // which are skipped.
    std::string ReadText(std::int64_t offset, std::size_t size, unsigned char format) const {
        std::size_t skip = 0;
        bool unsync = false;
        if (m_version == 3) {
            if ((format & (kV23Compressed | kV23Encrypted)) != 0) {
                return std::string();
            }
            skip = (format & kV23Grouped) != 0 ? 1 : 0;
        } else if (m_version == 4) {
            if ((format & (kV24Compressed | kV24Encrypted)) != 0) {
                return std::string();
            }
            skip = ((format & kV24Grouped) != 0 ? 1 : 0) +
                   ((format & kV24LengthIndicator) != 0 ? 4 : 0);
            unsync = m_tagUnsync || (format & kV24Unsync) != 0;
        }
        if (skip >= size) {
            return std::string();
        }
        std::string body(size - skip, '\0');
        auto* buffer = reinterpret_cast<unsigned char*>(&body[0]);
        if (m_read(offset + static_cast<std::int64_t>(skip), buffer, body.size()) != body.size()) {
            return std::string();
        }
        return FirstTextValue(unsync ? RemoveUnsync(body) : body);
    }
};

} // namespace

std::string DecodeId3Latin1(const std::string& bytes) {
    bool ascii = std::all_of(bytes.begin(), bytes.end(),
                             [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) {
        return bytes;
    }
    if (IsGbk(bytes)) {
        return DecodeGb18030(bytes);
    }
    std::string text;
    for (char c : bytes) {
        AppendUtf8(text, static_cast<unsigned char>(c));
    }
    return text;
}

bool Id3v2Tag::Read(const ReadFunction& read) {
    *this = Id3v2Tag();
    unsigned char header[kHeaderSize];
    std::uint32_t size = 0;
    if (read(0, header, kHeaderSize) != kHeaderSize || std::memcmp(header, "ID3", 3) != 0 ||
        header[3] < 2 || header[3] > 4 || header[4] == 0xFF || !SyncSafe(header + 6, size)) {
        return false;
    }
    version = header[3];
    const unsigned char flags = header[5];
    if (version == 2 && (flags & kSecondFlag) != 0) {
        return true; // a compressed 2.2 tag: no compression scheme was ever defined
    }
    const bool unsync = (flags & kUnsyncFlag) != 0;
    std::int64_t end = static_cast<std::int64_t>(kHeaderSize) + size;

    // 2.2 and 2.3 unsynchronise the whole tag, frame headers included: the
    // frames are found in a decoded copy of a bounded part of it.
    std::string decoded;
    ReadFunction fromCopy = [&decoded](std::int64_t offset, unsigned char* buffer,
                                       std::size_t count) -> std::size_t {
        if (offset < 0 || offset >= static_cast<std::int64_t>(decoded.size())) {
            return 0;
        }
        std::size_t copied = std::min(count, decoded.size() - static_cast<std::size_t>(offset));
        std::memcpy(buffer, decoded.data() + offset, copied);
        return copied;
    };
    const ReadFunction* source = &read;
    std::int64_t position = static_cast<std::int64_t>(kHeaderSize);
    if (unsync && version < 4) {
        std::string raw(std::min<std::size_t>(size, kMaxDecodedTag), '\0');
        raw.resize(read(position, reinterpret_cast<unsigned char*>(&raw[0]), raw.size()));
        decoded = RemoveUnsync(raw);
        source = &fromCopy;
        position = 0;
        end = static_cast<std::int64_t>(decoded.size());
    }

    if (version >= 3 && (flags & kSecondFlag) != 0) {
        unsigned char extended[4];
        if ((*source)(position, extended, 4) != 4) {
            return true;
        }
        std::uint32_t extendedSize = 0;
        if (version == 3) {
            position += 4 + static_cast<std::int64_t>(BigEndian(extended, 4));
        } else if (SyncSafe(extended, extendedSize)) {
            position += std::max<std::int64_t>(extendedSize, 4);
        } else {
            return true;
        }
    }
    CFrameWalker(*source, version, unsync).Walk(position, end, *this);
    return true;
}
