// The Xing header that VBR encoders put into the first frame: its frame
// count gives a variable-bit-rate file its average bit rate.
#pragma once

#include <cstdint>

class XingHeader {
public:
    // Frames in the file; -1 when there is no Xing header or it holds no count.
    std::int32_t frameCount = -1;

    // Reads the 12 bytes at the Xing offset of a frame. Returns 1 when they
    // start with the signature "Xing" (exactly, case-sensitive), else 0.
    int Load(const unsigned char bytes[12]);
};
