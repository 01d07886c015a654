#include "platform/TextEncoding.h"

#include <gtest/gtest.h>

namespace {
const std::string kTitleKeyGbk = "\xC7\xFA\xC4\xBF\xB1\xEA\xCC\xE2"; // 曲目标题
}

TEST(DecodeText, ReadsGbkUtf8AndUtf16AlikeLineByLineAndBrokenBytesNeverStopTheRest) {
    const struct {
        std::string bytes;
        std::string text;
    } cases[] = {
        {kTitleKeyGbk, "曲目标题"},
        {"曲目标题", "曲目标题"},
        {"\xF0\x90\x80\x80 𐀀", "𐀀 𐀀"}, // U+10000, the first four-byte character
        {"\xF4\x90\x80\x80", "魫\xEF\xBF\xBD\xEF\xBF\xBD"}, // past U+10FFFF: GBK, not UTF-8
        {"\xEF\xBB\xBF曲目标题 = x;", "曲目标题 = x;"},
        {"\xEF\xBB\xBF" + kTitleKeyGbk, "曲目标题"},
        {std::string("\xFF\xFE\xF2\x66\x0D\x00", 6), "曲\r"},
        {std::string("\xFE\xFF\x66\xF2\x00\x41", 6), "曲A"},
        // A GBK lead byte at the very end has no trail byte.
        {kTitleKeyGbk + "ok\x81", "曲目标题ok\xEF\xBF\xBD"},
        // Each line on its own; CR ends a line too.
        {"a = 夜曲;\n" + kTitleKeyGbk + "\nb = 某人;", "a = 夜曲;\n曲目标题\nb = 某人;"},
        {"夜曲\r" + kTitleKeyGbk + "\r\r\n夜曲", "夜曲\r曲目标题\r\r\n夜曲"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeText(c.bytes), c.text) << c.text;
    }
}

TEST(TextEncoding, EncodesToGbkCutsAtCharacterBoundariesAndComparesByBytes) {
    EXPECT_EQ(EncodeGb18030("曲目标题") + EncodeGb18030("plain"), kTitleKeyGbk + "plain");
    EXPECT_EQ(EncodeGb18030Cut("曲目标题", 7), kTitleKeyGbk.substr(0, 6));
    EXPECT_EQ(EncodeGb18030Cut("a曲目", 2) + EncodeGb18030Cut("abc", 30), "aabc");
    // Characters outside GBK still have four-byte GB18030 forms.
    EXPECT_EQ(DecodeGb18030(EncodeGb18030("🎵")), "🎵");
    EXPECT_EQ(CompareGb18030("啊", "啊"), 0);
    EXPECT_LT(CompareGb18030("a", "ab"), 0);
    EXPECT_GT(CompareGb18030("不", "啊"), 0);
}
