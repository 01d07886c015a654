// Names and paths as they reach the library: names the store files cannot
// hold, relative paths with "..", and one song the desktop cannot open.
#include "core/ImportThread.h"
#include "core/MusicManager.h"
#include "support/CurrentFolder.h"
#include "support/RecordingPlatform.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

CMusicCommand Command(int code, int firstInt, const std::string& text) {
    CMusicCommand command(static_cast<short>(code), 1, 4);
    command.SetInt(firstInt, 0);
    command.SetString(text, 0);
    return command;
}

} // namespace

TEST(ImportNames, NamesWithLineBreaksAreSkippedCountedAndRefused) {
    CTempDir tree;
    for (const char* name : {"A/ok.mid", "A/bad\nname.mid", "A/notes\r.txt", "A/list\n.m3u",
                             "B\nC/inside.mid", "D/only\r.mid"}) {
        tree.Write(name, "#EXTM3U\n");
    }
    CScopedRecordingPlatform recorder;
    CMusicManager manager(nullptr);
    manager.config.SetDefaults();
    for (const std::string& root : {tree.Path(), tree.File("B\nC")}) {
        CImportThread(&manager, root).InitInstance();
    }
    manager.Execute(Command(MCMD_ADD_SONG, 0, tree.File("A/bad\nname.mid")));
    manager.Execute(Command(MCMD_ADD_M3U, 0, tree.File("A/list\n.m3u")));

    ASSERT_EQ(manager.songs.GetCount(), 1);
    EXPECT_EQ(manager.songs.GetAt(1)->fileName, "ok.mid");
    ASSERT_EQ(manager.entries.GetCount(), 1);
    const std::string skipped = "个文件或文件夹的名称含有换行符，音乐单无法保存，已跳过。";
    const std::string refused = "的名称含有换行符，音乐单无法保存，未加入。";
    EXPECT_EQ(recorder.platform.MessageTexts(),
              (std::vector<std::string>{
                  "导入音乐文件成功！共导入曲目1个, 音乐文件1个。另有4" + skipped,
                  "导入音乐文件成功！共导入曲目1个, 音乐文件1个。另有1" + skipped,
                  "“" + tree.File("A/bad\nname.mid") + "”" + refused,
                  "“" + tree.File("A/list\n.m3u") + "”" + refused}));
}

TEST(ImportPaths, RelativePathsAreStoredWithoutDotsOrDoubleDots) {
    CTempDir dir;
    dir.Write("music/A/a.mid", "x");
    dir.Write("music/list.m3u", "#EXTM3U\n#EXTINF:3,t\n./A/../A//a.mid\n");
    dir.Write("lib/x", "");
    std::string real = std::filesystem::canonical(dir.Path()).string();
    CScopedRecordingPlatform recorder;
    CScopedFolderChange inside(dir.File("lib"));
    CMusicManager manager(nullptr);
    manager.config.SetDefaults();
    CImportThread(&manager, "../music/./A/").InitInstance();
    manager.Execute(Command(MCMD_ADD_SONG, 0, "..//music/A/../A/a.mid"));
    manager.Execute(Command(MCMD_ADD_M3U, 0, "../lib/../music/list.m3u"));

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
    manager.config.PlayerPath = "/usr/bin/player";
    manager.songs.AddTail(song);
    manager.Execute(Command(MCMD_PLAY_SELECTION, 1, "songlist"));
    EXPECT_EQ(recorder.platform.openedPaths, std::vector<std::string>{dir.File("song.xyz")});
    ASSERT_EQ(recorder.platform.startedPrograms.size(), 1u);
    EXPECT_EQ(recorder.platform.startedPrograms[0].program, "/usr/bin/player");
    EXPECT_EQ(recorder.platform.startedPrograms[0].argument, dir.File("song.xyz"));
}
