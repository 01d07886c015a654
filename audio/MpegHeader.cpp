#include "audio/MpegHeader.h"

namespace {

const int kVersionMpeg1 = 3;
const int kVersionReserved = 1;
const int kLayerReserved = 0;
const int kLayerI = 3;
const int kLayerIII = 1;

// kbit/s by [version bit 19][layer bits][bit-rate index]: MPEG-1 rows from
// ISO/IEC 11172-3, MPEG-2 rows (also used by MPEG-2.5) from ISO/IEC 13818-3.
const int kBitrates[2][4][16] = {
    {{0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0}},
    {{0},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
     {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0}}};

// Hz by [version][sample-rate index].
const int kSampleRates[4][4] = {
    {11025, 12000, 8000, 0}, {0, 0, 0, 0}, {22050, 24000, 16000, 0}, {44100, 48000, 32000, 0}};

} // namespace

void MpegHeader::Load(const unsigned char bytes[4]) {
    bits = (static_cast<std::uint32_t>(bytes[0]) << 24) |
           (static_cast<std::uint32_t>(bytes[1]) << 16) |
           (static_cast<std::uint32_t>(bytes[2]) << 8) | static_cast<std::uint32_t>(bytes[3]);
}

bool MpegHeader::IsValid() const {
    return (bits & 0xFFE00000U) == 0xFFE00000U && Version() != kVersionReserved &&
           Layer() != kLayerReserved && BitrateIndex() != 0 && BitrateIndex() != 15 &&
           SampleRateIndex() != 3 && Emphasis() != 2;
}

int MpegHeader::SampleRate() const {
    return kSampleRates[Version()][SampleRateIndex()];
}

int MpegHeader::TableBitrate() const {
    return kBitrates[(bits >> 19) & 1][Layer()][BitrateIndex()];
}

int MpegHeader::BytesPerFrameFactor() const {
    if (Layer() == kLayerI) {
        return 48;
    }
    if (Layer() == kLayerIII && Version() != kVersionMpeg1) {
        return 72;
    }
    return 144;
}

int MpegHeader::SamplesPerFrame() const {
    if (Layer() == kLayerI) {
        return 384;
    }
    if (Layer() == kLayerIII && Version() != kVersionMpeg1) {
        return 576;
    }
    return 1152;
}

int MpegHeader::XingOffset() const {
    if (Version() == kVersionMpeg1) {
        return IsMono() ? 21 : 36;
    }
    return IsMono() ? 13 : 21;
}
