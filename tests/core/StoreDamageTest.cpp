// Store files that read as damaged at start-up: the user hears of each once,
// and the original bytes survive the exit save as NAME.unreadable.
#include "core/MusicManager.h"
#include "support/RecordingPlatform.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

const char* const kListHeader =
    "// 注意:您可以按格式修改以下记录的内容, 但勿修改记录格式结构, 以防发生记录格式读入错误\n"
    "// 1.请不要加入一个行或是删除一行\n"
    "// 2.请不要修改属性的名称\n"
    "// 3.请不要修改\" = \"以及\";\"等关键词格式\n"
    "// 4.请不要删除本说明\n"
    "\n";

std::string EntryRecord(const std::string& title, int songCount = 0) {
    return "<play list>\n曲目标题 = " + title +
           ";\n艺术家 = ;\n风格 = 2001;\n曲数 = " + std::to_string(songCount) +
           ";\n时间 = 0;\n欣赏次数 = 0;\n文件名 = " + title +
           ".m3u;\n文件位置 = /m;\n\n<song list>\n";
}

std::string SongRecord(const std::string& title) {
    return "音乐标题 = " + title +
           ";\n艺术家 = ;\n风格 = 2001;\n时间 = 1;\n次序 = 1;\n文件名 = 不存在;\n文件类型 = ;\n"
           "文件位置 = ;\n文件大小 = 0;\n\n";
}

std::string ListFile(const std::string& count, const std::string& records) {
    return kListHeader + std::string("number = ") + count + ";\n\n" + records;
}

std::string Settings(const std::string& playerPath, int typeCount, const std::string& rows) {
    return "[Cricklet Configuration List]\nIsUseDefaultPlayer = 0;\nPlayerPath = " + playerPath +
           ";\nIsFirstUse = 0;\nRecentDirectory = ;\nWorkDirectory = ;\nIsImportDir = 1;\n"
           "IsHideWhenMin = 1;\nIsExitAlert = 1;\nIconPlaylistID = 1;\nIconMusicID = 1;\n"
           "SupportedFileTypeCount = " +
           std::to_string(typeCount) + ";\n" + rows;
}

class CScopedCurrentFolder {
public:
    explicit CScopedCurrentFolder(const std::string& folder)
        : m_previous(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~CScopedCurrentFolder() { std::filesystem::current_path(m_previous); }

private:
    std::filesystem::path m_previous;
};

std::string WithCrEnds(std::string text) {
    for (char& c : text) {
        c = c == '\n' ? '\r' : c;
    }
    return text;
}

bool IsFifo(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && S_ISFIFO(info.st_mode);
}

} // namespace

TEST(StoreDamage, EachDamagedFileIsReportedOnceAndKeptAsUnreadable) {
    const struct {
        const char* name;
        std::string bytes;
        int entries; // read at start-up
        int songs;
    } cases[] = {
        {"PlayList.stp", ListFile("3", EntryRecord("甲") + EntryRecord("乙")), 2, 0},
        {"PlayList.stp", ListFile("x", EntryRecord("甲")), 0, 0},
        {"PlayList.stp", ListFile("4294967297", EntryRecord("甲") + EntryRecord("乙")), 2, 0},
        {"PlayList.stp", ListFile("1", EntryRecord("甲", 2) + SongRecord("一")), 1, 0},
        {"MusicList.ckp", "number = 3;\n\n" + SongRecord("一") + SongRecord("二"), 0, 2},
        {"MusicList.ckp", "number = 1;\n\n音乐标题 = 一;\n艺术家 = ;\n", 0, 1},
        {"MusicList.ckp", "number = 0;\n\n" + SongRecord("一"), 0, 0},
        {"Cricklet.ini", std::string("\x7F\x45\x4C\x46\x02\x01\x01\0\0\0", 10), 0, 0},
        {"Cricklet.ini", Settings("/usr/bin/mpv", 12, "mp3 = 1;\nmpga = 1;\n"), 0, 0},
    };
    for (const auto& c : cases) {
        CTempDir dir;
        dir.Write(c.name, c.bytes);
        CScopedRecordingPlatform recorder;
        CScopedCurrentFolder inside(dir.Path());
        CMusicManager manager(nullptr);
        manager.Start();
        EXPECT_EQ(manager.entries.GetCount(), c.entries) << c.bytes;
        EXPECT_EQ(manager.songs.GetCount(), c.songs) << c.bytes;
        ASSERT_EQ(recorder.platform.messages.size(), 1u) << c.bytes;
        EXPECT_EQ(recorder.platform.messages[0].text,
                  "“" + dir.File(c.name) + "”已损坏，其中的记录未能全部读入。\n" +
                      "为免丢失数据，保存前原文件将保留为“" + c.name + ".unreadable”。");

        EXPECT_TRUE(manager.Save()) << c.bytes;
        EXPECT_EQ(dir.Read(std::string(c.name) + ".unreadable"), c.bytes);
        EXPECT_NE(dir.Read(c.name), c.bytes);
        EXPECT_EQ(recorder.platform.messages.size(), 1u) << c.bytes;
    }
}

