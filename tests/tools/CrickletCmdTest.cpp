// Runs the built cricklet-cmd on store files written here and compares the
// files it writes at exit, whole.
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

struct CRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs cricklet-cmd with the arguments, without a shell in between.
CRun RunCmd(const std::vector<std::string>& arguments) {
    CTempDir outputs;
    std::string outPath = outputs.File("stdout");
    std::string errPath = outputs.File("stderr");
    std::vector<char*> argv;
    std::string program = CRICKLET_CMD_PATH;
    argv.push_back(program.data());
    std::vector<std::string> copies = arguments;
    for (std::string& argument : copies) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    pid_t child = fork();
    if (child == 0) {
        int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, 1);
        dup2(err, 2);
        execv(argv[0], argv.data());
        _exit(127);
    }
    CRun run;
    int status = 0;
    if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status)) {
        run.exitCode = WEXITSTATUS(status);
    }
    run.out = outputs.Read("stdout");
    run.err = outputs.Read("stderr");
    return run;
}

std::string RealPath(const std::string& path) {
    return std::filesystem::canonical(path).string();
}

const char* const kListHeader =
    "// 注意:您可以按格式修改以下记录的内容, 但勿修改记录格式结构, 以防发生记录格式读入错误\n"
    "// 1.请不要加入一个行或是删除一行\n"
    "// 2.请不要修改属性的名称\n"
    "// 3.请不要修改\" = \"以及\";\"等关键词格式\n"
    "// 4.请不要删除本说明\n"
    "\n";

struct CSongText {
    std::string title;
    int time;
    std::string fileName; // "不存在" for a missing file
    std::string location;
    int size;
};

std::string SongRecord(const CSongText& song, int order) {
    bool missing = song.fileName == "不存在";
    return "音乐标题 = " + song.title +
           ";\n艺术家 = N/A;\n风格 = 2001;\n时间 = " + std::to_string(song.time) +
           ";\n次序 = " + std::to_string(order) + ";\n文件名 = " + song.fileName +
           ";\n文件类型 = " + (missing ? "" : "mp3") + ";\n文件位置 = " + song.location +
           ";\n文件大小 = " + std::to_string(song.size) + ";\n";
}

std::string EntryRecord(const std::string& title, const std::string& artist,
                        const std::string& fileName, const std::string& location,
                        const std::vector<CSongText>& songs) {
    int time = 0;
    for (const CSongText& song : songs) {
        time += song.time;
    }
    std::string text = "<play list>\n曲目标题 = " + title + ";\n艺术家 = " + artist +
                       ";\n风格 = 2002;\n曲数 = " + std::to_string(songs.size()) +
                       ";\n时间 = " + std::to_string(time) +
                       ";\n欣赏次数 = 3;\n文件名 = " + fileName + ";\n文件位置 = " + location +
                       ";\n\n<song list>\n";
    for (std::size_t index = 0; index < songs.size(); ++index) {
        text += SongRecord(songs[index], static_cast<int>(index) + 1) + "\n";
    }
    return text;
}

std::string ListFile(const std::vector<std::string>& entryRecords) {
    std::string text = kListHeader;
    text += "number = " + std::to_string(entryRecords.size()) + ";\n\n";
    for (const std::string& record : entryRecords) {
        text += record;
    }
    return text;
}

// Each song with the order it has in its entry.
std::string SongStore(const std::vector<std::pair<CSongText, int>>& songs) {
    std::string text = "number = " + std::to_string(songs.size()) + ";\n\n";
    for (const auto& song : songs) {
        text += SongRecord(song.first, song.second) + "\n";
    }
    return text;
}

