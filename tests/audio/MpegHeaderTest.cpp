#include "audio/MpegHeader.h"
#include "AudioHelpers.h"
#include "audio/XingHeader.h"

#include <gtest/gtest.h>

namespace {

MpegHeader HeaderOf(const Mp3FrameFormat& format) {
    std::string bytes = Mp3HeaderBytes(format);
    MpegHeader header;
    header.Load(reinterpret_cast<const unsigned char*>(bytes.data()));
    return header;
}

Mp3FrameFormat WithEmphasis(Mp3FrameFormat format, int emphasis, int sampleRateIndex = 0) {
    format.emphasis = emphasis;
    format.sampleRateIndex = sampleRateIndex;
    return format;
}

} // namespace

TEST(MpegHeader, LoadsTheBytesBigEndianAndRejectsReservedFields) {
    const unsigned char bytes[4] = {0xFF, 0xFB, 0x90, 0x64};
    MpegHeader header;
    header.Load(bytes);
    EXPECT_EQ(header.bits, 0xFFFB9064u);
    EXPECT_TRUE(header.IsValid());
    const unsigned char shortSync[4] = {0xFF, 0x1B, 0x90, 0x64}; // eleven sync bits are needed
    header.Load(shortSync);
    EXPECT_FALSE(header.IsValid());
    const struct {
        Mp3FrameFormat format;
        bool valid;
    } cases[] = {
        {WithEmphasis(Format(3, 1), 3), true},
        {Format(1, 1), false},
        {Format(3, 0), false},
        {Format(3, 1, 0), false},
        {Format(3, 1, 15), false},
        {WithEmphasis(Format(3, 1), 0, 3), false},
        {WithEmphasis(Format(3, 1), 2), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HeaderOf(c.format).IsValid(), c.valid) << std::hex << HeaderOf(c.format).bits;
    }
}

TEST(MpegHeader, RatesFactorsAndXingOffsetsFollowTheStandardTables) {
    for (int version : {3, 2, 0}) {
        for (int layer : {1, 2, 3}) {
            for (int index = 1; index <= 14; ++index) {
                Mp3FrameFormat format = Format(version, layer, index);
                EXPECT_EQ(HeaderOf(format).TableBitrate(), Mp3TableBitrate(format))
                    << version << " " << layer << " " << index;
            }
        }
        for (int index = 0; index < 3; ++index) {
            Mp3FrameFormat format = WithEmphasis(Format(version, 1), 0, index);
            EXPECT_EQ(HeaderOf(format).SampleRate(), Mp3SampleRate(format)) << version << index;
        }
    }
    EXPECT_EQ(HeaderOf(Format(1, 1)).SampleRate(), 0);
    const struct {
        int version, layer;
        bool mono;
        int factor, xingOffset;
    } cases[] = {
        {3, 1, false, 144, 36}, {3, 1, true, 144, 21}, {3, 2, false, 144, 36},
        {3, 3, true, 48, 21},   {2, 1, false, 72, 21}, {2, 1, true, 72, 13},
        {2, 2, false, 144, 21}, {2, 3, false, 48, 21}, {0, 1, true, 72, 13},
    };
    for (const auto& c : cases) {
        MpegHeader header = HeaderOf(Format(c.version, c.layer, 9, c.mono));
        EXPECT_EQ(header.BytesPerFrameFactor(), c.factor) << c.version << " " << c.layer;
        EXPECT_EQ(header.XingOffset(), c.xingOffset) << c.version << " " << c.mono;
        EXPECT_EQ(header.IsMono(), c.mono);
    }
}

TEST(XingHeader, ReadsTheFrameCountOnlyWithItsFlagAndTheExactSignature) {
    const struct {
        std::string bytes;
        int found;
        int frameCount;
    } cases[] = {
        {std::string("Xing\0\0\0\x0F\0\x01\x02\x03", 12), 1, 0x010203},
        // Flags other than the lowest bit of byte 7 do not count.
        {std::string("Xing\x01\0\0\x0E\0\x01\x02\x03", 12), 1, -1},
        {std::string("xing\0\0\0\x01\0\0\0\x09", 12), 0, -1},
        {std::string("Xinh\0\0\0\x01\0\0\0\x09", 12), 0, -1},
        // LAME's header of a constant-bit-rate file counts its frames too.
        {std::string("Info\0\0\0\x01\0\0\0\x09", 12), 1, 9},
        {std::string("INFO\0\0\0\x01\0\0\0\x09", 12), 0, -1},
        {std::string("VBRI\0\0\0\x01\0\0\0\x09", 12), 0, -1},
    };
    for (const auto& c : cases) {
        XingHeader xing;
        xing.frameCount = 5;
        EXPECT_EQ(xing.Load(reinterpret_cast<const unsigned char*>(c.bytes.data())), c.found)
            << c.bytes.substr(0, 4);
        EXPECT_EQ(xing.frameCount, c.frameCount) << c.bytes.substr(0, 4);
    }
}
