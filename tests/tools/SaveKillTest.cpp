// Kills cricklet-cmd (SIGKILL) at many points while it reads and saves a
// library of 100,000 songs: after each kill every store file is whole, either
// the one it had before or the one a finished run writes.
#include "formats/AppConfig.h"
#include "formats/ListFile.h"
#include "support/Library.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

namespace {

const char* const kStoreFiles[] = {"PlayList.stp", "MusicList.ckp", "Cricklet.ini"};

void WriteLibrary(const CTempDir& folder) {
    CMusicList entries;
    for (int e = 0; e < 1000; ++e) {
        std::string location = folder.Path() + "/音乐/" + std::to_string(e);
        std::vector<CSongPtr> songs;
        for (int s = 0; s < 100; ++s) {
            songs.push_back(TestSong("月亮河 " + std::to_string(s), 180 + s, location,
                                     std::to_string(s) + ".mp3"));
        }
        entries.AddTail(TestEntry("专辑 " + std::to_string(e), location, location, songs));
    }
    ASSERT_TRUE(WriteMusicListFile(folder.File("PlayList.stp"), entries));
    CSongList songs;
    CollectAllSongs(songs, entries);
    ASSERT_TRUE(WriteSongStoreFile(folder.File("MusicList.ckp"), songs));
    CAppConfig config;
    config.SetDefaults();
    config.WorkDirectory = folder.Path();
    ASSERT_TRUE(WriteConfigFile(folder.File("Cricklet.ini"), config));
}

// Removes entry 1 and saves; killed after `delay` unless it ends first.
void RunRemoveEntry(const std::string& folder, std::chrono::microseconds delay, bool kill) {
    pid_t child = fork();
    if (child == 0) {
        execl(CRICKLET_CMD_PATH, CRICKLET_CMD_PATH, "--dir", folder.c_str(), "1009", "--int", "1",
              static_cast<char*>(nullptr));
        _exit(127);
    }
    ASSERT_GT(child, 0);
    if (kill) {
        std::this_thread::sleep_for(delay);
        ::kill(child, SIGKILL);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!kill) {
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
}

} // namespace

TEST(SaveKill, EveryStoreFileIsTheOldOrTheNewOneWhole) {
    CTempDir folder;
    WriteLibrary(folder);
    std::string before[3];
    for (int f = 0; f < 3; ++f) {
        before[f] = folder.Read(kStoreFiles[f]);
    }
    auto start = std::chrono::steady_clock::now();
    RunRemoveEntry(folder.Path(), {}, false);
    auto duration = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);
    std::string after[3];
    for (int f = 0; f < 3; ++f) {
        after[f] = folder.Read(kStoreFiles[f]);
    }
    ASSERT_NE(before[0], after[0]) << "the command must change the library";

    const int kKills = 16;
    int newFiles = 0;
    for (int k = 0; k < kKills; ++k) {
        for (int f = 0; f < 3; ++f) {
            folder.Write(kStoreFiles[f], before[f]);
        }
        RunRemoveEntry(folder.Path(), duration * (k + 1) / (kKills + 1), true);
        for (int f = 0; f < 3; ++f) {
            std::string now = folder.Read(kStoreFiles[f]);
            EXPECT_TRUE(now == before[f] || now == after[f])
                << kStoreFiles[f] << " after a kill at " << k + 1 << "/" << kKills + 1
                << " of the run: " << now.size() << " bytes";
            newFiles += now == after[f] && now != before[f];
        }
    }
    // The kills are spread over the whole run, so some land after a save.
    EXPECT_GT(newFiles, 0);
}
