// The play commands through the command runner, with a configured player that
// is a small script recording how it was started and what Cache.m3u held.
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

struct CEntrySpec {
    std::string title;
    std::string artist;
    int songCount;
};

std::string Record(const std::string& key, const std::string& value) {
    return key + " = " + value + ";\n";
}

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// A working folder with PlayList.stp, MusicList.ckp, Cricklet.ini, the song
// files, and the player script.
class CCmdLibrary {
public:
    CTempDir dir;
    std::vector<std::vector<std::string>> entrySongs; // full paths per entry
    std::vector<std::string> flatSongs;

    explicit CCmdLibrary(const std::vector<CEntrySpec>& entries) {
        std::string list = "// 注意:您可以按格式修改以下记录的内容, 但勿修改记录格式结构, "
                           "以防发生记录格式读入错误\n"
                           "// 1.请不要加入一个行或是删除一行\n"
                           "// 2.请不要修改属性的名称\n"
                           "// 3.请不要修改\" = \"以及\";\"等关键词格式\n"
                           "// 4.请不要删除本说明\n\n" +
                           Record("number", std::to_string(entries.size())) + "\n";
        std::string store;
        for (const auto& entry : entries) {
            list += "<play list>\n" + Record("曲目标题", entry.title) +
                    Record("艺术家", entry.artist) + Record("风格", "2001") +
                    Record("曲数", std::to_string(entry.songCount)) + Record("时间", "0") +
                    Record("欣赏次数", "0") + Record("文件名", entry.title + ".m3u") +
                    Record("文件位置", dir.File("music")) + "\n<song list>\n";
            entrySongs.emplace_back();
            for (int s = 1; s <= entry.songCount; ++s) {
                std::string name = entry.title + "-" + std::to_string(s) + ".ogg";
                dir.Write("music/" + name, "ogg");
                std::string song = Record("音乐标题", entry.title + " " + std::to_string(s)) +
                                   Record("艺术家", entry.artist) + Record("风格", "2001") +
                                   Record("时间", "60") + Record("次序", std::to_string(s)) +
                                   Record("文件名", name) + Record("文件类型", "ogg") +
                                   Record("文件位置", dir.File("music")) + Record("文件大小", "3") +
                                   "\n";
                list += song;
                store += song;
                entrySongs.back().push_back(dir.File("music/" + name));
                flatSongs.push_back(dir.File("music/" + name));
            }
        }
        dir.Write("PlayList.stp", list);
        dir.Write("MusicList.ckp",
                  Record("number", std::to_string(flatSongs.size())) + "\n" + store);
        dir.Write("player.sh", "#!/bin/sh\n"
                               "block=\"$0.$$\"\n"
                               "{ echo \"argc=$#\"; for a in \"$@\"; do echo \"arg=$a\"; done;"
                               " cat \"$1\"; echo END; } > \"$block\"\n"
                               "cat \"$block\" >> " +
                                   Quoted(dir.File("calls.txt")) + "\nrm -f \"$block\"\n");
        chmod(dir.File("player.sh").c_str(), 0755);
        SetWorkDirectory(dir.Path());
    }

    void SetWorkDirectory(const std::string& folder) {
        dir.Write("Cricklet.ini",
                  "[Cricklet Configuration List]\n" + Record("IsUseDefaultPlayer", "0") +
                      Record("PlayerPath", dir.File("player.sh")) + Record("IsFirstUse", "0") +
                      Record("RecentDirectory", "") + Record("WorkDirectory", folder));
    }

    // Runs the command runner; returns what it printed.
    std::string Run(const std::string& arguments) const {
        std::string command = std::string(CRICKLET_CMD_PATH) + " --dir " + Quoted(dir.Path()) +
                              " " + arguments + " > " + Quoted(dir.File("out.txt")) + " 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << arguments;
        return dir.Read("out.txt");
    }

