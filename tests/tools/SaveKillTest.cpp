// Kills cricklet-cmd (SIGKILL) at many points while it saves a library of
// 100,000 songs: after each kill every store file is whole, either
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
#include <filesystem>
#include <optional>
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

// The run's first temporary store file: the save has begun.
bool SaveHasBegun(const std::string& folder) {
    for (const auto& item : std::filesystem::directory_iterator(folder)) {
        const std::string name = item.path().filename().string();
        if (name.rfind("PlayList.stp.", 0) == 0) {
            return true;
        }
    }
    return false;
}

// Removes entry 1 and saves. With killAfter set, the run is killed that long
// after its save has begun (or not at all when it ends first); the time from
// the save's start to the run's end comes back.
std::chrono::microseconds RunRemoveEntry(const std::string& folder,
                                         std::optional<std::chrono::microseconds> killAfter) {
    pid_t child = fork();
    if (child == 0) {
        execl(CRICKLET_CMD_PATH, CRICKLET_CMD_PATH, "--dir", folder.c_str(), "1009", "--int", "1",
              static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    while (!SaveHasBegun(folder)) {
        if (waitpid(child, &status, WNOHANG) == child) {
            ADD_FAILURE() << "cricklet-cmd ended before it saved";
            return {};
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    auto saving = std::chrono::steady_clock::now();
    if (killAfter) {
        std::this_thread::sleep_for(*killAfter);
        kill(child, SIGKILL);
    }
    waitpid(child, &status, 0);
    if (!killAfter) {
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                                  saving);
}

// What a killed run left of its temporary files.
void RemoveTemporaryFiles(const std::string& folder) {
    for (const auto& item : std::filesystem::directory_iterator(folder)) {
        const std::string name = item.path().filename().string();
        for (const char* store : kStoreFiles) {
            if (name.rfind(std::string(store) + ".", 0) == 0) {
                std::filesystem::remove(item.path());
            }
        }
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
    const auto saveTime = RunRemoveEntry(folder.Path(), std::nullopt);
    std::string after[3];
    for (int f = 0; f < 3; ++f) {
        after[f] = folder.Read(kStoreFiles[f]);
    }
    ASSERT_NE(before[0], after[0]) << "the command must change the library";

    // Kills spread from the save's first moment to well past its end: some
    // land while a file is half written, some between two renames.
    const int kKills = 16;
    int newFiles = 0;
    for (int k = 0; k < kKills; ++k) {
        for (int f = 0; f < 3; ++f) {
            folder.Write(kStoreFiles[f], before[f]);
        }
        RemoveTemporaryFiles(folder.Path());
        RunRemoveEntry(folder.Path(), saveTime * 2 * k / kKills);
        for (int f = 0; f < 3; ++f) {
            std::string now = folder.Read(kStoreFiles[f]);
            EXPECT_TRUE(now == before[f] || now == after[f])
                << kStoreFiles[f] << " after a kill at " << k << "/" << kKills
                << " of twice the save's time: " << now.size() << " bytes";
            newFiles += now == after[f] && now != before[f];
        }
    }
    RecordProperty("killsAfterARename", newFiles);
}
