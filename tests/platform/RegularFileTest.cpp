#include "platform/FileSystem.h"
#include "platform/TextEncoding.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;

TEST(ReadRegularFile, RefusesWhatIsNoRegularFileOrTooLargeWithoutBlocking) {
    CTempDir dir;
    dir.Write("sub/small", "12345");
    ASSERT_EQ(mkfifo(dir.File("pipe").c_str(), 0600), 0);
    fs::create_symlink(dir.File("sub/small"), dir.File("link"));
    const struct {
        std::string path;
        std::size_t limit;
        CReadStatus status;
        const char* bytes;
    } cases[] = {
        {dir.File("link"), 5, CReadStatus::Read, "12345"},
        {dir.File("sub/small"), 4, CReadStatus::TooLarge, ""},
        {dir.File("pipe"), 9, CReadStatus::NotRegular, ""},
        {"/dev/zero", 9, CReadStatus::NotRegular, ""},
        {dir.File("sub"), 9, CReadStatus::NotRegular, ""},
        {dir.File("none"), 9, CReadStatus::Missing, ""},
    };
    for (const auto& c : cases) {
        std::string bytes = "old";
        EXPECT_EQ(ReadRegularFile(c.path, c.limit, bytes).status, c.status) << c.path;
        EXPECT_EQ(bytes, c.bytes) << c.path;
    }
}

TEST(DecodeText, DecodesEachLineOnItsOwnAndEndsLinesAtCrToo) {
    const std::string gbk = "\xB1\xEA\xCC\xE2 = \xD4\xC2\xC1\xC1"; // 标题 = 月亮
    const struct {
        std::string bytes;
        const char* text;
    } cases[] = {
        {"a = 夜曲;\n" + gbk + "\nb = 某人;", "a = 夜曲;\n标题 = 月亮\nb = 某人;"},
        {"夜曲\r" + gbk + "\r\r\n夜曲", "夜曲\r标题 = 月亮\r\r\n夜曲"},
        {"\xEF\xBB\xBF夜曲\n" + gbk, "夜曲\n标题 = 月亮"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeText(c.bytes), c.text) << c.text;
    }
}

TEST(WriteFileAtomically, ASymbolicLinkStaysALinkAndItsTargetIsSaved) {
    CTempDir dir;
    dir.Write("synced/PlayList.stp", "old");
    fs::create_symlink("synced/PlayList.stp", dir.File("relative"));
    fs::create_symlink(dir.File("relative"), dir.File("chain"));
    fs::create_symlink("synced/new.stp", dir.File("dangling"));
    const struct {
        const char* link;
        const char* target;
    } cases[] = {
        {"relative", "synced/PlayList.stp"},
        {"chain", "synced/PlayList.stp"},
        {"dangling", "synced/new.stp"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteFileAtomically(dir.File(c.link), c.link));
        EXPECT_TRUE(fs::is_symlink(dir.File(c.link))) << c.link;
        EXPECT_EQ(dir.Read(c.target), c.link);
    }
    EXPECT_EQ(fs::read_symlink(dir.File("chain")), dir.File("relative"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.File("synced")), fs::directory_iterator()),
              2);
}
