#include "core/MusicCommand.h"

#include <gtest/gtest.h>

TEST(MusicCommand, ReadsAndWritesOnlyInsideItsArrays) {
    CMusicCommand command(MCMD_REMOVE_ENTRIES, 2, 1);
    for (int index : {0, 1, 2, -1}) {
        command.SetInt(10 + index, index);
    }
    command.SetString("path", 0);
    command.SetString("a", 1);
    command.SetString("b", -1);
    EXPECT_EQ(command.ints, (std::vector<int>{10, 11}));
    EXPECT_EQ(command.strings, std::vector<std::string>{"path"});
    const struct {
        int index;
        int value;
        const char* text;
    } reads[] = {{0, 10, "path"}, {1, 11, ""}, {2, -1, ""}, {-1, -1, ""}};
    for (const auto& r : reads) {
        EXPECT_EQ(command.GetInt(r.index), r.value) << r.index;
        EXPECT_EQ(command.GetString(r.index), r.text) << r.index;
    }
    CMusicCommand negative(MCMD_CLEAR_LIBRARY, -3, -1);
    negative.SetInt(1, 0);
    EXPECT_EQ(negative.intCount + negative.stringCount, 0);
    EXPECT_TRUE(negative.ints.empty());
    EXPECT_EQ(negative.GetInt(0), -1);
}