std::string DefaultSettings(const std::string& workDirectory) {
    return "[Cricklet Configuration List]\nIsUseDefaultPlayer = 1;\nPlayerPath = ;\n"
           "IsFirstUse = 0;\nRecentDirectory = ;\nWorkDirectory = " +
           workDirectory +
           ";\nIsImportDir = 1;\nIsHideWhenMin = 1;\nIsExitAlert = 1;\nIconPlaylistID = 1;\n"
           "IconMusicID = 1;\nSupportedFileTypeCount = 10;\nmp3 = 1;\nmpga = 1;\nrm = 0;\n"
           "ra = 0;\nram = 0;\nmid = 1;\nmidi = 0;\nwav = 0;\nwma = 0;\nvoc = 0;\n"
           "DlgEditPlaylistUF = 1;\nDlgEditMusicUF = 0;\nEnableEyeProtector = 0;\n"
           "DelayOfEyeProtector = 60;\nMenuStatus = 0;\n";
}

// A library folder with music files on disk: entry 老歌精选 (an M3U file)
// with 月亮河 and a vanished 夜曲, folder entry Jazz with 蓝调, and in the flat
// list also 散曲, which belongs to no entry.
class CLibraryFolder {
public:
    CLibraryFolder() {
        music = RealPath(dir.Path()) + "/音乐";
        dir.Write("音乐/月亮河.mp3", std::string(185, 'a'));
        dir.Write("音乐/Jazz/蓝调.mp3", std::string(240, 'b'));
        dir.Write("音乐/散曲.mp3", std::string(60, 'c'));
        moon = {"月亮河", 185, "月亮河.mp3", music, 185};
        night = {"夜曲", 240, "不存在", "", 0};
        blues = {"蓝调", 100, "蓝调.mp3", music + "/Jazz", 240};
        loose = {"散曲", 30, "散曲.mp3", music, 60};
        oldSongs = EntryRecord("老歌精选", "N/A", "老歌精选.m3u", music, {moon, night});
        jazz = EntryRecord("Jazz", "Miles", music + "/Jazz", music + "/Jazz", {blues});
        list = ListFile({oldSongs, jazz});
        store = SongStore({{moon, 1}, {night, 2}, {blues, 1}, {loose, 1}});
        dir.Write("lib/PlayList.stp", list);
        dir.Write("lib/MusicList.ckp", store);
        folder = RealPath(dir.File("lib"));
    }

    CTempDir dir;
    std::string music, folder;
    CSongText moon, night, blues, loose;
    std::string oldSongs, jazz, list, store;
};

std::string EntryWithoutSongs(const std::string& title) {
    return EntryRecord(title, "", title + ".pls", "/lists", {});
}

} // namespace

TEST(CrickletCmd, AFreshFolderGetsEmptyStoreFilesAndDefaultSettings) {
    CTempDir dir;
    CRun run = RunCmd({"--dir", dir.Path(), "0"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(dir.Read("Cricklet.ini"), DefaultSettings(RealPath(dir.Path())));
    EXPECT_EQ(dir.Read("PlayList.stp"), ListFile({}));
    EXPECT_EQ(dir.Read("MusicList.ckp"), "number = 0;\n\n");
}

TEST(CrickletCmd, ExportedListImportsIntoAnotherFolder) {
    CLibraryFolder library;
    std::string exported = library.dir.File("导出 list.stp");
    CRun run = RunCmd({"--dir", library.folder, "1003", "--str", exported});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(library.dir.Read(exported), library.list);
    EXPECT_EQ(library.dir.Read("lib/PlayList.stp"), library.list);
    EXPECT_EQ(library.dir.Read("lib/MusicList.ckp"), library.store);
    EXPECT_EQ(library.dir.Read("lib/Cricklet.ini"), DefaultSettings(library.folder));

    // The import replaces the entries and rebuilds the flat list from them:
    // the song that belonged to no entry is gone.
    CTempDir other;
    run = RunCmd({"--dir", other.Path(), "1002", "--str", exported});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "导入音乐文件成功！共导入曲目2个, 音乐文件3个。\n");
    EXPECT_EQ(other.Read("PlayList.stp"), library.list);
    EXPECT_EQ(other.Read("MusicList.ckp"),
              SongStore({{library.moon, 1}, {library.night, 2}, {library.blues, 1}}));
    EXPECT_EQ(other.Read("Cricklet.ini"), DefaultSettings(RealPath(other.Path())));
}

TEST(CrickletCmd, ImportingAMissingListKeepsTheLibrary) {
    CLibraryFolder library;
    std::string missing = library.dir.File("none.stp");
    CRun run = RunCmd({"--dir", library.folder, "1002", "--str", missing});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, missing + ": No such file or directory\n");
    EXPECT_EQ(library.dir.Read("lib/PlayList.stp"), library.list);
    EXPECT_EQ(library.dir.Read("lib/MusicList.ckp"), library.store);
}

