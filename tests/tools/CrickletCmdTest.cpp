// Runs the built cricklet-cmd on store files written here and compares the
// files it writes at exit, whole.
#include "formats/ListFile.h"
#include "support/Library.h"
#include "support/StoreFiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <thread>

namespace {

using Lines = std::vector<std::string>;

struct CRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs cricklet-cmd with the arguments, each quoted for the shell.
CRun RunCmd(const Lines& arguments) {
    CTempDir outputs;
    std::string command = CRICKLET_CMD_PATH;
    for (const auto& argument : arguments) {
        command += " '" + argument + "'";
    }
    int status =
        std::system((command + " >" + outputs.File("out") + " 2>" + outputs.File("err")).c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, outputs.Read("out"), outputs.Read("err")};
}

std::string RealPath(const std::string& path) {
    return std::filesystem::canonical(path).string();
}

// A library folder lib/ with music files on disk: entry 老歌精选 (an M3U
// file) with 月亮河 and a vanished 夜曲, folder entry Jazz with 蓝调, and in
// the flat list also 散曲, which belongs to no entry.
struct CLibraryFolder {
    CTempDir dir;
    std::string music = RealPath(dir.Path()) + "/音乐";
    std::string folder;
    CSongPtr moon = TestSong("月亮河", 185, music);
    CSongPtr night = TestSong("夜曲", 240, "", kMissingFileMarker);
    CSongPtr blues = TestSong("蓝调", 100, music + "/Jazz");
    CSongPtr loose = TestSong("散曲", 30, music);
    CEntryPtr oldSongs = TestEntry("老歌精选", music, "老歌精选.m3u", {moon, night}, "N/A");
    CEntryPtr jazz = TestEntry("Jazz", music + "/Jazz", music + "/Jazz", {blues}, "Miles");
    std::string list, store;

    CLibraryFolder() {
        for (const auto& song : {moon, night, blues, loose}) {
            song->artist = "N/A";
            song->size = song == night ? 0 : song->time * 2;
            if (song != night) {
                dir.Write(song->GetFullPath(), std::string(song->size, 'a'));
            }
        }
        loose->order = 1;
        oldSongs->style = jazz->style = 2002;
        oldSongs->playCount = jazz->playCount = 3;
        list = ListFileText(Lines{EntryRecordText(*oldSongs), EntryRecordText(*jazz)});
        store = SongStoreText({moon, night, blues, loose});
        dir.Write("lib/PlayList.stp", list);
        dir.Write("lib/MusicList.ckp", store);
        folder = RealPath(dir.File("lib"));
    }
    CRun Run(Lines arguments) const {
        arguments.insert(arguments.begin(), {"--dir", folder});
        return RunCmd(arguments);
    }
    std::string Store(const std::string& name = "lib/") const {
        return dir.Read(name + "PlayList.stp") + dir.Read(name + "MusicList.ckp");
    }
};

} // namespace

TEST(CrickletCmd, AFreshFolderGetsEmptyStoreFilesAndDefaultSettings) {
    CTempDir dir;
    CRun run = RunCmd({"--dir", dir.Path(), "0"});
    EXPECT_EQ(std::to_string(run.exitCode) + run.out, "0") << run.err;
    EXPECT_EQ(dir.Read("Cricklet.ini"), DefaultSettingsText(RealPath(dir.Path())));
    EXPECT_EQ(dir.Read("PlayList.stp") + dir.Read("MusicList.ckp"),
              ListFileText(Lines{}) + "number = 0;\n\n");
}

