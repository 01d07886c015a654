// One MPEG audio frame header: the four bytes that start a frame, with the
// version, layer, bit rate and sample rate they encode.
#pragma once

#include <cstdint>

class MpegHeader {
public:
    // The header bytes in file order as a big-endian number.
    std::uint32_t bits = 0;

    void Load(const unsigned char bytes[4]);
    // Frame sync set, and no reserved or forbidden version, layer, bit-rate,
    // sample-rate or emphasis value.
    bool IsValid() const;

    int Version() const {
        return static_cast<int>((bits >> 19) & 3);
    } // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
    int Layer() const { return static_cast<int>((bits >> 17) & 3); } // 1 III, 2 II, 3 I
    int BitrateIndex() const { return static_cast<int>((bits >> 12) & 15); }
    int SampleRateIndex() const { return static_cast<int>((bits >> 10) & 3); }
    bool IsMono() const { return ((bits >> 6) & 3) == 3; }
    int Emphasis() const { return static_cast<int>(bits & 3); }

    // Hz; 0 for a reserved version or index.
    int SampleRate() const;
    // kbit/s from the ISO tables; 0 for the free-format and forbidden indexes.
    int TableBitrate() const;
    // F in: frame length = F x bit rate x 1000 / sample rate (without padding).
    int BytesPerFrameFactor() const;
    // Samples that one frame decodes to: 384 (Layer I), 1152 (Layer II and
    // MPEG-1 Layer III) or 576 (MPEG-2 and MPEG-2.5 Layer III).
    int SamplesPerFrame() const;
    // Where a Xing header starts, counted from the first header byte.
    int XingOffset() const;
};
