// Names and paths as they reach the library: names the store files cannot
// hold and relative paths with "..".
#include "core/ImportThread.h"
#include "support/Library.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(ImportNames, NamesWithLineBreaksAreSkippedCountedAndRefused) {
    CTestLibrary library;
    const CTempDir& tree = library.dir;
    for (const char* name : {"A/ok.mid", "A/bad\nname.mid", "A/notes\r.txt", "A/list\n.m3u",
                             "B\nC/inside.mid", "D/only\r.mid"}) {
        tree.Write(name, "#EXTM3U\n");
    }
    library.manager.config.SetDefaults();
    for (const std::string& root : {tree.Path(), tree.File("B\nC")}) {
        CImportThread(&library.manager, root).InitInstance();
    }
    library.Run(MCMD_ADD_SONG, {0}, {tree.File("A/bad\nname.mid")});
    library.Run(MCMD_ADD_M3U, {0}, {tree.File("A/list\n.m3u")});

    ASSERT_EQ(library.manager.songs.GetCount() + library.manager.entries.GetCount(), 2);
    EXPECT_EQ(library.manager.songs.GetAt(1)->fileName, "ok.mid");
    const std::string skipped = "个文件或文件夹的名称含有换行符，音乐单无法保存，已跳过。";
    const std::string refused = "的名称含有换行符，音乐单无法保存，未加入。";
    EXPECT_EQ(library.platform.MessageTexts(),
              (Lines{"导入音乐文件成功！共导入曲目1个, 音乐文件1个。另有4" + skipped,
                     "导入音乐文件成功！共导入曲目1个, 音乐文件1个。另有1" + skipped,
                     "“" + tree.File("A/bad\nname.mid") + "”" + refused,
                     "“" + tree.File("A/list\n.m3u") + "”" + refused}));
}

TEST(ImportPaths, RelativePathsAreStoredWithoutDotsOrDoubleDots) {
    CTestLibrary library;
    library.dir.Write("music/A/a.mid", "x");
    library.dir.Write("music/list.m3u", "#EXTM3U\n#EXTINF:3,t\n./A/../A//a.mid\n");
    library.dir.Write("lib/x", "");
    std::string music = std::filesystem::canonical(library.dir.Path()).string() + "/music";
    CScopedFolderChange inside(library.dir.File("lib"));
    library.manager.config.SetDefaults();
    CImportThread(&library.manager, "../music/./A/").InitInstance();
    library.Run(MCMD_ADD_SONG, {0}, {"..//music/A/../A/a.mid"});
    library.Run(MCMD_ADD_M3U, {0}, {"../lib/../music/list.m3u"});

    Lines paths;
    for (const auto& entry : library.manager.entries) {
        paths.push_back(entry->GetFullPath());
    }
    for (const auto& song : library.manager.songs) {
        paths.push_back(song->GetFullPath());
    }
    const std::string song = music + "/A/a.mid";
    EXPECT_EQ(paths, (Lines{music + "/A", music + "/list.m3u", song, song, song}));
}
