#include "core/ImportThread.h"
#include "core/FolderScan.h"
#include "core/MusicManager.h"
#include "formats/PathFunctions.h"
#include "platform/Platform.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace {

// One MPEG-1 layer III frame header (128 kbit/s, 44.1 kHz) repeated, then
// an ID3v1 tag: a small file that any MP3 reader takes as valid.
std::string Mp3File(const std::string& title, int frames = 6) {
    std::string frame(417, '\0');
    frame[0] = static_cast<char>(0xFF);
    frame[1] = static_cast<char>(0xFB);
    frame[2] = static_cast<char>(0x90);
    frame[3] = static_cast<char>(0x44);
    std::string bytes;
    for (int i = 0; i < frames; ++i) {
        bytes += frame;
    }
    auto field = [](const std::string& text, std::size_t width) {
        std::string padded = text.substr(0, width);
        padded.resize(width, '\0');
        return padded;
    };
    bytes += "TAG" + field(title, 30) + field("", 30) + field("", 30) + "2001" + field("", 30);
    bytes += static_cast<char>(12);
    return bytes;
}

// Records every call the worker makes on the frame and the platform, in one
// log, so the order between them is checked too. Folder paths are shown
// relative to the imported tree.
class CRecordingFrame : public CFrameInterface, public CPlatform {
public:
    explicit CRecordingFrame(const std::string& root) : m_root(root) {}

    std::function<void()> onSongRow; // runs on the worker after each song row

    std::vector<std::string> Log() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_log;
    }

    void ClearPanes() override { Add("clear"); }
    void RefillEntryRows() override { Add("refill"); }
    void UpdateStatusText() override { Add("status"); }
    void RebuildArtistMenu() override { Add("artist menu"); }
    void ImportInsertEntryRow(const CEntryPtr& entry, int row) override {
        Add("entry row " + std::to_string(row) + " " + entry->title);
    }
    void ImportInsertSongRow(const CSongPtr& song, int row) override {
        Add("song row " + std::to_string(row) + " " + song->fileName);
        if (onSongRow) {
            onSongRow();
        }
    }
    void ImportShowProgress(const std::string& folder, const std::string& fileName) override {
        Add("progress " + Relative(folder) + " [" + fileName + "]");
    }
    void ImportCloseDialog(int resultCode) override { Add("close " + std::to_string(resultCode)); }

    void ShowMessage(const std::string& text, const std::string&, CMessageIcon) override {
        Add("message " + text);
    }
    CAnswer AskOkCancel(const std::string&, const std::string&) override { return CAnswer::Cancel; }
    CAnswer AskYesNo(const std::string&, const std::string&) override { return CAnswer::No; }
    CAnswer AskYesNoCancel(const std::string&, const std::string&) override {
        return CAnswer::Cancel;
    }
    void OpenPath(const std::string&) override {}
    void ExploreFolder(const std::string&) override {}
    bool StartProgram(const std::string&, const std::string&, std::string&) override {
        return false;
    }

private:
    void Add(const std::string& line) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_log.push_back(line);
    }
    std::string Relative(const std::string& folder) const {
        return folder.compare(0, m_root.size(), m_root) == 0 ? "." + folder.substr(m_root.size())
                                                             : folder;
    }

    std::string m_root;
    std::mutex m_mutex;
    std::vector<std::string> m_log;
};

// Installs the recorder as the platform for one test.
class CPlatformScope {
public:
    explicit CPlatformScope(CPlatform* platform) { SetPlatform(platform); }
    ~CPlatformScope() { SetPlatform(nullptr); }
};

void EnableTypes(CAppConfig& config, int importDirs) {
    config.IsImportDir = importDirs;
    config.fileTypes = {{"mp3", 1}, {"wav", 1}, {"wma", 0}};
}

// The tree of the ordering rules: a folder A with two songs and a sub-folder
// B holding a song and a playlist, a recycle folder, a disabled type, a
// folder name with points and a folder of disabled files only.
void WriteOrderingTree(const CTempDir& tree) {
    tree.Write("A/a2.mp3", Mp3File("Two"));
    tree.Write("A/a1.MP3", Mp3File("One"));
    tree.Write("A/B/b1.mp3", Mp3File("Bee"));
    tree.Write("A/B/list.m3u", "#EXTM3U\n#EXTINF:3,Bee\nb1.mp3\n");
    tree.Write("A/Recycled/r.mp3", Mp3File("Gone"));
    tree.Write("A/x.wma", std::string(400, 'w'));
    tree.Write("Best.Of.2001/c.mp3", Mp3File("Sea"));
    tree.Write("Disabled/only.wma", std::string(400, 'w'));
    tree.Write("Old/RECYCLE.bin/deep/d.mp3", Mp3File("Deep"));
}

