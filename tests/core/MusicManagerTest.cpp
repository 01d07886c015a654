#include "core/MusicManager.h"

#include "formats/ListFile.h"
#include "support/Library.h"
#include "support/StoreFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// Five entries A to E (artists 张, "", A, 张, 阿), songs s1 to s3 in
// entry A and s4 (without a folder) in entry D; the flat list holds all four.
struct CFiveEntries : CTestLibrary {
    CFiveEntries() {
        CSongPtr s[] = {TestSong("s1", 10, "/music/A"), TestSong("s2", 20, "/music/A"),
                        TestSong("s3", 30, "/music/A"), TestSong("s4", 40, "")};
        const std::vector<CSongPtr> songs[] = {{s[0], s[1], s[2]}, {}, {}, {s[3]}, {}};
        const char* artists[] = {"张", "", "A", "张", "阿"};
        for (int e = 0; e < 5; ++e) {
            std::string title(1, static_cast<char>('A' + e));
            manager.entries.AddTail(
                TestEntry(title, "/music/" + title, "/music/" + title, songs[e], artists[e]));
        }
        for (const CSongPtr& song : s) {
            manager.songs.AddTail(song);
        }
    }
};

} // namespace

TEST(MusicManagerStart, SettingsComeFromTheCurrentFolderAndStoreFilesFromWorkDirectory) {
    CTempDir here, there;
    CScopedRecordingPlatform recorder;
    CScopedFolderChange inside(here.Path());
    CMusicManager fresh(nullptr);
    fresh.Start();
    EXPECT_TRUE(IsLibraryEmpty(&fresh) && fresh.artists.IsEmpty() && fresh.config.IsFirstUse == 1 &&
                fresh.config.IsSupportedExtension("mp3"));
    EXPECT_EQ(fresh.config.WorkDirectory, std::filesystem::canonical(here.Path()).string());

    std::string settings =
        ReplaceAll(DefaultSettingsText(there.Path()), "IsFirstUse = 0;", "IsFirstUse = 1;");
    here.Write("Cricklet.ini", settings);
    CMusicManager manager(nullptr);
    manager.Start();
    manager.entries.AddTail(TestEntry("A", "/m", "a.m3u"));
    EXPECT_TRUE(manager.Save());
    EXPECT_EQ(here.Read("Cricklet.ini") + here.Read("PlayList.stp"), settings);
    EXPECT_EQ(there.Read("Cricklet.ini"), DefaultSettingsText(there.Path()));
    EXPECT_EQ(there.Read("PlayList.stp") + there.Read("MusicList.ckp"),
              ListFileText(manager.entries) + "number = 0;\n\n");
}

TEST(MusicManagerSave, AStoreFileThatCouldNotBeReadIsMovedAsideNotReplaced) {
    CTempDir dir;
    dir.Write("PlayList.stp/inside", "the user's data, whatever it is");
    dir.Write("PlayList.stp.unreadable", "an earlier one");
    CScopedRecordingPlatform recorder;
    CScopedFolderChange inside(dir.Path());
    CMusicManager manager(nullptr);
    manager.Start();
    EXPECT_TRUE(manager.Save());
    EXPECT_EQ(dir.Read("PlayList.stp.unreadable") + dir.Read("PlayList.stp.unreadable.1/inside"),
              "an earlier onethe user's data, whatever it is");
    EXPECT_EQ(dir.Read("PlayList.stp"), ListFileText(Lines{}));
}

