#include "platform/FileSystem.h"
#include "platform/TextEncoding.h"
#include "support/RecordingPlatform.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

std::string LinkText(const std::string& path) {
    std::error_code error;
    return std::filesystem::read_symlink(path, error).string();
}

bool IsLink(const std::string& path) {
    return std::filesystem::is_symlink(std::filesystem::symlink_status(path));
}

} // namespace

TEST(ReadRegularFile, RefusesWhatIsNoRegularFileOrTooLargeWithoutBlocking) {
    CTempDir dir;
    dir.Write("small", "12345");
    dir.Write("sub/x", "");
    ASSERT_EQ(mkfifo(dir.File("pipe").c_str(), 0600), 0);
    std::filesystem::create_symlink(dir.File("small"), dir.File("link"));
    const struct {
        std::string path;
        std::size_t limit;
        CReadStatus status;
        std::string bytes;
    } cases[] = {
        {dir.File("small"), 5, CReadStatus::Read, "12345"},
        {dir.File("link"), 5, CReadStatus::Read, "12345"},
        {dir.File("small"), 4, CReadStatus::TooLarge, ""},
        {dir.File("pipe"), 100, CReadStatus::NotRegular, ""},
        {"/dev/zero", 100, CReadStatus::NotRegular, ""},
        {dir.File("sub"), 100, CReadStatus::NotRegular, ""},
        {dir.File("none"), 100, CReadStatus::Missing, ""},
    };
    for (const auto& c : cases) {
        std::string bytes = "old";
        EXPECT_EQ(ReadRegularFile(c.path, c.limit, bytes).status, c.status) << c.path;
        EXPECT_EQ(bytes, c.bytes) << c.path;
    }
}

TEST(ReadRegularFile, FailureTextsNameThePathAndTheReason) {
    CFileRead tooLarge{CReadStatus::TooLarge, 0, 64 * kMiB};
    CFileRead notRegular{CReadStatus::NotRegular, 0, kMiB};
    CFileRead missing{CReadStatus::Missing, ENOENT, kMiB};
    EXPECT_EQ(ReadFailureText("/a/b.m3u", tooLarge), "“/a/b.m3u”大于64 MB，文件太大，无法读取。");
    EXPECT_EQ(ReadFailureText("/a/p", notRegular), "“/a/p”不是普通文件，无法读取。");
    EXPECT_EQ(ReadFailureText("/a/m", missing), "/a/m: No such file or directory");
    EXPECT_EQ(ReadFailureText("/a/m", CFileRead{CReadStatus::Read, 0, 1}), "");
}

TEST(DecodeText, DecodesEachLineOnItsOwnAndEndsLinesAtCrToo) {
    const std::string gbkTitle = "\xD4\xC2\xC1\xC1\xBA\xD3"; // 月亮河
    const struct {
        std::string bytes;
        std::string text;
    } cases[] = {
        {"曲目标题 = 夜曲;\n\xB1\xEA\xCC\xE2 = " + gbkTitle + ";\n艺术家 = 某人;\n",
         "曲目标题 = 夜曲;\n标题 = 月亮河;\n艺术家 = 某人;\n"},
        {"a = 夜曲;\r" + gbkTitle + "\rb", "a = 夜曲;\r月亮河\rb"},
        {gbkTitle + "\r\n\r\n夜曲", "月亮河\r\n\r\n夜曲"},
        {"\xEF\xBB\xBF夜曲\n" + gbkTitle, "夜曲\n月亮河"},
        {"\xEF\xBB\xBF夜曲", "夜曲"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeText(c.bytes), c.text) << c.text;
    }
}

TEST(SplitLines, CrLfLfAndCrEachEndOneLine) {
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd\r\re"),
              (std::vector<std::string>{"a", "b", "c", "d", "", "e"}));
    EXPECT_EQ(SplitLines("a\r"), (std::vector<std::string>{"a"}));
}

TEST(WriteFileAtomically, ASymbolicLinkStaysALinkAndItsTargetIsSaved) {
    CTempDir dir;
    dir.Write("synced/PlayList.stp", "old");
    std::filesystem::create_symlink("synced/PlayList.stp", dir.File("relative"));
    std::filesystem::create_symlink(dir.File("relative"), dir.File("chain"));
    std::filesystem::create_symlink("synced/new.stp", dir.File("dangling"));
    const struct {
        const char* link;
        const char* target;
        const char* linkText;
    } cases[] = {
        {"relative", "synced/PlayList.stp", "synced/PlayList.stp"},
        {"chain", "synced/PlayList.stp", nullptr},
        {"dangling", "synced/new.stp", "synced/new.stp"},
    };
    for (const auto& c : cases) {
        std::string content = std::string("saved through ") + c.link;
        ASSERT_TRUE(WriteFileAtomically(dir.File(c.link), content)) << c.link;
        EXPECT_TRUE(IsLink(dir.File(c.link))) << c.link;
        EXPECT_EQ(dir.Read(c.target), content) << c.link;
        if (c.linkText != nullptr) {
            EXPECT_EQ(LinkText(dir.File(c.link)), c.linkText) << c.link;
        }
    }
    EXPECT_EQ(LinkText(dir.File("chain")), dir.File("relative"));
    // Nothing was left behind in the link's folder or the target's.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.File("synced")),
                            std::filesystem::directory_iterator()),
              2);
}

TEST(KeepFileAside, KeepsTheBytesUnderTheFirstFreeNumberedName) {
    CTempDir dir;
    dir.Write("PlayList.stp", "damaged 1");
    dir.Write("PlayList.stp.unreadable", "an earlier one");
    dir.Write("synced/Cricklet.ini", "damaged 2");
    std::filesystem::create_symlink(dir.File("synced/Cricklet.ini"), dir.File("Cricklet.ini"));
    const struct {
        const char* name;
        const char* keptAs;
        const char* bytes;
    } cases[] = {
        {"PlayList.stp", "PlayList.stp.unreadable.1", "damaged 1"},
        {"Cricklet.ini", "Cricklet.ini.unreadable", "damaged 2"},
        {"PlayList.stp", "PlayList.stp.unreadable.2", "damaged 1"},
    };
    for (const auto& c : cases) {
        std::string keptAs;
        ASSERT_TRUE(KeepFileAside(dir.File(c.name), keptAs)) << c.name;
        EXPECT_EQ(keptAs, dir.File(c.keptAs));
        EXPECT_EQ(dir.Read(c.keptAs), c.bytes) << c.keptAs;
        EXPECT_EQ(dir.Read(c.name), c.bytes) << "stays in place until the save: " << c.name;
    }
    EXPECT_TRUE(IsLink(dir.File("Cricklet.ini")));
    EXPECT_EQ(dir.Read("PlayList.stp.unreadable"), "an earlier one");

    std::string keptAs;
    EXPECT_TRUE(KeepFileAside(dir.File("missing"), keptAs));
    EXPECT_EQ(keptAs, "");
}