TEST(CrickletCmd, MalformedCallsAndCountsNoMenuCanSendGetTheUsageAndRunNothing) {
    const struct {
        const char* arguments; // after --dir
        int exitCode;
    } cases[] = {
        {"", 2},
        {"abc", 2},
        {"--bogus 1010", 2},
        {"1010 --int x", 2},
        {"1010 --int 99999999999", 2},
        {"--row 1.5 1010", 2},
        {"1010 1003", 2},
        {"1010 --str", 2},
        {"1016 --int 2000000000", 2},
        {"1016 --int 15", 2},
        {"1016", 2},
        {"1015 --int 3", 2},
        {"1015 --int 2 --int 5", 2},
        {"1012 --int 1 --int 0", 2},
        {"1015 --int 4 --int 1", 0},
        {"1016 --int 40", 0},
        {"1012 --int 1 --int 3", 0},
    };
    for (const auto& c : cases) {
        CTempDir dir;
        dir.Write("PlayList.stp", "as it was");
        std::string command = std::string(CRICKLET_CMD_PATH) + " --dir " + dir.Path() + " " +
                              c.arguments + " >" + dir.File("out") + " 2>" + dir.File("err");
        int status = std::system(command.c_str());
        EXPECT_EQ(WEXITSTATUS(status), c.exitCode) << c.arguments;
        bool refused = c.exitCode == 2;
        EXPECT_EQ(dir.Read("err").find("usage: cricklet-cmd") != std::string::npos, refused)
            << c.arguments;
        EXPECT_EQ(dir.Read("PlayList.stp") == "as it was", refused) << c.arguments;
        EXPECT_EQ(dir.Read("out").empty() && !std::filesystem::exists(dir.File("Cricklet.ini")),
                  refused)
            << c.arguments;
    }
}

TEST(CrickletCmd, ExportedListImportsIntoAnotherFolder) {
    CLibraryFolder library;
    std::string exported = library.dir.File("导出 list.stp");
    CRun run = library.Run({"1003", "--str", exported});
    EXPECT_EQ(std::to_string(run.exitCode) + run.out, "0") << run.err;
    EXPECT_EQ(library.dir.Read(exported), library.list);
    EXPECT_EQ(library.Store(), library.list + library.store);
    EXPECT_EQ(library.dir.Read("lib/Cricklet.ini"), DefaultSettingsText(library.folder));

    library.dir.Write("other/.keep", "");
    // The import replaces the entries and rebuilds the flat list from them:
    // the song that belonged to no entry is gone.
    run = RunCmd({"--dir", library.dir.File("other"), "1002", "--str", exported});
    EXPECT_EQ(run.out, "导入音乐文件成功！共导入曲目2个, 音乐文件3个。\n");
    EXPECT_EQ(library.Store("other/"),
              library.list + SongStoreText({library.moon, library.night, library.blues}));
}

TEST(CrickletCmd, DesktopOpeningsArePrinted) {
    CLibraryFolder library;
    library.dir.Write("lib/Help/ckhelp.htm", "<html></html>");
    const struct {
        Lines arguments;
        std::string out;
    } cases[] = {
        {{"1050", "--int", "2"}, "explore: " + library.music + "/Jazz\n"},
        {{"--row", "1", "1051", "--int", "1", "--int", "0"}, "explore: " + library.music + "\n"},
        {{"1020"}, "open: " + library.folder + "/Help/ckhelp.htm\n"},
    };
    for (const auto& c : cases) {
        CRun run = library.Run(c.arguments);
        EXPECT_EQ(std::to_string(run.exitCode) + run.out, "0" + c.out) << run.err;
    }
}

TEST(CrickletCmd, ASaveThatCannotBeWrittenIsReportedAndKeepsTheOldFiles) {
    CLibraryFolder library;
    library.dir.Write("blocker", "a file where a folder should be");
    std::string settings = DefaultSettingsText(library.dir.File("blocker/sub"));
    library.dir.Write("lib/Cricklet.ini", settings);
    CRun run = library.Run({"1010"});
    EXPECT_EQ(run.exitCode, 1);
    std::string target = library.dir.File("blocker/sub/");
    EXPECT_EQ(run.out, target + "PlayList.stp: Not a directory\n" + target +
                           "MusicList.ckp: Not a directory\n" + target +
                           "Cricklet.ini: Not a directory\n");
    EXPECT_EQ(library.Store(), library.list + library.store);
    EXPECT_EQ(library.dir.Read("lib/Cricklet.ini"), settings);
}

