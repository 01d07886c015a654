#include "core/MusicCommand.h"

#include <gtest/gtest.h>

TEST(MusicCommand, ReadsOutsideTheArraysGiveMinusOneAndEmptyText) {
    CMusicCommand command(MCMD_PLAY_RANDOM_SONGS, 4, 4);
    command.SetInt(20, 0);
    EXPECT_EQ(command.code, 1016);
    EXPECT_EQ(command.GetInt(0), 20);
    EXPECT_EQ(command.GetInt(3), 0);
    EXPECT_EQ(command.GetInt(4), -1);
    EXPECT_EQ(command.GetInt(-1), -1);
    EXPECT_EQ(command.GetString(3), "");
    EXPECT_EQ(command.GetString(7), "");
    EXPECT_EQ(command.GetString(-1), "");
}

TEST(MusicCommand, WritesOutsideTheArraysChangeNothing) {
    CMusicCommand command(MCMD_REMOVE_ENTRIES, 2, 1);
    command.SetInt(5, 2);
    command.SetInt(6, -1);
    command.SetString("a", 1);
    command.SetString("b", -1);
    command.SetString("path", 0);
    command.SetInt(-7, 1);
    EXPECT_EQ(command.ints, (std::vector<int>{0, -7}));
    EXPECT_EQ(command.strings, std::vector<std::string>{"path"});
    EXPECT_EQ(command.intCount, 2);
    EXPECT_EQ(command.stringCount, 1);
}

TEST(MusicCommand, EmptyAndNegativeSizesHoldNothing) {
    CMusicCommand empty(MCMD_CLEAR_LIBRARY, 0, 0);
    EXPECT_EQ(empty.GetInt(0), -1);
    EXPECT_EQ(empty.GetString(0), "");
    CMusicCommand negative(MCMD_CLEAR_LIBRARY, -3, -1);
    EXPECT_EQ(negative.intCount, 0);
    EXPECT_EQ(negative.stringCount, 0);
    negative.SetInt(1, 0);
    EXPECT_TRUE(negative.ints.empty());
}
