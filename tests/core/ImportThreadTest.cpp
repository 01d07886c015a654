#include "core/ImportThread.h"
#include "support/Library.h"
#include "support/Mp3Bytes.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <functional>

namespace {

// Logs every call the worker makes on the frame and the platform in one list,
// so the order between them is checked too.
class CRecordingFrame : public CNullFrame, public CRecordingPlatform {
public:
    std::function<void()> onSongRow; // runs on the worker after each song row
    Lines log;                       // read once the worker has ended

    void UpdateStatusText() override { log.push_back("status"); }
    void RebuildArtistMenu() override { log.push_back("artist menu"); }
    void ImportInsertEntryRow(const CEntryPtr& entry, int row) override {
        log.push_back("entry row " + std::to_string(row) + " " + entry->title);
    }
    void ImportInsertSongRow(const CSongPtr& song, int row) override {
        log.push_back("song row " + std::to_string(row) + " " + song->fileName);
        if (onSongRow) {
            onSongRow();
        }
    }
    void ImportCloseDialog(int code) override { log.push_back("close " + std::to_string(code)); }
    void ShowMessage(const std::string& text, const std::string&, CMessageIcon) override {
        log.push_back("message " + text);
    }
};

// A tree and a manager that imports mp3 and wav files (wma is known but off).
struct CImportRun {
    CTempDir tree;
    CRecordingFrame frame;
    CMusicManager manager{&frame};

    explicit CImportRun(int importDirs = 1) {
        SetPlatform(&frame);
        manager.config.IsImportDir = importDirs;
        manager.config.fileTypes = {{"mp3", 1}, {"wav", 1}, {"wma", 0}};
    }
    ~CImportRun() { SetPlatform(nullptr); }

    void Run(const std::string& folder) {
        manager.importThread = std::make_unique<CImportThread>(&manager, folder);
        manager.importThread->Start();
        manager.importThread->Join();
    }
    // Folder A with two songs (in byte order A2 would come first) and a
    // sub-folder B holding a song and a playlist, recycle folders, a disabled
    // type, a folder name with points and a folder of disabled files only.
    void WriteOrderingTree() {
        for (const char* name :
             {"A/A2.mp3", "A/a1.MP3", "A/B/b1.mp3", "A/Recycled/r.mp3", "A/x.wma",
              "Best.Of.2001/c.mp3", "Disabled/only.wma", "Old/RECYCLE.bin/deep/d.mp3"}) {
            tree.Write(name, TaggedMp3Bytes(name));
        }
        tree.Write("A/B/list.m3u", "#EXTM3U\n#EXTINF:3,Bee\nb1.mp3\n");
    }
    // One line per entry, "type title (count: file names)", then the flat list.
    std::string Summary() const {
        std::string text;
        for (const CEntryPtr& entry : manager.entries) {
            text += std::to_string(entry->GetType()) + " " + entry->title + " (" +
                    std::to_string(entry->count) + ":";
            for (const CSongPtr& song : entry->songs) {
                text += " " + song->fileName;
            }
            text += ")\n";
        }
        for (const CSongPtr& song : manager.songs) {
            text += song->fileName + " ";
        }
        return text;
    }
};

} // namespace

TEST(ImportThread, WalksFoldersDepthFirstInNameOrderWithFolderEntriesLast) {
    CImportRun run;
    run.WriteOrderingTree();
    run.Run(run.tree.Path() + "/"); // a trailing "/" is dropped

    EXPECT_EQ(Joined(run.frame.log, "\n") + "\n",
              "song row 0 a1.MP3\nsong row 1 A2.mp3\nsong row 2 b1.mp3\nentry row 1 list\n"
              "entry row 2 B\nentry row 3 A\nsong row 3 c.mp3\nentry row 4 Best.Of\nclose 1010\n"
              "message 导入音乐文件成功！共导入曲目4个, 音乐文件4个。\nstatus\nartist menu\n");
    EXPECT_EQ(run.Summary(), "100 list (1: b1.mp3)\n102 B (1: b1.mp3)\n102 A (2: a1.MP3 A2.mp3)\n"
                             "102 Best.Of (1: c.mp3)\na1.MP3 A2.mp3 b1.mp3 c.mp3 ");

    CImportRun playlistsOnly(0);
    playlistsOnly.WriteOrderingTree();
    playlistsOnly.Run(playlistsOnly.tree.Path());
    EXPECT_EQ(playlistsOnly.Summary(), "100 list (1: b1.mp3)\na1.MP3 A2.mp3 b1.mp3 c.mp3 ");
    EXPECT_EQ(playlistsOnly.frame.log.at(playlistsOnly.frame.log.size() - 3),
              "message 导入音乐文件成功！共导入曲目1个, 音乐文件4个。");
}

TEST(ImportThread, StopsAtTheNextItemWhenCancelledAndKeepsWhatWasAdded) {
    CImportRun run;
    run.WriteOrderingTree();
    // The stop button, pressed while the first song row is added; the first
    // song stays in, the folder entries still open are dropped.
    run.frame.onSongRow = [&run] { run.manager.CancelImport(); };
    run.Run(run.tree.Path());
    EXPECT_EQ(run.Summary(), "a1.MP3 ");
    EXPECT_EQ(run.frame.log, (Lines{"song row 0 a1.MP3", "close 1010",
                                    "message 导入音乐文件被中断。共导入曲目0个, 音乐文件1个。",
                                    "status", "artist menu"}));
}

TEST(ImportThread, EntersEachFolderOnceSkipsPipesAndKeepsTheRawBytesOfGbkNames) {
    CImportRun run;
    const CTempDir& tree = run.tree;
    tree.Write("A/song.mp3", TaggedMp3Bytes("song"));
    ASSERT_EQ(symlink("..", tree.File("A/up").c_str()), 0);
    ASSERT_EQ(symlink(".", tree.File("A/self").c_str()), 0);
    ASSERT_EQ(symlink(tree.File("A").c_str(), tree.File("Z-link").c_str()), 0);
    tree.Write("Z-link-target/z.mp3", TaggedMp3Bytes("z"));
    tree.Write("P/real.mp3", TaggedMp3Bytes("real"));
    ASSERT_EQ(mkfifo(tree.File("P/pipe.mp3").c_str(), 0644), 0); // opening it would block
    ASSERT_EQ(symlink(tree.File("P/nowhere.mp3").c_str(), tree.File("P/dangling.mp3").c_str()), 0);
    ASSERT_EQ(symlink(tree.File("P/real.mp3").c_str(), tree.File("P/linked.mp3").c_str()), 0);
    // The files must still open by their names: GBK bytes stay as they are.
    const std::string gbkFolder = "\xB8\xE8";           // 歌
    const std::string gbkFile = "\xC7\xE9\xB8\xE8.mp3"; // 情歌.mp3
    tree.Write(gbkFolder + "/" + gbkFile, TaggedMp3Bytes(""));
    run.Run(tree.Path());

    EXPECT_EQ(run.Summary(), "102 A (1: song.mp3)\n102 P (2: linked.mp3 real.mp3)\n"
                             "102 Z-link-target (1: z.mp3)\n102 歌 (1: " +
                                 gbkFile + ")\nsong.mp3 linked.mp3 real.mp3 z.mp3 " + gbkFile +
                                 " ");
    CSongPtr song = run.manager.songs.GetAt(5);
    EXPECT_EQ(song->location + "|" + song->title, tree.File(gbkFolder) + "|情歌");
}
