// The folder import through the command runner: the library it saves and
// the report it prints.
#include "core/PlayListItem.h"
#include "formats/AppConfig.h"
#include "formats/ListFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string Mp3File(const std::string& title) {
    std::string frame(417, '\0');
    frame[0] = static_cast<char>(0xFF);
    frame[1] = static_cast<char>(0xFB);
    frame[2] = static_cast<char>(0x90);
    frame[3] = static_cast<char>(0x44);
    std::string bytes;
    for (int i = 0; i < 6; ++i) {
        bytes += frame;
    }
    std::string tagTitle = title;
    tagTitle.resize(30, '\0');
    return bytes + "TAG" + tagTitle + std::string(94, '\0') + std::string(1, '\x0c');
}

std::string Quoted(const std::string& text) {
    return "'" + text + "'";
}

// Runs cricklet-cmd; returns what it printed on standard output.
std::string RunCommand(const std::string& arguments, int& exitCode) {
    std::string command = std::string(CRICKLET_CMD_PATH) + " " + arguments + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    if (pipe == nullptr) {
        exitCode = -1;
        return output;
    }
    char buffer[512];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        output.append(buffer, got);
    }
    int status = pclose(pipe);
    exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return output;
}

void WriteSettings(const CTempDir& work) {
    CAppConfig config;
    config.SetDefaults();
    config.WorkDirectory = work.Path();
    config.IsImportDir = 1;
    config.IsFirstUse = 0;
    config.fileTypes = {{"mp3", 1}, {"wma", 0}};
    ASSERT_TRUE(WriteConfigFile(work.File("Cricklet.ini"), config));
}

std::vector<std::string> StoredEntries(const CTempDir& work) {
    CMusicList entries;
    ReadMusicListFile(work.File("PlayList.stp"), entries);
    std::vector<std::string> summary;
    for (const CEntryPtr& entry : entries) {
        std::string line = entry->title + " (" + std::to_string(entry->count) + ":";
        for (const CSongPtr& song : entry->songs) {
            line += " " + song->title;
        }
        summary.push_back(line + ")");
    }
    return summary;
}

std::vector<std::string> StoredSongs(const CTempDir& work) {
    CSongList songs;
    ReadSongStoreFile(work.File("MusicList.ckp"), songs);
    std::vector<std::string> paths;
    for (const CSongPtr& song : songs) {
        paths.push_back(song->title + " " + song->GetFullPath());
    }
    return paths;
}

} // namespace

TEST(ImportCmd, ReplaceThenAppendSaveTheTreeInImportOrder) {
    CTempDir work;
    CTempDir tree;
    WriteSettings(work);
    tree.Write("A/a2.mp3", Mp3File("Two"));
    tree.Write("A/a1.mp3", Mp3File("One"));
    tree.Write("A/B/b1.mp3", Mp3File("Bee"));
    tree.Write("A/B/list.m3u", "#EXTM3U\n#EXTINF:0,Bee\nb1.mp3\n");
    tree.Write("A/Recycled/r.mp3", Mp3File("Gone"));
    tree.Write("A/x.wma", std::string(400, 'w'));
    tree.Write("Best.Of.2001/c.mp3", Mp3File("Sea"));

    int exitCode = 0;
    std::string output = RunCommand(
        "--dir " + Quoted(work.Path()) + " 1006 --int 0 --str " + Quoted(tree.Path()), exitCode);

    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(output, "导入音乐文件成功！共导入曲目4个, 音乐文件4个。\n");
    EXPECT_EQ(StoredEntries(work),
              (std::vector<std::string>{"list (1: Bee)", "B (1: Bee)", "A (2: One Two)",
                                        "Best.Of (1: Sea)"}));
    EXPECT_EQ(StoredSongs(work), (std::vector<std::string>{
                                     "One " + tree.File("A/a1.mp3"),
                                     "Two " + tree.File("A/a2.mp3"),
                                     "Bee " + tree.File("A/B/b1.mp3"),
                                     "Sea " + tree.File("Best.Of.2001/c.mp3"),
                                 }));

    // An append reports only what it added; the library keeps the rest.
    CTempDir more;
    more.Write("New/n1.mp3", Mp3File("N1"));
    more.Write("New/n2.mp3", Mp3File("N2"));
    output = RunCommand("--dir " + Quoted(work.Path()) + " 1006 --int 1 --str " +
                            Quoted(more.Path() + "/"),
                        exitCode);

    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(output, "导入音乐文件成功！共导入曲目1个, 音乐文件2个。\n");
    EXPECT_EQ(StoredEntries(work),
              (std::vector<std::string>{"list (1: Bee)", "B (1: Bee)", "A (2: One Two)",
                                        "Best.Of (1: Sea)", "New (2: N1 N2)"}));
    EXPECT_EQ(StoredSongs(work).size(), 6u);

    // A replace import of a folder that does not exist empties the library.
    output = RunCommand("--dir " + Quoted(work.Path()) + " 1006 --int 0 --str " +
                            Quoted(tree.File("missing")),
                        exitCode);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(output, "导入音乐文件成功！共导入曲目0个, 音乐文件0个。\n");
    EXPECT_TRUE(StoredEntries(work).empty());
    EXPECT_TRUE(StoredSongs(work).empty());
}
