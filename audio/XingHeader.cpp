#include "audio/XingHeader.h"

#include <cstring>

namespace {

const unsigned char kFramesFlag = 0x01; // lowest bit of the big-endian flags word

} // namespace

int XingHeader::Load(const unsigned char bytes[12]) {
    frameCount = -1;
    if (std::memcmp(bytes, "Xing", 4) != 0) {
        return 0;
    }
    if ((bytes[7] & kFramesFlag) != 0) {
        std::uint32_t count = (static_cast<std::uint32_t>(bytes[8]) << 24) |
                              (static_cast<std::uint32_t>(bytes[9]) << 16) |
                              (static_cast<std::uint32_t>(bytes[10]) << 8) |
                              static_cast<std::uint32_t>(bytes[11]);
        frameCount = static_cast<std::int32_t>(count);
    }
    return 1;
}