std::vector<std::string> EntrySummary(const CMusicManager& manager) {
    std::vector<std::string> summary;
    for (const CEntryPtr& entry : manager.entries) {
        std::string songs;
        for (const CSongPtr& song : entry->songs) {
            songs += " " + song->fileName;
        }
        summary.push_back(std::to_string(entry->GetType()) + " " + entry->title + " (" +
                          std::to_string(entry->count) + ":" + songs + ")");
    }
    return summary;
}

std::vector<std::string> SongNames(const CMusicManager& manager) {
    std::vector<std::string> names;
    for (const CSongPtr& song : manager.songs) {
        names.push_back(song->fileName);
    }
    return names;
}

void RunImport(CMusicManager& manager, const std::string& folder) {
    manager.importThread = std::make_unique<CImportThread>(&manager, folder);
    manager.importThread->Start();
    manager.importThread->Join();
}

} // namespace

TEST(ImportThread, WalksFoldersDepthFirstInNameOrderWithFolderEntriesLast) {
    CTempDir tree;
    WriteOrderingTree(tree);
    CRecordingFrame frame(tree.Path());
    CPlatformScope platform(&frame);
    CMusicManager manager(&frame);
    EnableTypes(manager.config, 1);

    RunImport(manager, tree.Path() + "/"); // a trailing "/" is dropped

    std::vector<std::string> expectedLog = {
        "progress . []",
        "progress ./A [a1.MP3]",
        "song row 0 a1.MP3",
        "progress ./A [a2.mp3]",
        "song row 1 a2.mp3",
        "progress ./A []",
        "progress ./A/B [b1.mp3]",
        "song row 2 b1.mp3",
        "progress ./A/B [list.m3u]",
        "entry row 1 list",
        "entry row 2 B",
        "progress ./A []",
        "entry row 3 A",
        "progress . []",
        "progress ./Best.Of.2001 [c.mp3]",
        "song row 3 c.mp3",
        "entry row 4 Best.Of",
        "progress . []",
        "progress . []",
        "progress ./Old []",
        "close 1010",
        "message 导入音乐文件成功！共导入曲目4个, 音乐文件4个。",
        "status",
        "artist menu",
    };
    EXPECT_EQ(frame.Log(), expectedLog);
    std::vector<std::string> expectedEntries = {
        "100 list (1: b1.mp3)",
        "102 B (1: b1.mp3)",
        "102 A (2: a1.MP3 a2.mp3)",
        "102 Best.Of (1: c.mp3)",
    };
    EXPECT_EQ(EntrySummary(manager), expectedEntries);
    EXPECT_EQ(SongNames(manager),
              (std::vector<std::string>{"a1.MP3", "a2.mp3", "b1.mp3", "c.mp3"}));
    CEntryPtr folderA = manager.entries.GetAt(3);
    EXPECT_EQ(folderA->location, tree.File("A"));
    EXPECT_EQ(folderA->fileName, tree.File("A"));
    EXPECT_EQ(manager.songs.GetAt(1)->location, tree.File("A"));
    EXPECT_EQ(manager.songs.GetAt(1)->order, 0); // import never renumbers
    EXPECT_EQ(manager.artists.GetCount(), 1);    // only "<未命名>": no entry has an artist
}

TEST(ImportThread, WithoutFolderEntriesOnlyPlaylistsBecomeEntries) {
    CTempDir tree;
    WriteOrderingTree(tree);
    CRecordingFrame frame(tree.Path());
    CPlatformScope platform(&frame);
    CMusicManager manager(&frame);
    EnableTypes(manager.config, 0);

    RunImport(manager, tree.Path());

    EXPECT_EQ(EntrySummary(manager), (std::vector<std::string>{"100 list (1: b1.mp3)"}));
    EXPECT_EQ(SongNames(manager),
              (std::vector<std::string>{"a1.MP3", "a2.mp3", "b1.mp3", "c.mp3"}));
    EXPECT_EQ(frame.Log().at(frame.Log().size() - 3),
              "message 导入音乐文件成功！共导入曲目1个, 音乐文件4个。");
}

