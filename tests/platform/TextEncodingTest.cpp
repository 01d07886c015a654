#include "platform/TextEncoding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {
const std::string kTitleKeyGbk = "\xC7\xFA\xC4\xBF\xB1\xEA\xCC\xE2"; // 曲目标题
}

TEST(TextDecoding, ReadsGbkUtf8AndUtf16Alike) {
    EXPECT_EQ(DecodeText(kTitleKeyGbk), "曲目标题");
    EXPECT_EQ(DecodeText("曲目标题"), "曲目标题");
    EXPECT_EQ(DecodeText("\xEF\xBB\xBF曲目标题 = x;"), "曲目标题 = x;");
    EXPECT_EQ(DecodeText(std::string("\xFF\xFE\xF2\x66\x0D\x00", 6)), "曲\r");
    EXPECT_EQ(DecodeText(std::string("\xFE\xFF\x66\xF2\x00\x41", 6)), "曲A");
    EXPECT_EQ(DecodeText(""), "");
}

TEST(TextDecoding, BrokenBytesNeverStopTheRest) {
    // A GBK lead byte at the very end has no trail byte.
    std::string decoded = DecodeText(kTitleKeyGbk + "ok\x81");
    EXPECT_EQ(decoded.rfind("曲目标题ok", 0), 0u);
    EXPECT_FALSE(IsValidUtf8("\xC0\x80"));     // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80")); // surrogate
    EXPECT_TRUE(IsValidUtf8("a鸣蛩"));
}

TEST(TextEncoding, EncodesToGbkAndCutsAtCharacterBoundaries) {
    EXPECT_EQ(EncodeGb18030("曲目标题"), kTitleKeyGbk);
    EXPECT_EQ(EncodeGb18030("plain"), "plain");
    EXPECT_EQ(EncodeGb18030Cut("曲目标题", 7), kTitleKeyGbk.substr(0, 6));
    EXPECT_EQ(EncodeGb18030Cut("a曲目", 2), "a");
    EXPECT_EQ(EncodeGb18030Cut("abc", 30), "abc");
    // Characters outside GBK still have four-byte GB18030 forms.
    EXPECT_EQ(DecodeGb18030(EncodeGb18030("🎵")), "🎵");
}

TEST(TextOrder, FollowsGbkBytes) {
    std::vector<std::string> names = {"张学友", "b", "B", "阿杜", "刘德华", "a"};
    std::sort(names.begin(), names.end(),
              [](const std::string& l, const std::string& r) { return CompareGb18030(l, r) < 0; });
    std::vector<std::string> expected = {"B", "a", "b", "阿杜", "刘德华", "张学友"};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(CompareGb18030("x", "x"), 0);
    EXPECT_LT(CompareGb18030("ab", "abc"), 0);
}
