// Kills cricklet-cmd (SIGKILL) at many points while it saves a library of
// 100,000 songs: after each kill every store file is whole, either the one it
// had before or the one a finished run writes.
#include "support/Library.h"
#include "support/StoreFiles.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
const char* const kStoreFiles[] = {"PlayList.stp", "MusicList.ckp", "Cricklet.ini"};

std::vector<std::string> StoreTexts(const CTempDir& folder) {
    return {folder.Read(kStoreFiles[0]), folder.Read(kStoreFiles[1]), folder.Read(kStoreFiles[2])};
}

// A save has begun once a temporary file stands beside the three store files.
bool SaveHasBegun(const CTempDir& folder) {
    fs::directory_iterator items(folder.Path());
    return std::distance(fs::begin(items), fs::end(items)) > 3;
}

// Removes entry 1 and saves; the run is killed killAfter after its save began
// (never when killAfter is negative). Returns the time from the save's start
// to the run's end.
Clock::duration RunRemoveEntry(const CTempDir& folder, Clock::duration killAfter) {
    pid_t child = fork();
    if (child == 0) {
        execl(CRICKLET_CMD_PATH, CRICKLET_CMD_PATH, "--dir", folder.Path().c_str(), "1009", "--int",
              "1", static_cast<char*>(nullptr));
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
    auto saving = Clock::now();
    if (killAfter.count() >= 0) {
        std::this_thread::sleep_for(killAfter);
        kill(child, SIGKILL);
    }
    waitpid(child, &status, 0);
    EXPECT_TRUE(killAfter.count() >= 0 || (WIFEXITED(status) && WEXITSTATUS(status) == 0));
    return Clock::now() - saving;
}

} // namespace

TEST(SaveKill, EveryStoreFileIsTheOldOrTheNewOneWhole) {
    CTempDir folder;
    CMusicList entries;
    std::vector<CSongPtr> all;
    for (int e = 0; e < 1000; ++e) {
        std::string location = folder.Path() + "/音乐/" + std::to_string(e);
        std::vector<CSongPtr> songs;
        for (int s = 0; s < 100; ++s) {
            songs.push_back(TestSong("月亮河 " + std::to_string(s), 180 + s, location,
                                     std::to_string(s) + ".mp3"));
        }
        all.insert(all.end(), songs.begin(), songs.end());
        entries.AddTail(TestEntry("专辑 " + std::to_string(e), location, location, songs));
    }
    folder.Write(kStoreFiles[0], ListFileText(entries));
    folder.Write(kStoreFiles[1], SongStoreText(all));
    folder.Write(kStoreFiles[2], DefaultSettingsText(folder.Path()));
    const auto before = StoreTexts(folder);
    const auto saveTime = RunRemoveEntry(folder, Clock::duration(-1));
    const auto after = StoreTexts(folder);
    ASSERT_NE(before[0], after[0]) << "the command must change the library";

    // Kills spread from the save's first moment to twice its length: some land
    // while a file is half written, some between two renames.
    for (int k = 0; k < 16; ++k) {
        fs::remove_all(folder.Path());
        for (int f = 0; f < 3; ++f) {
            folder.Write(kStoreFiles[f], before[f]);
        }
        RunRemoveEntry(folder, saveTime * k / 8);
        const auto now = StoreTexts(folder);
        for (int f = 0; f < 3; ++f) {
            EXPECT_TRUE(now[f] == before[f] || now[f] == after[f])
                << kStoreFiles[f] << " after kill " << k << ": " << now[f].size() << " bytes";
        }
    }
}
