#include "core/MusicCommand.h"

#include <gtest/gtest.h>

TEST(MusicCommand, ReadsAndWritesOnlyInsideItsArrays) {
    CMusicCommand command(MCMD_REMOVE_ENTRIES, 2, 1);
    for (int index : {0, 1, 2, -1}) {
        command.SetInt(10 + index, index);
        command.SetString(std::to_string(index), index);
    }
    EXPECT_EQ(command.ints, (std::vector<int>{10, 11}));
    EXPECT_EQ(command.strings, std::vector<std::string>{"0"});
    EXPECT_EQ((std::vector<int>{command.GetInt(1), command.GetInt(2), command.GetInt(-1)}),
              (std::vector<int>{11, -1, -1}));
    EXPECT_EQ(command.GetString(0) + command.GetString(1) + command.GetString(-1), "0");
    CMusicCommand negative(MCMD_CLEAR_LIBRARY, -3, -1);
    negative.SetInt(1, 0);
    EXPECT_TRUE(negative.ints.empty() && negative.GetInt(0) == -1);
}
