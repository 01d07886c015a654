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
    // Index, then what GetInt and GetString give.
    const char* const reads[] = {"0 10 0", "1 11 ", "2 -1 ", "-1 -1 "};
    for (int index : {0, 1, 2, -1}) {
        EXPECT_EQ(std::to_string(index) + " " + std::to_string(command.GetInt(index)) + " " +
                      command.GetString(index),
                  reads[index < 0 ? 3 : index]);
    }
    CMusicCommand negative(MCMD_CLEAR_LIBRARY, -3, -1);
    negative.SetInt(1, 0);
    EXPECT_EQ(negative.intCount + negative.stringCount, 0);
    EXPECT_TRUE(negative.ints.empty() && negative.GetInt(0) == -1);
}