TEST(StoreDamage, SpecialFilesNeitherHangNorAreReplaced) {
    for (const char* name : {"PlayList.stp", "MusicList.ckp", "Cricklet.ini"}) {
        CTempDir dir;
        ASSERT_EQ(mkfifo(dir.File(name).c_str(), 0600), 0);
        CScopedRecordingPlatform recorder;
        CScopedCurrentFolder inside(dir.Path());
        CMusicManager manager(nullptr);
        manager.Start();
        EXPECT_EQ(recorder.platform.MessageTexts(),
                  std::vector<std::string>{
                      "“" + dir.File(name) +
                      "”不是普通文件，无法读取。\n为免丢失数据，保存前原文件将保留为“" + name +
                      ".unreadable”。"});
        EXPECT_EQ(manager.config.IsUseDefaultPlayer, 1) << name;
        EXPECT_TRUE(manager.Save()) << name;
        EXPECT_TRUE(IsFifo(dir.File(std::string(name) + ".unreadable"))) << name;
        EXPECT_FALSE(IsFifo(dir.File(name))) << name;
    }
}

TEST(StoreDamage, WholeFilesAreNeitherReportedNorKeptAside) {
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"PlayList.stp", ListFile("1", EntryRecord("甲"))},
        {"PlayList.stp", ""},
        {"PlayList.stp", ListFile("0", "")},
        {"MusicList.ckp", WithCrEnds("number = 2;\n\n" + SongRecord("一") + SongRecord("二"))},
        {"Cricklet.ini", Settings("/usr/bin/mpv", 2, "mp3 = 1;\nmpga = 1;\n")},
        {"Cricklet.ini", "[Cricklet Configuration List]\n"},
    };
    for (const auto& c : cases) {
        CTempDir dir;
        dir.Write(c.name, c.bytes);
        CScopedRecordingPlatform recorder;
        CScopedCurrentFolder inside(dir.Path());
        CMusicManager manager(nullptr);
        manager.Start();
        EXPECT_TRUE(manager.Save());
        EXPECT_EQ(recorder.platform.MessageTexts(), std::vector<std::string>()) << c.bytes;
        EXPECT_FALSE(std::filesystem::exists(dir.File(std::string(c.name) + ".unreadable")));
    }
}

TEST(StoreDamage, ADamagedSettingsFileKeepsWhatItHoldsAndItsLinkStays) {
    CTempDir dir;
    std::string damaged = Settings("/usr/bin/mpv", 12, "mp3 = 1;\n");
    dir.Write("synced/Cricklet.ini", damaged);
    dir.Write("Cricklet.ini.unreadable", "an earlier one");
    std::filesystem::create_symlink(dir.File("synced/Cricklet.ini"), dir.File("Cricklet.ini"));
    CScopedRecordingPlatform recorder;
    CScopedCurrentFolder inside(dir.Path());
    CMusicManager manager(nullptr);
    manager.Start();
    EXPECT_EQ(manager.config.PlayerPath, "/usr/bin/mpv");
    EXPECT_EQ(manager.config.IsUseDefaultPlayer, 0);
    EXPECT_TRUE(manager.Save());
    EXPECT_EQ(dir.Read("Cricklet.ini.unreadable"), "an earlier one");
    EXPECT_EQ(dir.Read("Cricklet.ini.unreadable.1"), damaged);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("Cricklet.ini")));
    EXPECT_NE(dir.Read("synced/Cricklet.ini").find("PlayerPath = /usr/bin/mpv;"),
              std::string::npos);
    EXPECT_EQ(recorder.platform.messages.size(), 1u);
}

// A save into another folder replaces nothing that was read: the damaged
// file stays where it is, untouched.
TEST(StoreDamage, ASaveElsewhereLeavesTheDamagedFileAlone) {
    CTempDir here, there;
    std::string damaged = ListFile("2", EntryRecord("甲"));
    here.Write("PlayList.stp", damaged);
    here.Write("Cricklet.ini", Settings("", 0, "") + "DlgEditPlaylistUF = 1;\n");
    CScopedRecordingPlatform recorder;
    CScopedCurrentFolder inside(here.Path());
    CMusicManager manager(nullptr);
    manager.Start();
    manager.config.WorkDirectory = there.Path();
    EXPECT_TRUE(manager.Save());
    EXPECT_EQ(here.Read("PlayList.stp"), damaged);
    EXPECT_FALSE(std::filesystem::exists(here.File("PlayList.stp.unreadable")));
    EXPECT_NE(there.Read("PlayList.stp").find("曲目标题 = 甲;"), std::string::npos);
}