TEST(MusicManagerRemove, EntriesAndSongsByPositionIgnoringThoseOutside) {
    // Entries, the flat list, entry 1's songs, then the artists.
    const std::string none = "A B C D E|s1 s2 s3 s4|s1 s2 s3|(not rebuilt)";
    const struct {
        int code;
        std::vector<int> ints;
        std::string library;
    } cases[] = {
        // Artists unique, in GB18030 byte order (阿 is "a"), the unnamed last.
        {MCMD_REMOVE_ENTRIES, {2, 3, 5}, "A D|s1 s2 s3 s4|s1 s2 s3|张 <未命名>"},
        {MCMD_REMOVE_ENTRIES, {-1, 0, 2, 3, 40000}, "A D E|s1 s2 s3 s4|s1 s2 s3|阿 张 <未命名>"},
        {MCMD_REMOVE_ENTRIES, {}, "A B C D E|s1 s2 s3 s4|s1 s2 s3|A 阿 张 <未命名>"},
        // From entry 1 (the last number is the shown entry's row).
        {MCMD_REMOVE_SONGS, {1, 3, 1}, "A B C D E|s1 s2 s3 s4|s2|(not rebuilt)"},
        // From the flat list only, by row 0 or a negative row.
        {MCMD_REMOVE_SONGS, {2, 4, 0}, "A B C D E|s1 s3|s1 s2 s3|(not rebuilt)"},
        {MCMD_REMOVE_SONGS, {1, -1}, "A B C D E|s2 s3 s4|s1 s2 s3|(not rebuilt)"},
        {MCMD_REMOVE_SONGS, {1, 9}, none},
        {MCMD_REMOVE_SONGS, {}, none},
    };
    for (std::size_t row = 0; row < std::size(cases); ++row) {
        const auto& c = cases[row];
        CFiveEntries library;
        library.manager.artists.AddTail("(not rebuilt)");
        library.Run(c.code, c.ints);
        const CMusicManager& manager = library.manager;
        CEntryPtr entry = manager.entries.GetAt(1);
        EXPECT_EQ(Joined({Joined(TitlesOf(manager.entries)), Joined(TitlesOf(manager.songs)),
                          Joined(TitlesOf(entry->songs)), Joined(manager.artists.Elements())},
                         "|"),
                  c.library)
            << "row " << row;
        EXPECT_EQ(entry->count, entry->songs.GetCount()) << "row " << row;
    }
    CFiveEntries library;
    library.Run(MCMD_REMOVE_SONGS, {1, 3, 1});
    EXPECT_EQ(library.manager.entries.GetAt(1)->songs.GetAt(1)->order, 1);
    EXPECT_EQ(library.manager.entries.GetAt(1)->time, 20);
    // Songs without entries are still a library: an import asks before replacing it.
    library.Run(MCMD_REMOVE_ENTRIES, {1, 2, 3, 4, 5});
    EXPECT_FALSE(IsLibraryEmpty(&library.manager));
}

TEST(MusicManagerImportList, ReplacesTheEntriesOrReportsAndKeepsThem) {
    CFiveEntries library;
    const CTempDir& dir = library.dir;
    CMusicList fileEntries;
    fileEntries.AddTail(TestEntry("X", "/x", "x.m3u", {TestSong("x1", 5)}, "Z"));
    fileEntries.AddTail(TestEntry("Y", "/y", "y.m3u", {TestSong("y1", 6), TestSong("y2", 7)}));
    ASSERT_TRUE(WriteMusicListFile(dir.File("in.stp"), fileEntries));
    library.Run(MCMD_IMPORT_LIST, {}, {dir.File("none.stp")});
    EXPECT_EQ(Joined(TitlesOf(library.manager.entries)) + Joined(TitlesOf(library.manager.songs)),
              "A B C D Es1 s2 s3 s4");

    library.Run(MCMD_IMPORT_LIST, {}, {dir.File("in.stp")});
    EXPECT_EQ(Joined(TitlesOf(library.manager.entries)) + Joined(TitlesOf(library.manager.songs)),
              "X Yx1 y1 y2");
    EXPECT_EQ(library.manager.songs.GetAt(2), library.manager.entries.GetAt(2)->songs.GetAt(1));
    EXPECT_EQ(library.manager.artists.Elements(), (Lines{"Z", "<未命名>"}));
    EXPECT_EQ(library.platform.MessageTexts(),
              (Lines{dir.File("none.stp") + ": No such file or directory",
                     "导入音乐文件成功！共导入曲目2个, 音乐文件3个。"}));
}
