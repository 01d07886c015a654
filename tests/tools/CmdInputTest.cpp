// The command runner with arguments no menu can send, special files and
// relative paths.
#include "support/ProgramRun.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

CProgramRun RunCmd(const std::string& folder, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"--dir", folder});
    return RunProgram(CRICKLET_CMD_PATH, arguments);
}

} // namespace

TEST(CmdInput, CountsNoMenuCanSendAreRefusedWithUsage) {
    const struct {
        std::vector<std::string> arguments;
        int exitCode;
    } cases[] = {
        {{"1016", "--int", "2000000000"}, 2},
        {{"1016", "--int", "15"}, 2},
        {{"1016"}, 2},
        {{"1015", "--int", "3"}, 2},
        {{"1015", "--int", "2", "--int", "5"}, 2},
        {{"1012", "--int", "1", "--int", "0"}, 2},
        {{"1015", "--int", "4", "--int", "1"}, 0},
        {{"1016", "--int", "40"}, 0},
        {{"1012", "--int", "1", "--int", "3"}, 0},
    };
    for (const auto& c : cases) {
        CTempDir dir;
        dir.Write("PlayList.stp", "as it was");
        CProgramRun run = RunCmd(dir.Path(), c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments[0] << " " << run.err;
        if (c.exitCode == 2) {
            EXPECT_NE(run.err.find("usage: cricklet-cmd"), std::string::npos) << run.err;
            EXPECT_EQ(dir.Read("PlayList.stp"), "as it was");
        }
    }
}

TEST(CmdInput, APipeOrADeviceAsAListFileIsReportedNotWaitedFor) {
    CTempDir dir;
    ASSERT_EQ(mkfifo(dir.File("pipe.stp").c_str(), 0600), 0);
    for (const std::string& path : {dir.File("pipe.stp"), std::string("/dev/zero")}) {
        CProgramRun run = RunCmd(dir.Path(), {"1002", "--str", path});
        EXPECT_EQ(run.exitCode, 0) << path;
        EXPECT_EQ(run.out, "“" + path + "”不是普通文件，无法读取。\n");
    }
}

TEST(CmdInput, RelativeFoldersAreStoredNormalised) {
    CTempDir dir;
    dir.Write("music/A/a.mid", "x");
    dir.Write("lib/x", "");
    std::string real = std::filesystem::canonical(dir.Path()).string();
    CProgramRun run =
        RunCmd(dir.File("lib"), {"1006", "--int", "0", "--str", "../lib/../music//A/."});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    std::string list = dir.Read("lib/PlayList.stp");
    EXPECT_NE(list.find("文件位置 = " + real + "/music/A;\n"), std::string::npos) << list;
    EXPECT_EQ(list.find(".."), std::string::npos) << list;
}