    // The player's record of its calls, once a call has finished; the player
    // runs detached, so it is waited for. Calls that follow late are given a
    // moment to show up too.
    std::string WaitForCalls(int seconds = 5) const {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (std::chrono::steady_clock::now() < deadline) {
            if (dir.Read("calls.txt").find("END\n") != std::string::npos) {
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        std::string calls = dir.Read("calls.txt");
        std::remove(dir.File("calls.txt").c_str());
        return calls;
    }

    // The one call expected: one argument, the path of Cache.m3u; returns
    // the song paths that Cache.m3u held.
    std::vector<std::string> PlayedSongs(const std::string& workFolder = "") const {
        std::string calls = WaitForCalls();
        std::string cache = (workFolder.empty() ? dir.Path() : workFolder) + "/Cache.m3u";
        std::string head = "argc=1\narg=" + cache + "\n#EXTM3U\n";
        EXPECT_EQ(calls.compare(0, head.size(), head), 0) << calls;
        EXPECT_EQ(std::count(calls.begin(), calls.end(), '='), 2) << calls; // one call
        std::vector<std::string> songs;
        std::size_t start = calls.find("#EXTM3U\n");
        std::size_t end = calls.rfind("END\n");
        if (start == std::string::npos || end == std::string::npos) {
            return songs;
        }
        std::size_t position = start + 8;
        while (position < end) {
            std::size_t lineEnd = calls.find('\n', position);
            std::string line = calls.substr(position, lineEnd - position);
            if (line.compare(0, 8, "#EXTINF:") != 0) {
                songs.push_back(line);
            }
            position = lineEnd + 1;
        }
        return songs;
    }

    std::vector<std::string> SongsOf(std::vector<int> positions) const {
        std::vector<std::string> songs;
        for (int position : positions) {
            const auto& entry = entrySongs[position - 1];
            songs.insert(songs.end(), entry.begin(), entry.end());
        }
        return songs;
    }
};

std::vector<std::string> Sorted(std::vector<std::string> songs) {
    std::sort(songs.begin(), songs.end());
    return songs;
}

const std::vector<CEntrySpec> kLibrary = {
    {"Abbey", "Beatles", 3}, {"Arrival", "ABBA", 2}, {"Help", "Beatles", 2}, {"Mix", "", 4}};

} // namespace

TEST(PlayCommandsCmd, SelectionAndShuffledSongsStartThePlayerOnceWithCacheM3u) {
    CCmdLibrary library(kLibrary);
    library.Run("1011 --int 2 --int 4 --str playlist");
    EXPECT_EQ(library.PlayedSongs(), library.SongsOf({2, 4}));
    EXPECT_NE(library.dir.Read("PlayList.stp").find("欣赏次数 = 1;"), std::string::npos);

    library.Run("--row 0 1034 --int 1 --int 3 --int 9 --int 0");
    EXPECT_EQ(Sorted(library.PlayedSongs()),
              Sorted({library.flatSongs[0], library.flatSongs[2], library.flatSongs[8]}));
}

TEST(PlayCommandsCmd, RandomEntriesWithAndWithoutShuffleAndRandomSongs) {
    CCmdLibrary library(kLibrary);
    library.Run("1015 --int 1 --int 0");
    std::vector<std::string> one = library.PlayedSongs();
    bool wholeEntry = false;
    for (int e = 1; e <= 4; ++e) {
        wholeEntry = wholeEntry || one == library.SongsOf({e});
    }
    EXPECT_TRUE(wholeEntry) << one.size();

    library.Run("1015 --int 2 --int 1");
    std::vector<std::string> two = Sorted(library.PlayedSongs());
    bool twoEntries = false;
    for (int a = 1; a <= 4; ++a) {
        for (int b = 1; b <= 4; ++b) {
            twoEntries = twoEntries || two == Sorted(library.SongsOf({a, b}));
        }
    }
    EXPECT_TRUE(twoEntries) << two.size();

    library.Run("1016 --int 10");
    std::vector<std::string> songs = library.PlayedSongs();
    EXPECT_EQ(songs.size(), 10u);
    std::set<std::string> flat(library.flatSongs.begin(), library.flatSongs.end());
    for (const auto& song : songs) {
        EXPECT_EQ(flat.count(song), 1u) << song;
    }
}

TEST(PlayCommandsCmd, ArtistSongsAllOrSome) {
    CCmdLibrary library(kLibrary);
    // The artist index is ABBA, Beatles, <未命名>.
    library.Run("1012 --int 2 --int -1");
    EXPECT_EQ(Sorted(library.PlayedSongs()), Sorted(library.SongsOf({1, 3})));
    library.Run("1012 --int 3 --int -1");
    EXPECT_EQ(Sorted(library.PlayedSongs()), Sorted(library.SongsOf({4})));
    library.Run("1012 --int 2 --int 2");
    std::vector<std::string> kept = library.PlayedSongs();
    ASSERT_EQ(kept.size(), 2u);
    std::vector<std::string> beatles = library.SongsOf({1, 3});
    for (const auto& song : kept) {
        EXPECT_NE(std::find(beatles.begin(), beatles.end(), song), beatles.end()) << song;
    }
}

TEST(PlayCommandsCmd, APathOverTheLimitShowsTheMessageAndStartsNothing) {
    CCmdLibrary library(kLibrary);
    // Working folders whose Cache.m3u paths are 253 and 254 bytes long.
    const std::string tail = "/Cache.m3u";
    std::string base = library.dir.Path() + "/";
    std::string fits = base + std::string(253 - tail.size() - base.size(), 'w');
    std::string tooLong = base + std::string(254 - tail.size() - base.size(), 'l');
    ASSERT_EQ((fits + tail).size(), 253u);
    ASSERT_EQ(mkdir(fits.c_str(), 0755), 0);
    ASSERT_EQ(mkdir(tooLong.c_str(), 0755), 0);

    library.SetWorkDirectory(fits);
    library.Run("1011 --int 1 --str playlist");
    EXPECT_EQ(library.PlayedSongs(fits), library.SongsOf({1}));

    library.SetWorkDirectory(tooLong);
    std::string printed = library.Run("1011 --int 1 --str playlist");
    EXPECT_NE(printed.find("您所选的播放曲目的命令行超过最大限度，无法播放。请另选目标。"),
              std::string::npos)
        << printed;
    EXPECT_EQ(library.WaitForCalls(2), "");
}
