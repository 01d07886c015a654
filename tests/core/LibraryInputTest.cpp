// Names and paths as they reach the library: names the store files cannot
// hold, relative paths with "..", and one song the desktop cannot open.
#include "core/ImportThread.h"
#include "core/MusicManager.h"
#include "support/RecordingPlatform.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

CMusicCommand Command(int code, const std::vector<int>& ints, const std::string& text) {
    CMusicCommand command(static_cast<short>(code), static_cast<int>(ints.size()), 4);
    for (std::size_t i = 0; i < ints.size(); ++i) {
        command.SetInt(ints[i], static_cast<int>(i));
    }
    command.SetString(text, 0);
    return command;
}

class CScopedCurrentFolder {
public:
    explicit CScopedCurrentFolder(const std::string& folder)
        : m_previous(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~CScopedCurrentFolder() { std::filesystem::current_path(m_previous); }

private:
    std::filesystem::path m_previous;
};

void Import(CMusicManager& manager, const std::string& folder) {
    CImportThread worker(&manager, folder);
    worker.InitInstance();
}

} // namespace

TEST(ImportNames, NamesWithLineBreaksAreSkippedAndCounted) {
    CTempDir tree;
    tree.Write("A/ok.mid", "x");
    tree.Write("A/bad\nname.mid", "x");
    tree.Write("A/notes\r.txt", "not imported anyway");
    tree.Write("A/list\n.m3u", "#EXTM3U\n#EXTINF:1,t\nok.mid\n");
    tree.Write("B\nC/inside.mid", "x");
    tree.Write("D/only\r.mid", "x");
    CScopedRecordingPlatform recorder;
    CMusicManager manager(nullptr);
    manager.config.SetDefaults();
    Import(manager, tree.Path());

    ASSERT_EQ(manager.songs.GetCount(), 1);
    EXPECT_EQ(manager.songs.GetAt(1)->fileName, "ok.mid");
    ASSERT_EQ(manager.entries.GetCount(), 1);
    EXPECT_EQ(manager.entries.GetAt(1)->title, "A");
    EXPECT_EQ(
        recorder.platform.MessageTexts(),
        std::vector<std::string>{"导入音乐文件成功！共导入曲目1个, 音乐文件1个。"
                                 "另有4个文件或文件夹的名称含有换行符，音乐单无法保存，已跳过。"});

    recorder.platform.messages.clear();
    manager.importBaseEntries = manager.entries.GetCount();
    manager.importBaseSongs = manager.songs.GetCount();
    Import(manager, tree.File("B\nC"));
    EXPECT_EQ(manager.songs.GetCount(), 1);
    EXPECT_EQ(
        recorder.platform.MessageTexts(),
        std::vector<std::string>{"导入音乐文件成功！共导入曲目0个, 音乐文件0个。"
                                 "另有1个文件或文件夹的名称含有换行符，音乐单无法保存，已跳过。"});
}

TEST(ImportNames, AddingOrDroppingSuchANameIsRefused) {
    CTempDir dir;
    const struct {
        int code;
        std::string path;
    } cases[] = {
        {MCMD_ADD_SONG, dir.Write("bad\nname.mid", "x")},
        {MCMD_ADD_M3U, dir.Write("list\r.m3u", "#EXTM3U\n#EXTINF:1,t\nbad.mid\n")},
    };
    for (const auto& c : cases) {
        CScopedRecordingPlatform recorder;
        CMusicManager manager(nullptr);
        manager.Execute(Command(c.code, {0}, c.path));
        EXPECT_EQ(manager.songs.GetCount() + manager.entries.GetCount(), 0) << c.code;
        EXPECT_EQ(
            recorder.platform.MessageTexts(),
            std::vector<std::string>{"“" + c.path + "”的名称含有换行符，音乐单无法保存，未加入。"});
    }
}

TEST(ImportPaths, RelativePathsAreStoredWithoutDotsOrDoubleDots) {
    CTempDir dir;
    dir.Write("music/A/a.mid", "x");
    dir.Write("music/list.m3u", "#EXTM3U\n#EXTINF:3,t\n./A/../A//a.mid\n");
    dir.Write("lib/x", "");
    std::string real = std::filesystem::canonical(dir.Path()).string();
    CScopedRecordingPlatform recorder;
    CScopedCurrentFolder inside(dir.File("lib"));
    CMusicManager manager(nullptr);
    manager.config.SetDefaults();
    Import(manager, "../music/./A/");
    manager.Execute(Command(MCMD_ADD_SONG, {0}, "..//music/A/../A/a.mid"));
    manager.Execute(Command(MCMD_ADD_M3U, {0}, "../lib/../music/list.m3u"));

    ASSERT_EQ(manager.entries.GetCount(), 2);
    EXPECT_EQ(manager.entries.GetAt(1)->GetFullPath(), real + "/music/A");
    EXPECT_EQ(manager.entries.GetAt(2)->GetFullPath(), real + "/music/list.m3u");
    ASSERT_EQ(manager.songs.GetCount(), 3);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(manager.songs.GetAt(i)->GetFullPath(), real + "/music/A/a.mid") << i;
    }
}

TEST(PlaySelection, OneSongTheDesktopCannotOpenGoesToTheConfiguredPlayer) {
    CTempDir dir;
    auto song = std::make_shared<CSongItem>();
    song->fileName = "song.xyz";
    song->location = dir.Path();
    dir.Write("song.xyz", "x");
    CScopedRecordingPlatform recorder;
    recorder.platform.desktopOpenSucceeds = false;
    CMusicManager manager(nullptr);
    manager.config.WorkDirectory = dir.Path();
    manager.config.PlayerPath = "/usr/bin/player";
    manager.songs.AddTail(song);
    manager.Execute(Command(MCMD_PLAY_SELECTION, {1}, "songlist"));
    EXPECT_EQ(recorder.platform.openedPaths, std::vector<std::string>{dir.File("song.xyz")});
    ASSERT_EQ(recorder.platform.startedPrograms.size(), 1u);
    EXPECT_EQ(recorder.platform.startedPrograms[0].program, "/usr/bin/player");
    EXPECT_EQ(recorder.platform.startedPrograms[0].argument, dir.File("song.xyz"));
}
