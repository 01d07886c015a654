// The command runner refuses counts that no menu can send.
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>

TEST(CmdInput, CountsNoMenuCanSendAreRefusedWithUsage) {
    const struct {
        const char* arguments;
        int exitCode;
    } cases[] = {
        {"1016 --int 2000000000", 2}, {"1016 --int 15", 2},         {"1016", 2},
        {"1015 --int 3", 2},          {"1015 --int 2 --int 5", 2}, {"1012 --int 1 --int 0", 2},
        {"1015 --int 4 --int 1", 0},  {"1016 --int 40", 0},        {"1012 --int 1 --int 3", 0},
    };
    for (const auto& c : cases) {
        CTempDir dir;
        dir.Write("PlayList.stp", "as it was");
        std::string command = std::string(CRICKLET_CMD_PATH) + " --dir " + dir.Path() + " " +
                              c.arguments + " >/dev/null 2>" + dir.File("err");
        int status = std::system(command.c_str());
        EXPECT_EQ(WEXITSTATUS(status), c.exitCode) << c.arguments;
        bool refused = c.exitCode == 2;
        EXPECT_EQ(dir.Read("err").find("usage: cricklet-cmd") != std::string::npos, refused)
            << c.arguments;
        EXPECT_EQ(dir.Read("PlayList.stp") == "as it was", refused) << c.arguments;
    }
}