TEST(ImportThread, AppendReportsOnlyTheCountsOfThisImport) {
    CTempDir tree;
    tree.Write("X/x1.mp3", Mp3File("x1"));
    tree.Write("X/x2.mp3", Mp3File("x2"));
    CRecordingFrame frame(tree.Path());
    CPlatformScope platform(&frame);
    CMusicManager manager(&frame);
    EnableTypes(manager.config, 1);
    for (int i = 0; i < 5; ++i) {
        manager.entries.AddTail(std::make_shared<CPlayListItem>());
    }
    for (int i = 0; i < 40; ++i) {
        manager.songs.AddTail(std::make_shared<CSongItem>());
    }
    manager.importBaseEntries = 5;
    manager.importBaseSongs = 40;

    RunImport(manager, tree.Path());

    EXPECT_EQ(manager.entries.GetCount(), 6);
    EXPECT_EQ(manager.songs.GetCount(), 42);
    std::vector<std::string> log = frame.Log();
    EXPECT_EQ(log.at(log.size() - 3), "message 导入音乐文件成功！共导入曲目1个, 音乐文件2个。");
    EXPECT_EQ(log.at(log.size() - 5), "entry row 6 X"); // rows continue after the old entries
}

TEST(ImportThread, StopsAtTheNextItemWhenCancelledAndKeepsWhatWasAdded) {
    CTempDir tree;
    WriteOrderingTree(tree);
    CRecordingFrame frame(tree.Path());
    CPlatformScope platform(&frame);
    CMusicManager manager(&frame);
    EnableTypes(manager.config, 1);
    frame.onSongRow = [&manager] { manager.CancelImport(); }; // the stop button

    RunImport(manager, tree.Path());

    // The first song was in; the folder entries still open (A, and the tree
    // itself) are dropped at the next item of every level.
    EXPECT_EQ(SongNames(manager), (std::vector<std::string>{"a1.MP3"}));
    EXPECT_TRUE(manager.entries.IsEmpty());
    std::vector<std::string> expectedLog = {
        "progress . []",
        "progress ./A [a1.MP3]",
        "song row 0 a1.MP3",
        "close 1010",
        "message 导入音乐文件被中断。共导入曲目0个, 音乐文件1个。",
        "status",
        "artist menu",
    };
    EXPECT_EQ(frame.Log(), expectedLog);

    // Cancelled before the scan starts: nothing is added, the report follows.
    CRecordingFrame secondFrame(tree.Path());
    CPlatformScope secondPlatform(&secondFrame);
    CMusicManager second(&secondFrame);
    EnableTypes(second.config, 1);
    second.importThread = std::make_unique<CImportThread>(&second, tree.Path());
    second.CancelImport();
    second.importThread->InitInstance();
    EXPECT_TRUE(IsLibraryEmpty(&second));
    EXPECT_EQ(secondFrame.Log(),
              (std::vector<std::string>{"close 1010",
                                        "message 导入音乐文件被中断。共导入曲目0个, 音乐文件0个。",
                                        "status", "artist menu"}));
}

TEST(ImportThread, DoesNotFollowASymlinkBackToAParent) {
    CTempDir tree;
    tree.Write("A/song.mp3", Mp3File("song"));
    ASSERT_EQ(symlink("..", tree.File("A/up").c_str()), 0);
    ASSERT_EQ(symlink(".", tree.File("A/self").c_str()), 0);
    ASSERT_EQ(symlink(tree.File("A").c_str(), tree.File("Z-link").c_str()), 0);
    tree.Write("Z-link-target/z.mp3", Mp3File("z"));
    CRecordingFrame frame(tree.Path());
    CPlatformScope platform(&frame);
    CMusicManager manager(&frame);
    EnableTypes(manager.config, 1);

    RunImport(manager, tree.Path());

    // Every folder is entered once, whichever link reaches it first.
    EXPECT_EQ(SongNames(manager), (std::vector<std::string>{"song.mp3", "z.mp3"}));
    EXPECT_EQ(EntrySummary(manager),
              (std::vector<std::string>{"102 A (1: song.mp3)", "102 Z-link-target (1: z.mp3)"}));
}

