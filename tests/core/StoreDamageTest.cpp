// Store files that read as damaged at start-up: the user hears of each once,
// and the original bytes survive the exit save as NAME.unreadable.
#include "core/MusicManager.h"
#include "support/CurrentFolder.h"
#include "support/RecordingPlatform.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>

namespace {

std::string ListFile(const std::string& count, int entries, int songsClaimed = 0) {
    std::string text = "// 1\n// 2\n// 3\n// 4\n// 5\n\nnumber = " + count + ";\n\n";
    for (int i = 0; i < entries; ++i) {
        text += "<play list>\n曲目标题 = 甲;\n艺术家 = ;\n风格 = 2001;\n曲数 = " +
                std::to_string(songsClaimed) + ";\n时间 = 0;\n欣赏次数 = 0;\n文件名 = 甲.m3u;\n"
                "文件位置 = /m;\n\n<song list>\n";
    }
    return text;
}

std::string SongStore(const std::string& count, int songs, const char* end = "\n") {
    std::string text = "number = " + count + ";" + end + end;
    for (int i = 0; i < songs; ++i) {
        for (const char* line : {"音乐标题 = 一;", "艺术家 = ;", "风格 = 2001;", "时间 = 1;",
                                 "次序 = 1;", "文件名 = 不存在;", "文件类型 = ;", "文件位置 = ;",
                                 "文件大小 = 0;", ""}) {
            text += std::string(line) + end;
        }
    }
    return text;
}

std::string Settings(int typeCount, const std::string& rows) {
    return "[Cricklet Configuration List]\nIsUseDefaultPlayer = 0;\nPlayerPath = /usr/bin/mpv;\n"
           "IsFirstUse = 0;\nRecentDirectory = ;\nWorkDirectory = ;\nIsImportDir = 1;\n"
           "IsHideWhenMin = 1;\nIsExitAlert = 1;\nIconPlaylistID = 1;\nIconMusicID = 1;\n"
           "SupportedFileTypeCount = " +
           std::to_string(typeCount) + ";\n" + rows;
}

const char* const kPipe = "(a named pipe)";

} // namespace

TEST(StoreDamage, EachDamagedFileIsReportedOnceAndKeptAsUnreadable) {
    const std::string damaged = "”已损坏，其中的记录未能全部读入。";
    const std::string notRegular = "”不是普通文件，无法读取。";
    const struct {
        const char* name;
        std::string bytes;
        std::string problem; // after the quoted path; empty for a whole file
        int entries;         // read at start-up
        int songs;
    } cases[] = {
        {"PlayList.stp", ListFile("3", 2), damaged, 2, 0},
        {"PlayList.stp", ListFile("x", 1), damaged, 0, 0},
        {"PlayList.stp", ListFile("4294967297", 2), damaged, 2, 0},
        {"PlayList.stp", ListFile("1", 1, 2), damaged, 1, 0},
        {"MusicList.ckp", SongStore("3", 2), damaged, 0, 2},
        {"MusicList.ckp", SongStore("1", 0) + "音乐标题 = 一;\n", damaged, 0, 1},
        {"MusicList.ckp", SongStore("0", 1), damaged, 0, 0},
        {"Cricklet.ini", std::string("\x7F\x45\x4C\x46\x02\x01\x01\0\0", 9), damaged, 0, 0},
        {"Cricklet.ini", Settings(12, "mp3 = 1;\nmpga = 1;\n"), damaged, 0, 0},
        {"PlayList.stp", kPipe, notRegular, 0, 0},
        {"MusicList.ckp", kPipe, notRegular, 0, 0},
        {"Cricklet.ini", kPipe, notRegular, 0, 0},
        {"PlayList.stp", ListFile("1", 1), "", 1, 0},
        {"PlayList.stp", "", "", 0, 0},
        {"MusicList.ckp", SongStore("2", 2, "\r"), "", 0, 2},
        {"Cricklet.ini", Settings(2, "mp3 = 1;\nmpga = 1;\n"), "", 0, 0},
        {"Cricklet.ini", "[Cricklet Configuration List]\n", "", 0, 0},
    };
    for (const auto& c : cases) {
        CTempDir dir;
        std::string path = dir.File(c.name);
        bool pipe = c.bytes == kPipe;
        ASSERT_TRUE(pipe ? mkfifo(path.c_str(), 0600) == 0 : !dir.Write(c.name, c.bytes).empty());
        CScopedRecordingPlatform recorder;
        CScopedFolderChange inside(dir.Path());
        CMusicManager manager(nullptr);
        manager.Start();
        EXPECT_EQ(manager.entries.GetCount(), c.entries) << c.bytes;
        EXPECT_EQ(manager.songs.GetCount(), c.songs) << c.bytes;
        std::vector<std::string> messages;
        if (!c.problem.empty()) {
            messages.push_back("“" + path + c.problem + "\n为免丢失数据，保存前原文件将保留为“" +
                               c.name + ".unreadable”。");
        }
        EXPECT_EQ(recorder.platform.MessageTexts(), messages) << c.bytes;

        EXPECT_TRUE(manager.Save()) << c.bytes;
        EXPECT_EQ(recorder.platform.MessageTexts(), messages) << "reported once: " << c.bytes;
        std::string kept = path + ".unreadable";
        EXPECT_EQ(std::filesystem::exists(kept), !c.problem.empty()) << c.bytes;
        if (pipe) {
            EXPECT_TRUE(std::filesystem::is_fifo(kept));
        } else if (!c.problem.empty()) {
            EXPECT_EQ(dir.Read(kept), c.bytes);
        }
        EXPECT_TRUE(std::filesystem::is_regular_file(path)) << c.bytes;
    }
}
