// Store files that read as damaged at start-up: the user hears of each once,
// and the original bytes survive the exit save as NAME.unreadable.
#include "core/MusicManager.h"
#include "support/Library.h"
#include "support/StoreFiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

namespace {

// A list of entries, each claiming songs songs but holding none.
std::string ListFile(const std::string& count, int entries, int songs = 0) {
    CEntryPtr entry = TestEntry("甲", "/m", "甲.m3u");
    entry->count = songs;
    return ReplaceAll(ListFileText(std::vector<std::string>(entries, EntryRecordText(*entry))),
                      "number = " + std::to_string(entries) + ";", "number = " + count + ";");
}

std::string SongStore(const std::string& count, int songs, const char* end = "\n") {
    std::string text = SongStoreText(std::vector<CSongPtr>(songs, TestSong("一", 1)));
    text = ReplaceAll(text, "number = " + std::to_string(songs) + ";", "number = " + count + ";");
    return ReplaceAll(text, "\n", end);
}

// Settings that list two file types (mp3, mpga) and claim typeCount.
std::string Settings(int typeCount) {
    std::string text = DefaultSettingsText("");
    return ReplaceAll(text.substr(0, text.find("rm = 0;")), "= 10;",
                      "= " + std::to_string(typeCount) + ";");
}

const char* const kPipe = "(a named pipe)";

} // namespace

TEST(StoreDamage, EachDamagedFileIsReportedOnceAndKeptAsUnreadable) {
    const std::string damaged = "”已损坏，其中的记录未能全部读入。";
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
        {"Cricklet.ini", Settings(12), damaged, 0, 0},
        {"PlayList.stp", kPipe, "”不是普通文件，无法读取。", 0, 0},
        {"PlayList.stp", "", "", 0, 0},
        {"MusicList.ckp", SongStore("2", 2, "\r"), "", 0, 2},
        {"Cricklet.ini", Settings(2), "", 0, 0},
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
        EXPECT_EQ(manager.entries.GetCount() * 10 + manager.songs.GetCount(),
                  c.entries * 10 + c.songs)
            << c.bytes;
        Lines messages;
        if (!c.problem.empty()) {
            messages.push_back("“" + path + c.problem + "\n为免丢失数据，保存前原文件将保留为“" +
                               c.name + ".unreadable”。");
        }
        EXPECT_EQ(recorder.platform.MessageTexts(), messages) << c.bytes;

        EXPECT_TRUE(manager.Save()) << c.bytes;
        EXPECT_EQ(recorder.platform.MessageTexts(), messages) << "reported once: " << c.bytes;
        std::string kept = path + ".unreadable";
        EXPECT_EQ(std::filesystem::exists(kept), !c.problem.empty()) << c.bytes;
        EXPECT_TRUE(pipe ? std::filesystem::is_fifo(kept)
                         : c.problem.empty() || dir.Read(kept) == c.bytes)
            << c.bytes;
        EXPECT_TRUE(std::filesystem::is_regular_file(path)) << c.bytes;
    }
}
