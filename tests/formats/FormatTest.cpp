#include "formats/Format.h"

#include <gtest/gtest.h>

#include <climits>

TEST(Format, NumbersDurationsAndSizes) {
    const struct {
        long long value;
        const char *number, *duration, *longDuration, *sizeKB;
    } cases[] = {
        {0, "0", "Unknown", "Unknown", "0KB"},
        {-1, "-1", "Unknown", "Unknown", "0KB"},
        {1, "1", "00:01", "00:00:01", "0KB"},
        {65, "65", "01:05", "00:01:05", "0KB"},
        {1000, "1000", "16:40", "00:16:40", "1KB"},
        {3725, "3725", "62:05", "01:02:05", "3KB"},
        {2960384, "2960384", "49339:44", "822:19:44", "2960KB"},
        {INT_MAX, "2147483647", "35791394:07", "596523:14:07", "2147483KB"},
        {INT_MIN, "-2147483648", "Unknown", "Unknown", "0KB"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatNumber(c.value), c.number) << c.value;
        EXPECT_EQ(FormatDuration(static_cast<int>(c.value)), c.duration) << c.value;
        EXPECT_EQ(FormatLongDuration(static_cast<int>(c.value)), c.longDuration) << c.value;
        EXPECT_EQ(FormatSizeKB(c.value), c.sizeKB) << c.value;
    }
    // File sizes beyond 32 bits keep all their digits instead of wrapping around.
    EXPECT_EQ(FormatNumber(5000000000LL), "5000000000");
    EXPECT_EQ(FormatSizeKB(5000000000LL), "5000000KB");
}

TEST(StyleName, NamesTheSixteenCodesAndUndeterminedForTheRest) {
    const std::vector<std::string> expected = {
        "N/A",  "流行",   "摇滚",   "爵士",     "古典",     "新音乐",   "民谣", "乡村乐",
        "说唱", "布鲁斯", "迪斯科", "电影原声", "游戏音乐", "混合风格", "其它", "未知",
    };
    EXPECT_EQ(StyleNames(), expected);
    for (int index = 0; index < kStyleCount; ++index) {
        EXPECT_EQ(StyleName(2001 + index), expected[index]) << index;
        EXPECT_EQ(StyleCodeAt(index), 2001 + index) << index;
        EXPECT_EQ(StyleIndexOf(2001 + index), index) << index;
    }
    // Codes with no name of their own select the "未知" item.
    for (int code : {2000, 2017, 1999, -5, 0, INT_MIN, INT_MAX}) {
        EXPECT_EQ(StyleName(code), "未知") << code;
        EXPECT_EQ(StyleIndexOf(code), 15) << code;
    }
    EXPECT_EQ(StyleCodeAt(-1), 2016);
    EXPECT_EQ(StyleCodeAt(INT_MAX), 2016);
}
