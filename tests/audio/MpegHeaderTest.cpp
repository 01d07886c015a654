#include "audio/MpegHeader.h"
#include "audio/XingHeader.h"
#include "support/Mp3Bytes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

MpegHeader HeaderOf(const Mp3FrameFormat& format) {
    std::string bytes = Mp3HeaderBytes(format);
    MpegHeader header;
    header.Load(reinterpret_cast<const unsigned char*>(bytes.data()));
    return header;
}

std::vector<int> BitrateRow(int version, int layer) {
    std::vector<int> row;
    for (int index = 1; index <= 14; ++index) {
        Mp3FrameFormat format;
        format.version = version;
        format.layer = layer;
        format.bitrateIndex = index;
        row.push_back(HeaderOf(format).TableBitrate());
    }
    return row;
}

} // namespace

TEST(MpegHeader, LoadsTheBytesBigEndianInFileOrder) {
    const unsigned char bytes[4] = {0xFF, 0xFB, 0x90, 0x64};
    MpegHeader header;
    header.Load(bytes);
    EXPECT_EQ(header.bits, 0xFFFB9064u);
    EXPECT_TRUE(header.IsValid());
    EXPECT_EQ(header.Version(), 3);
    EXPECT_EQ(header.Layer(), 1);
    EXPECT_EQ(header.TableBitrate(), 128);
    EXPECT_EQ(header.SampleRate(), 44100);
    EXPECT_FALSE(header.IsMono());
}

TEST(MpegHeader, RejectsReservedAndForbiddenFields) {
    Mp3FrameFormat good;
    EXPECT_TRUE(HeaderOf(good).IsValid());
    std::vector<Mp3FrameFormat> bad(6, good);
    bad[0].version = 1;
    bad[1].layer = 0;
    bad[2].bitrateIndex = 0;
    bad[3].bitrateIndex = 15;
    bad[4].sampleRateIndex = 3;
    bad[5].emphasis = 2;
    for (const auto& format : bad) {
        EXPECT_FALSE(HeaderOf(format).IsValid()) << std::hex << HeaderOf(format).bits;
    }
    Mp3FrameFormat emphasis = good;
    emphasis.emphasis = 3;
    EXPECT_TRUE(HeaderOf(emphasis).IsValid());
    // Eleven sync bits are needed, not eight.
    const unsigned char shortSync[4] = {0xFF, 0x1B, 0x90, 0x64};
    MpegHeader header;
    header.Load(shortSync);
    EXPECT_FALSE(header.IsValid());
}

TEST(MpegHeader, BitratesFollowTheStandardTables) {
    EXPECT_EQ(BitrateRow(3, 3), (std::vector<int>{32, 64, 96, 128, 160, 192, 224, 256, 288, 320,
                                                  352, 384, 416, 448}));
    EXPECT_EQ(BitrateRow(3, 2),
              (std::vector<int>{32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384}));
    EXPECT_EQ(BitrateRow(3, 1),
              (std::vector<int>{32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}));
    std::vector<int> lowLayer1 = {32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256};
    std::vector<int> lowLayers23 = {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
    for (int version : {2, 0}) {
        EXPECT_EQ(BitrateRow(version, 3), lowLayer1) << version;
        EXPECT_EQ(BitrateRow(version, 2), lowLayers23) << version;
        EXPECT_EQ(BitrateRow(version, 1), lowLayers23) << version;
    }
}

TEST(MpegHeader, SampleRatesFactorsAndXingOffsetsByVersion) {
    struct Case {
        int version;
        int rates[3];
    };
    for (const Case& c : {Case{3, {44100, 48000, 32000}}, Case{2, {22050, 24000, 16000}},
                          Case{0, {11025, 12000, 8000}}, Case{1, {0, 0, 0}}}) {
        for (int index = 0; index < 3; ++index) {
            Mp3FrameFormat format;
            format.version = c.version;
            format.sampleRateIndex = index;
            EXPECT_EQ(HeaderOf(format).SampleRate(), c.rates[index]) << c.version << " " << index;
        }
    }
    struct Layout {
        int version;
        int layer;
        bool mono;
        int factor;
        int xingOffset;
    };
    for (const Layout& l :
         {Layout{3, 1, false, 144, 36}, Layout{3, 1, true, 144, 21}, Layout{3, 2, false, 144, 36},
          Layout{3, 3, true, 48, 21}, Layout{2, 1, false, 72, 21}, Layout{2, 1, true, 72, 13},
          Layout{2, 2, false, 144, 21}, Layout{2, 3, false, 48, 21}, Layout{0, 1, false, 72, 21},
          Layout{0, 1, true, 72, 13}}) {
        Mp3FrameFormat format;
        format.version = l.version;
        format.layer = l.layer;
        format.mono = l.mono;
        MpegHeader header = HeaderOf(format);
        EXPECT_EQ(header.BytesPerFrameFactor(), l.factor) << l.version << " " << l.layer;
        EXPECT_EQ(header.XingOffset(), l.xingOffset) << l.version << " " << l.mono;
        EXPECT_EQ(header.IsMono(), l.mono);
    }
}

TEST(XingHeader, ReadsTheFrameCountOnlyWithItsFlagAndTheExactSignature) {
    auto load = [](const std::string& bytes, XingHeader& xing) {
        return xing.Load(reinterpret_cast<const unsigned char*>(bytes.data()));
    };
    XingHeader xing;
    EXPECT_EQ(load(std::string("Xing\0\0\0\x0F\0\x01\x02\x03", 12), xing), 1);
    EXPECT_EQ(xing.frameCount, 0x010203);
    EXPECT_EQ(load(std::string("Xing\0\0\0\x0E\0\x01\x02\x03", 12), xing), 1);
    EXPECT_EQ(xing.frameCount, -1);
    // Flags other than the lowest bit of byte 7 do not count.
    EXPECT_EQ(load(std::string("Xing\x01\0\0\0\0\x01\x02\x03", 12), xing), 1);
    EXPECT_EQ(xing.frameCount, -1);
    for (const char* signature : {"xing", "XING", "Xinh", "INFO", "VBRI"}) {
        xing.frameCount = 5;
        EXPECT_EQ(load(std::string(signature) + std::string("\0\0\0\x01\0\0\0\x09", 8), xing), 0)
            << signature;
        EXPECT_EQ(xing.frameCount, -1) << signature;
    }
}