TEST(ImportThread, SkipsPipesDanglingLinksAndOtherNonFiles) {
    CTempDir tree;
    tree.Write("real.mp3", Mp3File("real"));
    ASSERT_EQ(mkfifo(tree.File("pipe.mp3").c_str(), 0644), 0); // opening it would block
    ASSERT_EQ(symlink(tree.File("nowhere.mp3").c_str(), tree.File("dangling.mp3").c_str()), 0);
    ASSERT_EQ(symlink(tree.File("real.mp3").c_str(), tree.File("linked.mp3").c_str()), 0);
    CRecordingFrame frame(tree.Path());
    CPlatformScope platform(&frame);
    CMusicManager manager(&frame);
    EnableTypes(manager.config, 0);

    RunImport(manager, tree.Path());

    EXPECT_EQ(SongNames(manager), (std::vector<std::string>{"linked.mp3", "real.mp3"}));
    std::vector<CFolderItem> items;
    ASSERT_TRUE(ListFolder(tree.Path(), items));
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(CountSupportedFiles(manager.config, tree.Path()), 2);
    EXPECT_FALSE(ListFolder(tree.File("missing"), items));
    EXPECT_TRUE(items.empty());
}

// Root reads every folder whatever its mode, so the unreadable folder is
// tested in a child process that runs as an ordinary user.
TEST(ImportThread, AFolderThatCannotBeListedContributesNothing) {
    CTempDir tree;
    tree.Write("Locked/hidden.mp3", Mp3File("hidden"));
    tree.Write("Open/seen.mp3", Mp3File("seen"));
    ASSERT_EQ(chmod(tree.Path().c_str(), 0755), 0);
    ASSERT_EQ(chmod(tree.File("Open").c_str(), 0755), 0);
    ASSERT_EQ(chmod(tree.File("Open/seen.mp3").c_str(), 0644), 0);
    ASSERT_EQ(chmod(tree.File("Locked").c_str(), 0), 0);

    int channel[2];
    ASSERT_EQ(pipe(channel), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(channel[0]);
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
            _exit(2);
        }
        CNullFrame nullFrame;
        CMusicManager manager(&nullFrame);
        EnableTypes(manager.config, 1);
        CImportThread worker(&manager, tree.Path());
        worker.ScanFolder(worker.folder);
        std::string result;
        for (const std::string& line : EntrySummary(manager)) {
            result += line + "\n";
        }
        for (const std::string& name : SongNames(manager)) {
            result += name + "\n";
        }
        ssize_t written = write(channel[1], result.data(), result.size());
        _exit(written == static_cast<ssize_t>(result.size()) ? 0 : 3);
    }
    close(channel[1]);
    std::string result;
    char buffer[256];
    ssize_t got;
    while ((got = read(channel[0], buffer, sizeof buffer)) > 0) {
        result.append(buffer, static_cast<std::size_t>(got));
    }
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(result, "102 Open (1: seen.mp3)\nseen.mp3\n");
}

TEST(ImportThread, KeepsTheRawBytesOfGbkNamesSoTheFilesStillOpen) {
    CTempDir tree;
    const std::string gbkFolder = "\xB8\xE8";           // 歌
    const std::string gbkFile = "\xC7\xE9\xB8\xE8.mp3"; // 情歌.mp3
    tree.Write(gbkFolder + "/" + gbkFile, Mp3File(""));
    CRecordingFrame frame(tree.Path());
    CPlatformScope platform(&frame);
    CMusicManager manager(&frame);
    EnableTypes(manager.config, 1);

    RunImport(manager, tree.Path());

    ASSERT_EQ(manager.songs.GetCount(), 1);
    CSongPtr song = manager.songs.GetAt(1);
    EXPECT_EQ(song->fileName, gbkFile);
    EXPECT_EQ(song->location, tree.File(gbkFolder));
    EXPECT_TRUE(FileExists(song->GetFullPath()));
    EXPECT_EQ(song->title, "情歌");
    ASSERT_EQ(manager.entries.GetCount(), 1);
    EXPECT_EQ(manager.entries.GetAt(1)->title, "歌");
    EXPECT_EQ(manager.entries.GetAt(1)->location, tree.File(gbkFolder));
    EXPECT_EQ(frame.Log().at(1), "progress ./歌 [情歌.mp3]");
}

TEST(FolderListing, NameOrderIgnoresAsciiCaseThenUsesBytes) {
    std::vector<std::string> names = {"b", "B", "a10", "A2", "a1", "_x", "Ä", "a"};
    std::sort(names.begin(), names.end(), ComesBeforeInListing);
    EXPECT_EQ(names, (std::vector<std::string>{"a", "a1", "a10", "A2", "B", "b", "_x", "Ä"}));
}