TEST(CrickletCmd, RemovingEntriesTwoThreeAndFiveOfFiveLeavesOneAndFour) {
    CTempDir dir;
    std::vector<std::string> five;
    for (const char* title : {"一", "二", "三", "四", "五"}) {
        five.push_back(EntryWithoutSongs(title));
    }
    std::string songs = SongStore({{{"孤曲", 5, "不存在", "", 0}, 7}});
    dir.Write("PlayList.stp", ListFile(five));
    dir.Write("MusicList.ckp", songs);
    CRun run =
        RunCmd({"--dir", dir.Path(), "1009", "--int", "2", "--int", "3", "--int=5", "--row", "0"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(dir.Read("PlayList.stp"), ListFile({five[0], five[3]}));
    EXPECT_EQ(dir.Read("MusicList.ckp"), songs);

    // Positions outside the list, negative ones included, change nothing.
    run = RunCmd({"--dir", dir.Path(), "1009", "--int", "-1", "--int", "9"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(dir.Read("PlayList.stp"), ListFile({five[0], five[3]}));
}

TEST(CrickletCmd, RemovingSongsFromAnEntryAndFromTheFlatList) {
    CLibraryFolder library;
    CSongText night = library.night;
    // From entry 1, its first song: the entry is renumbered, the flat list kept.
    CRun run = RunCmd({"--dir", library.folder, "1033", "--int", "1", "--int", "1"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    std::string list = ListFile(
        {EntryRecord("老歌精选", "N/A", "老歌精选.m3u", library.music, {night}), library.jazz});
    EXPECT_EQ(library.dir.Read("lib/PlayList.stp"), list);
    EXPECT_EQ(library.dir.Read("lib/MusicList.ckp"), library.store);

    // From the flat list (row 0), songs 1 and 3: the entries keep them.
    run = RunCmd({"--dir", library.folder, "1033", "--int", "1", "--int", "3", "--int", "0"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(library.dir.Read("lib/PlayList.stp"), list);
    EXPECT_EQ(library.dir.Read("lib/MusicList.ckp"), SongStore({{night, 2}, {library.loose, 1}}));
}

TEST(CrickletCmd, ClearingEmptiesTheStoreFiles) {
    CLibraryFolder library;
    CRun run = RunCmd({"--dir", library.folder, "1010"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(library.dir.Read("lib/PlayList.stp"), ListFile({}));
    EXPECT_EQ(library.dir.Read("lib/MusicList.ckp"), "number = 0;\n\n");
}

TEST(CrickletCmd, DesktopOpeningsArePrinted) {
    CLibraryFolder library;
    library.dir.Write("lib/Help/ckhelp.htm", "<html></html>");
    CRun run = RunCmd({"--dir", library.folder, "1050", "--int", "2"});
    EXPECT_EQ(run.out, "explore: " + library.music + "/Jazz\n");
    run = RunCmd({"--dir", library.folder, "--row", "1", "1051", "--int", "1", "--int", "0"});
    EXPECT_EQ(run.out, "explore: " + library.music + "\n");
    run = RunCmd({"--dir", library.folder, "1020"});
    EXPECT_EQ(run.out, "open: " + library.folder + "/Help/ckhelp.htm\n");
    EXPECT_EQ(run.exitCode, 0) << run.err;
}

TEST(CrickletCmd, ASaveThatCannotBeWrittenIsReportedAndKeepsTheOldFiles) {
    CLibraryFolder library;
    library.dir.Write("blocker", "a file where a folder should be");
    std::string settings = DefaultSettings(library.dir.File("blocker/sub"));
    library.dir.Write("lib/Cricklet.ini", settings);
    CRun run = RunCmd({"--dir", library.folder, "1010"});
    EXPECT_EQ(run.exitCode, 1);
    std::string target = library.dir.File("blocker/sub/");
    EXPECT_EQ(run.out, target + "PlayList.stp: Not a directory\n" + target +
                           "MusicList.ckp: Not a directory\n" + target +
                           "Cricklet.ini: Not a directory\n");
    EXPECT_EQ(library.dir.Read("lib/PlayList.stp"), library.list);
    EXPECT_EQ(library.dir.Read("lib/MusicList.ckp"), library.store);
    EXPECT_EQ(library.dir.Read("lib/Cricklet.ini"), settings);
}

TEST(CrickletCmd, AFolderImportRunsToItsEndBeforeTheSave) {
    CTempDir dir;
    dir.Write("音乐/a.mid", std::string(300, 'a'));
    dir.Write("音乐/c.txt", "not music");
    dir.Write("音乐/sub/b.mid", std::string(400, 'b'));
    dir.Write("lib/.keep", "");
    std::string music = RealPath(dir.File("音乐"));
    std::string folder = RealPath(dir.File("lib"));
    CRun run = RunCmd({"--dir", folder, "1006", "--int", "0", "--str", music});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "导入音乐文件成功！共导入曲目2个, 音乐文件2个。\n");
    EXPECT_NE(run.err.find(music + "/a.mid\n"), std::string::npos) << run.err;

    auto song = [](const std::string& title, const std::string& location, int size) {
        return "音乐标题 = " + title + ";\n艺术家 = N/A;\n风格 = 2001;\n时间 = 0;\n次序 = 0;\n" +
               "文件名 = " + title + ".mid;\n文件类型 = mid;\n文件位置 = " + location +
               ";\n文件大小 = " + std::to_string(size) + ";\n";
    };
    auto folderEntry = [](const std::string& title, const std::string& path,
                          const std::string& songRecord) {
        return "<play list>\n曲目标题 = " + title + ";\n艺术家 = ;\n风格 = 2001;\n曲数 = 1;\n" +
               "时间 = 0;\n欣赏次数 = 0;\n文件名 = " + path + ";\n文件位置 = " + path +
               ";\n\n<song list>\n" + songRecord + "\n";
    };
    std::string a = song("a", music, 300);
    std::string b = song("b", music + "/sub", 400);
    // Depth first: a folder's entry follows the entries found inside it.
    EXPECT_EQ(dir.Read("lib/PlayList.stp"),
              ListFile({folderEntry("sub", music + "/sub", b), folderEntry("音乐", music, a)}));
    EXPECT_EQ(dir.Read("lib/MusicList.ckp"), "number = 2;\n\n" + a + "\n" + b + "\n");
}

TEST(CrickletCmd, MalformedCallsGetTheUsageAndRunNothing) {
    CTempDir dir;
    const std::vector<std::vector<std::string>> calls = {
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

TEST(CrickletCmd, TheConfiguredPlayerIsReallyStarted) {
    CLibraryFolder library;
    std::string played = library.dir.File("played.txt");
    std::string player =
        library.dir.Write("player.sh", "#!/bin/sh\nprintf '%s' \"$1\" > '" + played + "'\n");
    chmod(player.c_str(), 0755);
    std::string settings = DefaultSettings(library.folder);
    settings.replace(settings.find("IsUseDefaultPlayer = 1;"), 23, "IsUseDefaultPlayer = 0;");
    settings.replace(settings.find("PlayerPath = ;"), 14, "PlayerPath = " + player + ";");
    library.dir.Write("lib/Cricklet.ini", settings);

    CRun run = RunCmd({"--dir", library.folder, "1011", "--int", "2", "--str", "playlist"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");
    // The player runs detached: give it a moment to write what it got.
    for (int wait = 0; wait < 100 && library.dir.Read(played).empty(); ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_EQ(library.dir.Read(played), library.folder + "/Cache.m3u");
}
