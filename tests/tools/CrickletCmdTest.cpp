// Runs the built cricklet-cmd on store files written here and compares the
// files it writes at exit, whole.
#include "formats/ListFile.h"
#include "support/Library.h"
#include "support/StoreFiles.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace {

using Lines = std::vector<std::string>;

struct CRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs cricklet-cmd with the arguments, without a shell in between.
CRun RunCmd(Lines arguments) {
    CTempDir outputs;
    std::string program = CRICKLET_CMD_PATH;
    std::vector<char*> argv{program.data()};
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    pid_t child = fork();
    if (child == 0) {
        dup2(open(outputs.File("out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
        dup2(open(outputs.File("err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
        execv(argv[0], argv.data());
        _exit(127);
    }
    CRun run;
    int status = 0;
    if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status)) {
        run.exitCode = WEXITSTATUS(status);
    }
    run.out = outputs.Read("out");
    run.err = outputs.Read("err");
    return run;
}

std::string RealPath(const std::string& path) {
    return std::filesystem::canonical(path).string();
}

CSongPtr StoredSong(const std::string& title, int time, const std::string& location,
                    const std::string& fileName, int size) {
    CSongPtr song = TestSong(title, time, location, fileName);
    song->artist = "N/A";
    song->size = size;
    return song;
}

CEntryPtr StoredEntry(const std::string& title, const std::string& artist,
                      const std::string& fileName, const std::string& location,
                      const std::vector<CSongPtr>& songs) {
    CEntryPtr entry = TestEntry(title, location, fileName, songs, artist);
    entry->style = 2002;
    entry->playCount = 3;
    return entry;
}

// A library folder lib/ with music files on disk: entry 老歌精选 (an M3U
// file) with 月亮河 and a vanished 夜曲, folder entry Jazz with 蓝调, and in
// the flat list also 散曲, which belongs to no entry.
struct CLibraryFolder {
    CTempDir dir;
    std::string music = RealPath(dir.Path()) + "/音乐";
    std::string folder;
    CSongPtr moon = StoredSong("月亮河", 185, music, "月亮河.mp3", 185);
    CSongPtr night = StoredSong("夜曲", 240, "", kMissingFileMarker, 0);
    CSongPtr blues = StoredSong("蓝调", 100, music + "/Jazz", "蓝调.mp3", 240);
    CSongPtr loose = StoredSong("散曲", 30, music, "散曲.mp3", 60);
    CEntryPtr oldSongs = StoredEntry("老歌精选", "N/A", "老歌精选.m3u", music, {moon, night});
    CEntryPtr jazz = StoredEntry("Jazz", "Miles", music + "/Jazz", music + "/Jazz", {blues});
    std::string list, store;

    CLibraryFolder() {
        loose->order = 1;
        dir.Write("音乐/月亮河.mp3", std::string(185, 'a'));
        dir.Write("音乐/Jazz/蓝调.mp3", std::string(240, 'b'));
        dir.Write("音乐/散曲.mp3", std::string(60, 'c'));
        list = ListFileText({EntryRecordText(*oldSongs), EntryRecordText(*jazz)});
        store = SongStoreText({moon, night, blues, loose});
        dir.Write("lib/PlayList.stp", list);
        dir.Write("lib/MusicList.ckp", store);
        folder = RealPath(dir.File("lib"));
    }
    CRun Run(const Lines& arguments) const {
        Lines all = {"--dir", folder};
        all.insert(all.end(), arguments.begin(), arguments.end());
        return RunCmd(all);
    }
    void ExpectStore(const std::string& expectedList, const std::string& expectedSongs) const {
        EXPECT_EQ(dir.Read("lib/PlayList.stp"), expectedList);
        EXPECT_EQ(dir.Read("lib/MusicList.ckp"), expectedSongs);
    }
};

} // namespace

TEST(CrickletCmd, AFreshFolderGetsEmptyStoreFilesAndDefaultSettings) {
    CTempDir dir;
    CRun run = RunCmd({"--dir", dir.Path(), "0"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(dir.Read("Cricklet.ini"), DefaultSettingsText(RealPath(dir.Path())));
    EXPECT_EQ(dir.Read("PlayList.stp"), ListFileText(Lines{}));
    EXPECT_EQ(dir.Read("MusicList.ckp"), "number = 0;\n\n");
}

TEST(CrickletCmd, ExportedListImportsIntoAnotherFolder) {
    CLibraryFolder library;
    std::string exported = library.dir.File("导出 list.stp");
    CRun run = library.Run({"1003", "--str", exported});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(library.dir.Read(exported), library.list);
    library.ExpectStore(library.list, library.store);
    EXPECT_EQ(library.dir.Read("lib/Cricklet.ini"), DefaultSettingsText(library.folder));

    // The import replaces the entries and rebuilds the flat list from them:
    // the song that belonged to no entry is gone.
    CTempDir other;
    run = RunCmd({"--dir", other.Path(), "1002", "--str", exported});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "导入音乐文件成功！共导入曲目2个, 音乐文件3个。\n");
    EXPECT_EQ(other.Read("PlayList.stp"), library.list);
    EXPECT_EQ(other.Read("MusicList.ckp"),
              SongStoreText({library.moon, library.night, library.blues}));
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
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out, c.out) << c.arguments[0];
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
    library.ExpectStore(library.list, library.store);
    EXPECT_EQ(library.dir.Read("lib/Cricklet.ini"), settings);
}

TEST(CrickletCmd, AFolderImportRunsToItsEndBeforeTheSave) {
    CTempDir dir;
    dir.Write("音乐/a.mid", std::string(300, 'a'));
    dir.Write("音乐/c.txt", "not music");
    dir.Write("音乐/sub/b.mid", std::string(400, 'b'));
    dir.Write("more/New/n.mid", std::string(5, 'n'));
    dir.Write("lib/.keep", "");
    std::string music = RealPath(dir.File("音乐"));
    std::string folder = RealPath(dir.File("lib"));
    CRun run = RunCmd({"--dir", folder, "1006", "--int", "0", "--str", music});
    EXPECT_EQ(run.exitCode, 0) << run.err;
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
        {"1",
         RealPath(dir.File("more")) + "/",
         "导入音乐文件成功！共导入曲目1个, 音乐文件1个。\n",
         {"sub", "音乐", "New"}},
        {"0", dir.File("missing"), "导入音乐文件成功！共导入曲目0个, 音乐文件0个。\n", {}},
    };
    for (const auto& i : imports) {
        run = RunCmd({"--dir", folder, "1006", "--int", i.mode, "--str", i.folder});
        EXPECT_EQ(run.out, i.out) << i.mode;
        CMusicList entries;
        ReadMusicListFile(dir.File("lib/PlayList.stp"), entries);
        EXPECT_EQ(TitlesOf(entries), i.titles) << i.mode;
    }
}

TEST(CrickletCmd, MalformedCallsGetTheUsageAndRunNothing) {
    CTempDir dir;
    const std::vector<Lines> calls = {
        {},
        {"--dir", dir.Path()},
        {"--dir", dir.Path(), "abc"},
        {"--dir", dir.Path(), "--bogus", "1010"},
        {"--dir", dir.Path(), "1010", "--int", "x"},
        {"--dir", dir.Path(), "1010", "--int", "99999999999"},
        {"--dir", dir.Path(), "--row", "1.5", "1010"},
        {"--dir", dir.Path(), "1010", "1003"},
        {"--dir", dir.Path(), "1010", "--str"},
    };
    for (const auto& call : calls) {
        CRun run = RunCmd(call);
        EXPECT_EQ(run.exitCode, 2) << call.size();
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("usage: cricklet-cmd"), std::string::npos) << run.err;
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
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
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");
    // The player runs detached: give it a moment to write what it got.
    for (int wait = 0; wait < 100 && library.dir.Read(played).empty(); ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_EQ(library.dir.Read(played), "1\n" + library.folder + "/Cache.m3u\n#EXTM3U\n" +
                                            "#EXTINF:100,蓝调\n" + library.music +
                                            "/Jazz/蓝调.mp3\n");
    EXPECT_NE(library.dir.Read("lib/PlayList.stp").find("欣赏次数 = 4;"), std::string::npos);
}
