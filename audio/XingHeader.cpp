#include "audio/XingHeader.h"

#include <cstring>

namespace {

const unsigned char kFramesFlag = 0x01; // lowest bit of the big-endian flags word
const int kVbriFramesOffset = 14;

std::int32_t BigEndianCount(const unsigned char* bytes) {
    std::uint32_t count = (static_cast<std::uint32_t>(bytes[0]) << 24) |
                          (static_cast<std::uint32_t>(bytes[1]) << 16) |
                          (static_cast<std::uint32_t>(bytes[2]) << 8) |
                          static_cast<std::uint32_t>(bytes[3]);
    return static_cast<std::int32_t>(count);
}

} // namespace

int XingHeader::Load(const unsigned char bytes[12]) {
    frameCount = -1;
    constantBitrate = std::memcmp(bytes, "Info", 4) == 0;
    if (std::memcmp(bytes, "Xing", 4) != 0 && std::memcmp(bytes, "Info", 4) != 0) {
        return 0;
    }
    if ((bytes[7] & kFramesFlag) != 0) {
        frameCount = BigEndianCount(bytes + 8);
    }
    return 1;
}

int XingHeader::LoadVbri(const unsigned char bytes[18]) {
    frameCount = -1;
    constantBitrate = false;
    if (std::memcmp(bytes, "VBRI", 4) != 0) {
        return 0;
    }
    frameCount = BigEndianCount(bytes + kVbriFramesOffset);
    return 1;
}
