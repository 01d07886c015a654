#include "platform/FileSystem.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

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
        {dir.File("none"), 9, CReadStatus::Missing, ""},
    };
    for (const auto& c : cases) {
        std::string bytes = "old";
        EXPECT_EQ(ReadRegularFile(c.path, c.limit, bytes).status, c.status) << c.path;
        EXPECT_EQ(bytes, c.bytes) << c.path;
    }
}

TEST(WriteFileAtomically, ASymbolicLinkStaysALinkAndItsTargetIsSaved) {
    CTempDir dir;
    dir.Write("synced/PlayList.stp", "old");
    fs::create_symlink("synced/PlayList.stp", dir.File("relative"));
    fs::create_symlink(dir.File("relative"), dir.File("chain"));
    fs::create_symlink("synced/new.stp", dir.File("dangling"));
    for (const char* link : {"relative", "chain", "dangling"}) {
        ASSERT_TRUE(WriteFileAtomically(dir.File(link), link));
        EXPECT_TRUE(fs::is_symlink(dir.File(link))) << link;
    }
    EXPECT_EQ(dir.Read("synced/PlayList.stp") + dir.Read("synced/new.stp"), "chaindangling");
    EXPECT_EQ(fs::read_symlink(dir.File("chain")), dir.File("relative"));
    // A loop of links is saved onto the name itself.
    fs::create_symlink("loop", dir.File("loop"));
    ASSERT_TRUE(WriteFileAtomically(dir.File("loop"), "x"));
    EXPECT_EQ(dir.Read("loop"), "x");
}
