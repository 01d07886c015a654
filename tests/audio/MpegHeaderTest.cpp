#include "audio/MpegHeader.h"
#include "AudioHelpers.h"

#include <gtest/gtest.h>

namespace {

MpegHeader HeaderOf(Mp3FrameFormat format, int emphasis = 0, int sampleRateIndex = 0) {
    format.emphasis = emphasis;
    format.sampleRateIndex = sampleRateIndex;
    std::string bytes = Mp3HeaderBytes(format);
    MpegHeader header;
    header.Load(reinterpret_cast<const unsigned char*>(bytes.data()));
    return header;
}

} // namespace

// Frame sizes and Xing offsets of Layer III are held against real files by the
// peer test; the tables of the other layers and the reserved fields are here.
TEST(MpegHeader, RatesFollowTheStandardTablesAndReservedFieldsAreRefused) {
    for (int version : {3, 2, 0}) {
        for (int layer : {1, 2, 3}) {
            for (int index = 1; index <= 14; ++index) {
                Mp3FrameFormat format = Format(version, layer, index);
                EXPECT_EQ(HeaderOf(format).TableBitrate(), Mp3TableBitrate(format))
                    << version << " " << layer << " " << index;
            }
        }
        for (int index = 0; index < 3; ++index) {
            Mp3FrameFormat format = Format(version, 1, 9, false, index);
            EXPECT_EQ(HeaderOf(format, 0, index).SampleRate(), Mp3SampleRate(format)) << version;
        }
    }
    const unsigned char shortSync[4] = {0xFF, 0x1B, 0x90, 0x64}; // eleven sync bits are needed
    MpegHeader header;
    header.Load(shortSync);
    EXPECT_FALSE(header.IsValid());
    const MpegHeader cases[] = {HeaderOf(Format(1, 1)),       HeaderOf(Format(3, 0)),
                                HeaderOf(Format(3, 1, 0)),    HeaderOf(Format(3, 1, 15)),
                                HeaderOf(Format(3, 1), 0, 3), HeaderOf(Format(3, 1), 2)};
    for (const MpegHeader& c : cases) {
        EXPECT_FALSE(c.IsValid()) << std::hex << c.bits;
    }
    EXPECT_TRUE(HeaderOf(Format(3, 1), 3).IsValid());
    EXPECT_EQ(HeaderOf(Format(1, 1)).SampleRate(), 0);
    EXPECT_EQ(HeaderOf(Format(3, 3, 9, true)).BytesPerFrameFactor() +
                  HeaderOf(Format(2, 2)).BytesPerFrameFactor(),
              48 + 144);
}