TEST(CrickletCmd, AFolderImportRunsToItsEndBeforeTheSave) {
    CTempDir dir;
    dir.Write("音乐/a.mid", std::string(300, 'a'));
    dir.Write("音乐/c.txt", "not music");
    dir.Write("音乐/sub/b.mid", std::string(400, 'b'));
    dir.Write("more/New/n.mid", std::string(5, 'n'));
    std::string music = RealPath(dir.File("音乐"));
    std::string folder = dir.File("lib");
    dir.Write("lib/.keep", "");
    CRun run = RunCmd({"--dir", folder, "1006", "--int", "0", "--str", music});
    EXPECT_EQ(run.out, "导入音乐文件成功！共导入曲目2个, 音乐文件2个。\n");
    EXPECT_NE(run.err.find(music + "/a.mid\n"), std::string::npos) << run.err;

    // Depth first: a folder's entry follows the entries found inside it.
    CMusicList entries;
    ASSERT_TRUE(ReadMusicListFile(dir.File("lib/PlayList.stp"), entries));
    EXPECT_EQ(Describe(entries), (Lines{"sub||2001|1|0|0|" + music + "/sub|" + music + "/sub" +
                                            "\n  b|N/A|2001|0|1|b.mid|mid|" + music + "/sub|400",
                                        "音乐||2001|1|0|0|" + music + "|" + music +
                                            "\n  a|N/A|2001|0|1|a.mid|mid|" + music + "|300"}));

    // An append reports only what it added; a replace by a missing folder
    // empties the library.
    const struct {
        const char* mode;
        std::string folder;
        const char* out;
        Lines titles;
    } imports[] = {
        {"1", RealPath(dir.File("more")) + "/", "曲目1个, 音乐文件1个。\n", {"sub", "音乐", "New"}},
        {"0", dir.File("missing"), "曲目0个, 音乐文件0个。\n", {}},
    };
    for (const auto& i : imports) {
        run = RunCmd({"--dir", folder, "1006", "--int", i.mode, "--str", i.folder});
        EXPECT_EQ(run.out, std::string("导入音乐文件成功！共导入") + i.out) << i.mode;
        ReadMusicListFile(dir.File("lib/PlayList.stp"), entries);
        EXPECT_EQ(TitlesOf(entries), i.titles) << i.mode;
    }
}

TEST(CrickletCmd, TheConfiguredPlayerIsReallyStartedWithCacheM3u) {
    CLibraryFolder library;
    std::string played = library.dir.File("played.txt");
    std::string player = library.dir.Write(
        "player.sh", "#!/bin/sh\n{ printf '%s\\n' \"$#\" \"$1\"; cat \"$1\"; } > '" + played +
                         ".part'\nmv '" + played + ".part' '" + played + "'\n");
    chmod(player.c_str(), 0755);
    std::string settings = ReplaceAll(DefaultSettingsText(library.folder),
                                      "IsUseDefaultPlayer = 1;", "IsUseDefaultPlayer = 0;");
    library.dir.Write("lib/Cricklet.ini",
                      ReplaceAll(settings, "PlayerPath = ;", "PlayerPath = " + player + ";"));

    CRun run = library.Run({"1011", "--int", "2", "--str", "playlist"});
    EXPECT_EQ(std::to_string(run.exitCode) + run.out, "0") << run.err;
    // The player runs detached: give it a moment to write what it got.
    for (int wait = 0; wait < 100 && library.dir.Read(played).empty(); ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_EQ(library.dir.Read(played), "1\n" + library.folder + "/Cache.m3u\n#EXTM3U\n" +
                                            "#EXTINF:100,蓝调\n" + library.music +
                                            "/Jazz/蓝调.mp3\n");
    EXPECT_NE(library.dir.Read("lib/PlayList.stp").find("欣赏次数 = 4;"), std::string::npos);
}
