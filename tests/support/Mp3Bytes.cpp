#include "support/Mp3Bytes.h"

#include <algorithm>

namespace {

// Bit rates by [MPEG-1 ? 1 : 0][layer bits][index], kbit/s.
const int kBitrates[2][4][16] = {
    {{0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0}},
    {{0},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
     {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0}}};

const int kSampleRates[4][3] = {
    {11025, 12000, 8000}, {0, 0, 0}, {22050, 24000, 16000}, {44100, 48000, 32000}};

// count bytes of size, most significant first, bitsPerByte bits in each.
std::string SizeBytes(unsigned long long size, int count, int bitsPerByte) {
    std::string bytes;
    for (int i = count - 1; i >= 0; --i) {
        bytes += static_cast<char>((size >> (i * bitsPerByte)) & ((1ULL << bitsPerByte) - 1));
    }
    return bytes;
}

// Bit rate (kbit/s) and sample rate (Hz) from the standard tables; 0 for none.
int Mp3TableBitrate(const Mp3FrameFormat& format) {
    return kBitrates[format.version == 3 ? 1 : 0][format.layer & 3][format.bitrateIndex & 15];
}

int Mp3SampleRate(const Mp3FrameFormat& format) {
    return format.sampleRateIndex > 2 ? 0
                                      : kSampleRates[format.version & 3][format.sampleRateIndex];
}

// Bytes of one frame, padding included (at least the 4 header bytes).
std::size_t Mp3FrameLength(const Mp3FrameFormat& format) {
    long long bits = 1000LL * Mp3TableBitrate(format);
    int sampleRate = Mp3SampleRate(format);
    long long padding = format.padding ? 1 : 0;
    if (bits == 0 || sampleRate == 0) {
        return 4;
    }
    if (format.layer == 3) { // Layer I counts in 4-byte slots
        return static_cast<std::size_t>((12 * bits / sampleRate + padding) * 4);
    }
    long long factor = (format.layer == 1 && format.version != 3) ? 72 : 144;
    return static_cast<std::size_t>(std::max(4LL, factor * bits / sampleRate + padding));
}

// One frame with a Xing header that counts frameCount frames.
std::string Mp3XingFrameBytes(const Mp3FrameFormat& format, long long frameCount) {
    std::string frame = Mp3FrameBytes(format);
    // After the header and the side information.
    std::size_t offset = format.version == 3 ? (format.mono ? 21 : 36) : (format.mono ? 13 : 21);
    if (frame.size() < offset + 16) {
        frame.resize(offset + 16, '\0');
    }
    frame.replace(offset, 12, "Xing" + SizeBytes(1, 4, 8) + SizeBytes(frameCount, 4, 8));
    return frame;
}

// An ID3v2 tag of exactly totalSize bytes (at least 10, 20 with the 2.4 footer).
std::string Id3v2TagBytes(std::size_t totalSize, bool footer) {
    std::size_t extra = footer ? 20 : 10;
    std::string tag = Id3v2TagWithFrames(footer ? 4 : 3, "", footer ? 0x10 : 0,
                                         totalSize > extra ? totalSize - extra : 0);
    return footer ? tag + "3DI" + tag.substr(3, 7) : tag;
}

} // namespace

std::string Mp3HeaderBytes(const Mp3FrameFormat& format) {
    unsigned long word = 0xFFE00000UL;
    word |= static_cast<unsigned long>(format.version & 3) << 19;
    word |= static_cast<unsigned long>(format.layer & 3) << 17;
    word |= 1UL << 16; // no CRC
    word |= static_cast<unsigned long>(format.bitrateIndex & 15) << 12;
    word |= static_cast<unsigned long>(format.sampleRateIndex & 3) << 10;
    word |= (format.padding ? 1UL : 0UL) << 9;
    word |= (format.mono ? 3UL : 0UL) << 6;
    word |= static_cast<unsigned long>(format.emphasis & 3);
    return SizeBytes(word, 4, 8);
}

std::string Mp3FrameBytes(const Mp3FrameFormat& format) {
    std::string frame = Mp3HeaderBytes(format);
    frame.resize(Mp3FrameLength(format), '\0');
    return frame;
}

std::string Id3v1TagBytes(const Id3v1Fields& fields) {
    const bool v11 = fields.track >= 0;
    const std::pair<std::string, std::size_t> texts[] = {{fields.title, 30},
                                                         {fields.artist, 30},
                                                         {fields.album, 30},
                                                         {fields.year, 4},
                                                         {fields.comment, v11 ? 28 : 30}};
    std::string tag = "TAG";
    for (auto [text, width] : texts) {
        text.resize(width, fields.pad);
        tag += text;
    }
    if (v11) {
        tag += std::string(1, '\0') + static_cast<char>(fields.track & 0xFF);
    }
    return tag + static_cast<char>(fields.genre & 0xFF);
}

std::string Mp3FileBytes(const Mp3FileLayout& layout) {
    std::string file;
    if (layout.id3v2Size > 0) {
        file += Id3v2TagBytes(layout.id3v2Size, layout.id3v2Footer);
    }
    file.append(layout.leadingZeros, '\0');
    std::string frame = Mp3FrameBytes(layout.format);
    for (int i = 0; i < layout.frames; ++i) {
        if (i == 0 && layout.xing) {
            file += Mp3XingFrameBytes(layout.format, layout.xingFrames);
        } else {
            file += frame;
        }
    }
    file += layout.id3v1;
    return file;
}

std::string Id3v2FrameBytes(int version, const std::string& id, const std::string& body,
                            unsigned char formatFlags, long long claimedSize) {
    unsigned long long size =
        claimedSize >= 0 ? static_cast<unsigned long long>(claimedSize) : body.size();
    std::string flags = std::string(1, '\0') + static_cast<char>(formatFlags);
    return id.substr(0, 4) + SizeBytes(size, 4, version == 4 ? 7 : 8) + flags + body;
}

std::string Id3v2TextBody(int encoding, const std::string& encodedText) {
    return std::string(1, static_cast<char>(encoding)) + encodedText;
}

std::string Id3v2TagWithFrames(int version, const std::string& frames, unsigned char flags,
                               std::size_t padding, long long claimedSize) {
    unsigned long long size =
        claimedSize >= 0 ? static_cast<unsigned long long>(claimedSize) : frames.size() + padding;
    std::string header = std::string("ID3") + static_cast<char>(version) + '\0' +
                         static_cast<char>(flags) + SizeBytes(size, 4, 7);
    return header + frames + std::string(padding, '\0');
}

std::string Id3v2Unsync(const std::string& bytes) {
    std::string out;
    for (char c : bytes) {
        out += c;
        if (static_cast<unsigned char>(c) == 0xFF) {
            out += '\0';
        }
    }
    return out;
}

std::string TaggedMp3Bytes(const std::string& title, int frames) {
    Mp3FileLayout layout;
    layout.frames = frames;
    Id3v1Fields fields;
    fields.title = title;
    layout.id3v1 = Id3v1TagBytes(fields);
    return Mp3FileBytes(layout);
}
