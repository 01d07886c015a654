#include "formats/Format.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

TEST(FormatNumber, WritesPlainSignedDecimal) {
    EXPECT_EQ(FormatNumber(0), "0");
    EXPECT_EQ(FormatNumber(-3), "-3");
    EXPECT_EQ(FormatNumber(2960384), "2960384");
    EXPECT_EQ(FormatNumber(INT_MIN), "-2147483648");
    // File sizes beyond 32 bits keep all their digits.
    EXPECT_EQ(FormatNumber(5000000000LL), "5000000000");
}

TEST(FormatDuration, PadsToTwoDigitsAndNeverShowsHours) {
    EXPECT_EQ(FormatDuration(0), "Unknown");
    EXPECT_EQ(FormatDuration(-1), "Unknown");
    EXPECT_EQ(FormatDuration(INT_MIN), "Unknown");
    EXPECT_EQ(FormatDuration(1), "00:01");
    EXPECT_EQ(FormatDuration(5), "00:05");
    EXPECT_EQ(FormatDuration(65), "01:05");
    EXPECT_EQ(FormatDuration(599), "09:59");
    EXPECT_EQ(FormatDuration(600), "10:00");
    EXPECT_EQ(FormatDuration(3725), "62:05");
    EXPECT_EQ(FormatDuration(60000), "1000:00");
    EXPECT_EQ(FormatDuration(INT_MAX), "35791394:07");
}

TEST(FormatLongDuration, ShowsHoursMinutesAndSeconds) {
    EXPECT_EQ(FormatLongDuration(0), "Unknown");
    EXPECT_EQ(FormatLongDuration(-1), "Unknown");
    EXPECT_EQ(FormatLongDuration(59), "00:00:59");
    EXPECT_EQ(FormatLongDuration(3599), "00:59:59");
    EXPECT_EQ(FormatLongDuration(3600), "01:00:00");
    EXPECT_EQ(FormatLongDuration(3725), "01:02:05");
    EXPECT_EQ(FormatLongDuration(360000), "100:00:00");
    // A library longer than the 16-bit times of old allowed.
    EXPECT_EQ(FormatLongDuration(INT_MAX), "596523:14:07");
}

TEST(FormatSizeKB, DividesByAThousandAndDropsTheRemainder) {
    EXPECT_EQ(FormatSizeKB(0), "0KB");
    EXPECT_EQ(FormatSizeKB(999), "0KB");
    EXPECT_EQ(FormatSizeKB(1000), "1KB");
    EXPECT_EQ(FormatSizeKB(1999), "1KB");
    EXPECT_EQ(FormatSizeKB(2960384), "2960KB");
    // Files past 4 GiB show their real size instead of wrapping around.
    EXPECT_EQ(FormatSizeKB(5000000000LL), "5000000KB");
    EXPECT_EQ(FormatSizeKB(-5), "0KB");
}

TEST(StyleName, NamesTheSixteenCodesAndUndeterminedForTheRest) {
    const std::vector<std::string> expected = {
        "N/A",  "流行",   "摇滚",   "爵士",     "古典",     "新音乐",   "民谣", "乡村乐",
        "说唱", "布鲁斯", "迪斯科", "电影原声", "游戏音乐", "混合风格", "其它", "未知",
    };
    EXPECT_EQ(StyleNames(), expected);

    std::vector<std::string> byCode;
    for (int code = 2001; code <= 2016; ++code) {
        byCode.push_back(StyleName(code));
    }
    EXPECT_EQ(byCode, expected);

    for (int code : {2000, 2017, -5, 0, INT_MIN, INT_MAX}) {
        EXPECT_EQ(StyleName(code), "未知") << code;
    }
}

TEST(StyleName, DropDownItemsMapToCodesBothWays) {
    for (int index = 0; index < kStyleCount; ++index) {
        EXPECT_EQ(StyleIndexOf(StyleCodeAt(index)), index);
    }
    EXPECT_EQ(StyleCodeAt(0), 2001);
    EXPECT_EQ(StyleCodeAt(15), 2016);
    // Codes with no name of their own select the "未知" item.
    EXPECT_EQ(StyleIndexOf(1999), 15);
    EXPECT_EQ(StyleIndexOf(INT_MIN), 15);
    EXPECT_EQ(StyleCodeAt(-1), 2016);
    EXPECT_EQ(StyleCodeAt(INT_MAX), 2016);
}
