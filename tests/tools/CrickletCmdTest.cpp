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

// Runs cricklet-cmd with the arguments, as a shell splits them.
CRun RunCmd(const std::string& arguments) {
    CTempDir outputs;
    const std::string command = std::string(CRICKLET_CMD_PATH) + " " + arguments + " >" +
                                outputs.File("out") + " 2>" + outputs.File("err");
    int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, outputs.Read("out"), outputs.Read("err")};
}

std::string RealPath(const std::string& path) {
    return std::filesystem::canonical(path).string();
}

// A library folder lib/ with entry 老歌精选 (an M3U file) holding 月亮河 and
// folder entry Jazz, played three times, holding 蓝调; both files exist.
struct CLibraryFolder {
    CTempDir dir;
    std::string music = RealPath(dir.Path()) + "/音乐";
    std::string folder;
    std::string store; // PlayList.stp, then MusicList.ckp

    CLibraryFolder() {
        CSongPtr moon = TestSong("月亮河", 185, music);
        CSongPtr blues = TestSong("蓝调", 100, music + "/Jazz");
        CMusicList entries;
        entries.AddTail(TestEntry("老歌精选", music, "老歌精选.m3u", {moon}));
        entries.AddTail(TestEntry("Jazz", music + "/Jazz", music + "/Jazz", {blues}));
        entries.GetAt(2)->playCount = 3;
        dir.Write("音乐/月亮河.mp3", "a");
        dir.Write("音乐/Jazz/蓝调.mp3", "b");
        dir.Write("lib/PlayList.stp", ListFileText(entries));
        dir.Write("lib/MusicList.ckp", SongStoreText({moon, blues}));
        store = Store();
        folder = RealPath(dir.File("lib"));
    }
    CRun Run(const std::string& arguments) const {
        return RunCmd("--dir " + folder + " " + arguments);
    }
    std::string Store() const {
        return dir.Read("lib/PlayList.stp") + dir.Read("lib/MusicList.ckp");
    }
};

} // namespace

TEST(CrickletCmd, MalformedCallsAndCountsNoMenuCanSendGetTheUsageAndRunNothing) {
    // The arguments after --dir, refused and accepted.
    const std::vector<const char*> calls[] = {
        {"", "abc", "--bogus 1010", "1010 --int x", "1010 1003", "1010 --str",
         "1010 --int 99999999999", "--row 1.5 1010", "1016", "1016 --int 15",
         "1016 --int 2000000000", "1015 --int 3", "1015 --int 2 --int 5", "1012 --int 1 --int 0"},
        {"1015 --int 4 --int 1", "1016 --int 40", "1012 --int 1 --int 3"}};
    for (bool refused : {true, false}) {
        for (const char* arguments : calls[refused ? 0 : 1]) {
            CTempDir dir;
            dir.Write("PlayList.stp", "as it was");
            CRun run = RunCmd("--dir " + dir.Path() + " " + arguments);
            EXPECT_EQ(run.exitCode, refused ? 2 : 0) << arguments;
            EXPECT_EQ(run.err.find("usage: cricklet-cmd") != std::string::npos, refused)
                << arguments;
            EXPECT_EQ(dir.Read("PlayList.stp") == "as it was", refused) << arguments;
            EXPECT_EQ(run.out.empty() && !std::filesystem::exists(dir.File("Cricklet.ini")),
                      refused)
                << arguments;
        }
    }
}

// One store file that cannot be replaced must not keep the others from saving.
TEST(CrickletCmd, AFileThatCannotBeSavedIsReportedAndTheOthersAreSaved) {
    CLibraryFolder library;
    // A link into a missing folder reads as no file, and cannot be written.
    std::filesystem::remove(library.dir.File("lib/MusicList.ckp"));
    std::filesystem::create_symlink("gone/x", library.dir.File("lib/MusicList.ckp"));
    CRun run = library.Run("1010");
    EXPECT_EQ(std::to_string(run.exitCode) + " " + run.out,
              "1 " + library.folder + "/MusicList.ckp: No such file or directory\n");
    EXPECT_EQ(library.dir.Read("lib/PlayList.stp") + library.dir.Read("lib/Cricklet.ini"),
              ListFileText(Lines{}) + DefaultSettingsText(library.folder));
    // and no temporary file is left beside them
    std::filesystem::directory_iterator items(library.folder);
    EXPECT_EQ(std::distance(begin(items), end(items)), 3);
}

// One library through several runs: desktop openings are printed, the
// configured player really starts, an appending folder import runs to its end
// before the save and reports only what it added.
TEST(CrickletCmd, RunsOnOneLibraryOpenPlayAndImport) {
    CLibraryFolder library;
    library.dir.Write("lib/Help/ckhelp.htm", "<html></html>");
    const std::pair<const char*, std::string> openings[] = {
        {"1050 --int 2", "explore: " + library.music + "/Jazz\n"},
        {"--row 1 1051 --int 1 --int 0", "explore: " + library.music + "\n"},
        {"1020", "open: " + library.folder + "/Help/ckhelp.htm\n"},
    };
    for (const auto& [arguments, out] : openings) {
        CRun run = library.Run(arguments);
        EXPECT_EQ(std::to_string(run.exitCode) + run.out, "0" + out) << run.err;
    }
    std::string played = library.dir.File("played.txt");
    std::string player = library.dir.Write(
        "player.sh", "#!/bin/sh\n{ printf '%s\\n' \"$#\" \"$1\"; cat \"$1\"; } > '" + played +
                         ".part'\nmv '" + played + ".part' '" + played + "'\n");
    chmod(player.c_str(), 0755);
    std::string settings = ReplaceAll(DefaultSettingsText(library.folder),
                                      "IsUseDefaultPlayer = 1;", "IsUseDefaultPlayer = 0;");
    library.dir.Write("lib/Cricklet.ini",
                      ReplaceAll(settings, "PlayerPath = ;", "PlayerPath = " + player + ";"));

    CRun run = library.Run("1011 --int 2 --str playlist");
    EXPECT_EQ(std::to_string(run.exitCode) + run.out, "0") << run.err;
    // The player runs detached: give it a moment to write what it got.
    for (int wait = 0; wait < 100 && library.dir.Read(played).empty(); ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_EQ(library.dir.Read(played), "1\n" + library.folder + "/Cache.m3u\n#EXTM3U\n" +
                                            "#EXTINF:100,蓝调\n" + library.music +
                                            "/Jazz/蓝调.mp3\n");
    EXPECT_NE(library.dir.Read("lib/PlayList.stp").find("欣赏次数 = 4;"), std::string::npos);

    library.dir.Write("more/New/n.mid", std::string(5, 'n'));
    run = library.Run("1006 --int 1 --str " + library.dir.File("more") + "/");
    EXPECT_EQ(run.out, "导入音乐文件成功！共导入曲目1个, 音乐文件1个。\n");
    EXPECT_NE(run.err.find(library.dir.File("more/New/n.mid")), std::string::npos) << run.err;
    CMusicList entries;
    ASSERT_TRUE(ReadMusicListFile(library.dir.File("lib/PlayList.stp"), entries));
    EXPECT_EQ(TitlesOf(entries), (Lines{"老歌精选", "Jazz", "New"}));
}
