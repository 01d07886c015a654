// The header that encoders put into the first frame to count the frames of
// the file: "Xing" (VBR) and "Info" (CBR) from LAME and Xing, "VBRI" from
// Fraunhofer. Its count gives the playing time and the average bit rate.
#pragma once

#include <cstdint>

class XingHeader {
public:
    // Frames in the file; -1 when there is no Xing header or it holds no count.
    std::int32_t frameCount = -1;
    // "Info": LAME's header of a constant-bit-rate file, whose first frame
    // header gives the bit rate exactly.
    bool constantBitrate = false;

    // Reads the 12 bytes at the Xing offset of a frame. Returns 1 when they
    // start with the signature "Xing" or "Info" (exactly, case-sensitive),
    // else 0.
    int Load(const unsigned char bytes[12]);
    // Reads the 18 bytes that start 32 bytes after the frame header. Returns
    // 1 when they start with "VBRI"; its frame count is always present.
    int LoadVbri(const unsigned char bytes[18]);
};
