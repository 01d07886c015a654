#include "core/MusicManager.h"

#include "core/WebAddresses.h"
#include "formats/ListFile.h"
#include "support/RecordingPlatform.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

class CCountingFrame : public CNullFrame {
public:
    int clearedPanes = 0;
    int artistMenus = 0;
    void ClearPanes() override { ++clearedPanes; }
    void RebuildArtistMenu() override { ++artistMenus; }
};

// Runs the test inside a folder and goes back afterwards.
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

std::string RealPath(const std::string& path) {
    return std::filesystem::canonical(path).string();
}

CSongPtr MakeSong(const std::string& title, int time, const std::string& location) {
    auto song = std::make_shared<CSongItem>();
    song->title = title;
    song->time = time;
    song->fileName = title + ".mp3";
    song->fileType = "mp3";
    song->location = location;
    return song;
}

CEntryPtr MakeEntry(const std::string& title, const std::string& artist,
                    std::initializer_list<CSongPtr> songs = {}) {
    auto entry = std::make_shared<CPlayListItem>();
    entry->title = title;
    entry->artist = artist;
    entry->fileName = "/music/" + title;
    entry->location = "/music/" + title;
    for (const CSongPtr& song : songs) {
        entry->songs.AddTail(song);
    }
    entry->Renumber();
    entry->UpdateTotals();
    return entry;
}

template <typename List> std::string TitlesOf(const List& list) {
    std::string titles;
    for (const auto& record : list) {
        titles += record->title + " ";
    }
    return titles;
}

std::string NamesOf(const CArtistList& artists) {
    std::string names;
    for (const std::string& name : artists) {
        names += name + " ";
    }
    return names;
}

CMusicCommand Command(int code, std::vector<int> ints, std::vector<std::string> strings = {}) {
    CMusicCommand command(code, static_cast<int>(ints.size()), 4);
    for (std::size_t index = 0; index < ints.size(); ++index) {
        command.SetInt(ints[index], static_cast<int>(index));
    }
    for (std::size_t index = 0; index < strings.size(); ++index) {
        command.SetString(strings[index], static_cast<int>(index));
    }
    return command;
}

// Five entries (A to E, artists in order B, "", A, B, C), songs 1 to 3 in
// entry A and song 4 in entry D; the flat list holds all four.
void FillLibrary(CMusicManager& manager) {
    CSongPtr s1 = MakeSong("s1", 10, "/music/A");
    CSongPtr s2 = MakeSong("s2", 20, "/music/A");
    CSongPtr s3 = MakeSong("s3", 30, "/music/A");
    CSongPtr s4 = MakeSong("s4", 40, "");
    manager.entries.AddTail(MakeEntry("A", "B", {s1, s2, s3}));
    manager.entries.AddTail(MakeEntry("B", ""));
    manager.entries.AddTail(MakeEntry("C", "A"));
    manager.entries.AddTail(MakeEntry("D", "B", {s4}));
    manager.entries.AddTail(MakeEntry("E", "C"));
    for (CSongPtr song : {s1, s2, s3, s4}) {
        manager.songs.AddTail(song);
    }
}

} // namespace

TEST(MusicManagerStart, WithoutStoreFilesGivesAnEmptyLibraryAndDefaults) {
    CTempDir dir;
    CScopedCurrentFolder inside(dir.Path());
    CMusicManager manager(nullptr);
    manager.Start();
    EXPECT_TRUE(manager.entries.IsEmpty());
    EXPECT_TRUE(manager.songs.IsEmpty());
    EXPECT_TRUE(manager.artists.IsEmpty());
    EXPECT_TRUE(IsLibraryEmpty(&manager));
    EXPECT_EQ(manager.config.WorkDirectory, RealPath(dir.Path()));
    EXPECT_EQ(manager.config.IsFirstUse, 1);
    EXPECT_EQ(manager.config.IsUseDefaultPlayer, 1);
    EXPECT_EQ(manager.config.DelayOfEyeProtector, 60);
    EXPECT_EQ(manager.config.fileTypes.size(), 10u);
    EXPECT_TRUE(manager.config.IsSupportedExtension("mp3"));
    EXPECT_EQ(manager.currentRow, 0);
}

TEST(MusicManagerStart, SettingsWithoutAWorkFolderSaveIntoTheCurrentFolder) {
    CTempDir dir;
    dir.Write("Cricklet.ini", "[Cricklet Configuration List]\nIsUseDefaultPlayer = 0;\n");
    CScopedCurrentFolder inside(dir.Path());
    CMusicManager manager(nullptr);
    manager.Start();
    EXPECT_EQ(manager.config.IsUseDefaultPlayer, 0);
    EXPECT_EQ(manager.config.WorkDirectory, RealPath(dir.Path()));
}

TEST(MusicManagerSave, StoreFilesAreReadHereAndWrittenIntoWorkDirectory) {
    CTempDir here, there;
    std::string settings = "[Cricklet Configuration List]\nIsUseDefaultPlayer = 1;\n"
                           "PlayerPath = ;\nIsFirstUse = 1;\nRecentDirectory = ;\n"
                           "WorkDirectory = " +
                           there.Path() + ";\n";
    here.Write("Cricklet.ini", settings);
    CScopedRecordingPlatform recorder;
    CScopedCurrentFolder inside(here.Path());
    CMusicManager manager(nullptr);
    manager.Start();
    EXPECT_EQ(manager.config.WorkDirectory, there.Path());
    manager.entries.AddTail(MakeEntry("A", "B"));
    EXPECT_TRUE(manager.Save());
    EXPECT_EQ(manager.config.IsFirstUse, 0);
    EXPECT_EQ(here.Read("Cricklet.ini"), settings);
    EXPECT_FALSE(std::filesystem::exists(here.File("PlayList.stp")));
    std::string saved = there.Read("Cricklet.ini");
    EXPECT_NE(saved.find("IsFirstUse = 0;\n"), std::string::npos) << saved;
    EXPECT_NE(there.Read("PlayList.stp").find("曲目标题 = A;"), std::string::npos);
    EXPECT_EQ(there.Read("MusicList.ckp"), "number = 0;\n\n");
    EXPECT_TRUE(recorder.platform.messages.empty());
}

TEST(MusicManagerSave, AStoreFileThatCouldNotBeReadIsMovedAsideNotReplaced) {
    CTempDir dir;
    dir.Write("PlayList.stp/inside", "the user's data, whatever it is");
    dir.Write("PlayList.stp.unreadable", "an earlier one");
    CScopedRecordingPlatform recorder;
    CScopedCurrentFolder inside(dir.Path());
    CMusicManager manager(nullptr);
    manager.Start();
    EXPECT_EQ(recorder.platform.MessageTexts().size(), 1u);
    manager.entries.AddTail(MakeEntry("A", "B"));
    EXPECT_TRUE(manager.Save());
    EXPECT_EQ(dir.Read("PlayList.stp.unreadable"), "an earlier one");
    EXPECT_EQ(dir.Read("PlayList.stp.unreadable.1/inside"), "the user's data, whatever it is");
    EXPECT_NE(dir.Read("PlayList.stp").find("曲目标题 = A;"), std::string::npos);
}

TEST(MusicManagerSave, AWriteErrorIsReportedAndOldFilesStayWhole) {
    CTempDir dir;
    dir.Write("PlayList.stp", "old list");
    dir.Write("Cricklet.ini", "old settings");
    // A folder where the song store should be: that file cannot be replaced.
    std::filesystem::create_directory(dir.File("MusicList.ckp"));
    dir.Write("blocker", "a file, not a folder");

    CScopedRecordingPlatform recorder;
    CMusicManager manager(nullptr);
    manager.config.SetDefaults();
    manager.config.WorkDirectory = dir.File("blocker");
    EXPECT_FALSE(manager.Save());
    EXPECT_EQ(recorder.platform.MessageTexts(),
              (std::vector<std::string>{dir.File("blocker/PlayList.stp") + ": Not a directory",
                                        dir.File("blocker/MusicList.ckp") + ": Not a directory",
                                        dir.File("blocker/Cricklet.ini") + ": Not a directory"}));
    EXPECT_EQ(dir.Read("PlayList.stp"), "old list");
    EXPECT_EQ(dir.Read("Cricklet.ini"), "old settings");

    // One file that cannot be replaced does not keep the others from saving.
    recorder.platform.messages.clear();
    manager.config.WorkDirectory = dir.Path();
    EXPECT_FALSE(manager.Save());
    EXPECT_EQ(recorder.platform.MessageTexts(),
              std::vector<std::string>{dir.File("MusicList.ckp") + ": Is a directory"});
    EXPECT_NE(dir.Read("PlayList.stp"), "old list");
    EXPECT_NE(dir.Read("Cricklet.ini").find("WorkDirectory = " + dir.Path() + ";"),
              std::string::npos);
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("MusicList.ckp")));
    int leftovers = 0;
    for (const auto& item : std::filesystem::directory_iterator(dir.Path())) {
        leftovers += item.path().filename().string().find(".stp.") != std::string::npos ||
                     item.path().filename().string().find(".ckp.") != std::string::npos;
    }
    EXPECT_EQ(leftovers, 0);
}

TEST(MusicManagerRemoveEntries, RemovesTheListedPositionsAndKeepsTheirSongs) {
    CCountingFrame frame;
    CMusicManager manager(&frame);
    FillLibrary(manager);
    manager.Execute(Command(MCMD_REMOVE_ENTRIES, {2, 3, 5}));
    EXPECT_EQ(TitlesOf(manager.entries), "A D ");
    EXPECT_EQ(TitlesOf(manager.songs), "s1 s2 s3 s4 ");
    EXPECT_EQ(NamesOf(manager.artists), "B <未命名> ");
    EXPECT_EQ(frame.artistMenus, 1);

    // Positions outside the list are ignored, the others still removed.
    manager.Execute(Command(MCMD_REMOVE_ENTRIES, {-1, 0, 2, 3, 40000}));
    EXPECT_EQ(TitlesOf(manager.entries), "A ");
    manager.Execute(Command(MCMD_REMOVE_ENTRIES, {}));
    EXPECT_EQ(TitlesOf(manager.entries), "A ");
    manager.Execute(Command(MCMD_REMOVE_ENTRIES, {1}));
    EXPECT_TRUE(manager.entries.IsEmpty());
    EXPECT_TRUE(manager.artists.IsEmpty());
    EXPECT_EQ(TitlesOf(manager.songs), "s1 s2 s3 s4 ");
}

TEST(MusicManagerRemoveSongs, FromAnEntryOrFromTheFlatListOnly) {
    CMusicManager manager(nullptr);
    FillLibrary(manager);
    CEntryPtr first = manager.entries.GetAt(1);

    manager.Execute(Command(MCMD_REMOVE_SONGS, {1, 3, 1}));
    EXPECT_EQ(TitlesOf(first->songs), "s2 ");
    EXPECT_EQ(first->songs.GetAt(1)->order, 1);
    EXPECT_EQ(first->count, 1);
    EXPECT_EQ(first->time, 20);
    EXPECT_EQ(TitlesOf(manager.songs), "s1 s2 s3 s4 ");

    manager.Execute(Command(MCMD_REMOVE_SONGS, {2, 4, 0}));
    EXPECT_EQ(TitlesOf(manager.songs), "s1 s3 ");
    EXPECT_EQ(TitlesOf(first->songs), "s2 ");

    // A negative row means the flat list too.
    manager.Execute(Command(MCMD_REMOVE_SONGS, {1, -1}));
    EXPECT_EQ(TitlesOf(manager.songs), "s3 ");
}

TEST(MusicManagerRemoveSongs, PositionsOutsideTheirListAreIgnored) {
    CMusicManager manager(nullptr);
    FillLibrary(manager);
    manager.Execute(Command(MCMD_REMOVE_SONGS, {1, 9}));    // no entry 9
    manager.Execute(Command(MCMD_REMOVE_SONGS, {0, 5, 4})); // entry D has one song
    manager.Execute(Command(MCMD_REMOVE_SONGS, {}));
    manager.Execute(Command(MCMD_REMOVE_SONGS, {7, 0}));
    EXPECT_EQ(TitlesOf(manager.songs), "s1 s2 s3 s4 ");
    EXPECT_EQ(TitlesOf(manager.entries.GetAt(1)->songs), "s1 s2 s3 ");
    EXPECT_EQ(TitlesOf(manager.entries.GetAt(4)->songs), "s4 ");
}

TEST(MusicManagerClear, EmptiesEntriesSongsAndArtists) {
    CCountingFrame frame;
    CMusicManager manager(&frame);
    FillLibrary(manager);
    manager.artists.AddTail("stale");
    manager.Execute(Command(MCMD_CLEAR_LIBRARY, {}));
    EXPECT_TRUE(IsLibraryEmpty(&manager));
    EXPECT_TRUE(manager.artists.IsEmpty());
    EXPECT_EQ(frame.artistMenus, 1);
}

TEST(MusicManagerExplore, OpensTheFolderOfAnExistingRecordOnly) {
    CScopedRecordingPlatform recorder;
    CMusicManager manager(nullptr);
    FillLibrary(manager);
    manager.Execute(Command(MCMD_EXPLORE_ENTRY, {3}));
    for (int position : {0, 6, -1}) {
        manager.Execute(Command(MCMD_EXPLORE_ENTRY, {position}));
    }
    manager.Execute(Command(MCMD_EXPLORE_ENTRY, {}));
    manager.Execute(Command(MCMD_EXPLORE_SONG, {0, 1}));  // flat list, second song
    manager.Execute(Command(MCMD_EXPLORE_SONG, {1, 2}));  // entry A, third song
    manager.Execute(Command(MCMD_EXPLORE_SONG, {0, 3}));  // s4 has no folder
    manager.Execute(Command(MCMD_EXPLORE_SONG, {1, 3}));  // entry A has three songs
    manager.Execute(Command(MCMD_EXPLORE_SONG, {2, 0}));  // entry B has none
    manager.Execute(Command(MCMD_EXPLORE_SONG, {9, 0}));  // no entry 9
    manager.Execute(Command(MCMD_EXPLORE_SONG, {0, -1})); // before the first row
    manager.Execute(Command(MCMD_EXPLORE_SONG, {0, 2147483647}));
    EXPECT_EQ(recorder.platform.exploredFolders,
              (std::vector<std::string>{"/music/C", "/music/A", "/music/A"}));
    EXPECT_TRUE(recorder.platform.openedPaths.empty());
}

TEST(MusicManagerOpen, HelpAndWebPagesPreferTheWorkFoldersHelp) {
    CTempDir dir;
    CScopedRecordingPlatform recorder;
    CMusicManager manager(nullptr);
    manager.config.WorkDirectory = dir.Path();
    manager.Execute(Command(MCMD_OPEN_HELP, {}));
    dir.Write("Help/ckhelp.htm", "<html></html>");
    manager.Execute(Command(MCMD_OPEN_HELP, {}));
    manager.Execute(Command(MCMD_OPEN_HOMEPAGE, {}));
    manager.Execute(Command(MCMD_OPEN_DOWNLOAD_PAGE, {}));

    const std::vector<std::string>& opened = recorder.platform.openedPaths;
    ASSERT_EQ(opened.size(), 4u);
    const std::string installed = "/Help/ckhelp.htm";
    EXPECT_EQ(opened[0].compare(opened[0].size() - installed.size(), installed.size(), installed),
              0);
    EXPECT_NE(opened[0].rfind(dir.Path(), 0), 0u);
    EXPECT_EQ(opened[1], dir.File("Help/ckhelp.htm"));
    EXPECT_EQ(opened[2], HomepageUrl().empty() ? opened[1] : HomepageUrl());
    EXPECT_EQ(opened[3], DownloadUrl().empty() ? opened[1] : DownloadUrl());
}

TEST(MusicManagerImportList, AnUnreadableFileLeavesTheLibraryAsItWas) {
    CTempDir dir;
    CScopedRecordingPlatform recorder;
    CMusicManager manager(nullptr);
    FillLibrary(manager);
    manager.Execute(Command(MCMD_IMPORT_LIST, {}, {dir.File("none.stp")}));
    manager.Execute(Command(MCMD_IMPORT_LIST, {}, {dir.Path()}));
    EXPECT_EQ(recorder.platform.MessageTexts(),
              (std::vector<std::string>{dir.File("none.stp") + ": No such file or directory",
                                        dir.Path() + ": Is a directory"}));
    EXPECT_EQ(TitlesOf(manager.entries), "A B C D E ");
    EXPECT_EQ(TitlesOf(manager.songs), "s1 s2 s3 s4 ");
}

TEST(MusicManagerImportList, ReplacesTheEntriesAndRebuildsTheFlatListFromThem) {
    CTempDir dir;
    CMusicList fileEntries;
    fileEntries.AddTail(MakeEntry("X", "Z", {MakeSong("x1", 5, "")}));
    fileEntries.AddTail(MakeEntry("Y", "", {MakeSong("y1", 6, ""), MakeSong("y2", 7, "")}));
    ASSERT_TRUE(WriteMusicListFile(dir.File("in.stp"), fileEntries));

    CScopedRecordingPlatform recorder;
    CCountingFrame frame;
    CMusicManager manager(&frame);
    FillLibrary(manager);
    manager.Execute(Command(MCMD_IMPORT_LIST, {}, {dir.File("in.stp")}));
    EXPECT_EQ(TitlesOf(manager.entries), "X Y ");
    EXPECT_EQ(TitlesOf(manager.songs), "x1 y1 y2 ");
    EXPECT_EQ(manager.songs.GetAt(2), manager.entries.GetAt(2)->songs.GetAt(1));
    EXPECT_EQ(NamesOf(manager.artists), "Z <未命名> ");
    EXPECT_EQ(frame.artistMenus, 1);
    ASSERT_EQ(recorder.platform.messages.size(), 1u);
    EXPECT_EQ(recorder.platform.messages[0].text, "导入音乐文件成功！共导入曲目2个, 音乐文件3个。");
    EXPECT_EQ(recorder.platform.messages[0].caption, kAppTitle);
    EXPECT_EQ(recorder.platform.messages[0].icon, CMessageIcon::Information);
}

TEST(MusicManagerImportFolder, AppendKeepsTheLibraryReplaceEmptiesIt) {
    CTempDir dir;
    CScopedRecordingPlatform recorder;
    CCountingFrame frame;
    CMusicManager manager(&frame);
    FillLibrary(manager);

    manager.Execute(Command(MCMD_IMPORT_FOLDER, {1}, {dir.Path()}));
    ASSERT_TRUE(manager.importThread);
    manager.importThread->Join();
    EXPECT_EQ(manager.importThread->folder, dir.Path());
    EXPECT_EQ(manager.importBaseEntries, 5);
    EXPECT_EQ(manager.importBaseSongs, 4);
    EXPECT_EQ(TitlesOf(manager.entries), "A B C D E ");
    EXPECT_EQ(frame.clearedPanes, 0);

    manager.Execute(Command(MCMD_IMPORT_FOLDER, {0}, {dir.Path()}));
    manager.importThread->Join();
    EXPECT_EQ(manager.importBaseEntries, 0);
    EXPECT_EQ(manager.importBaseSongs, 0);
    EXPECT_TRUE(IsLibraryEmpty(&manager));
    EXPECT_EQ(frame.clearedPanes, 1);
}

TEST(MusicManagerExecute, UnknownCodesChangeNothing) {
    CScopedRecordingPlatform recorder;
    CCountingFrame frame;
    CMusicManager manager(&frame);
    FillLibrary(manager);
    for (int code : {0, -1, 1001, 1099, 32773}) {
        manager.Execute(Command(code, {1, 1, 1, 1}, {"x"}));
    }
    EXPECT_EQ(TitlesOf(manager.entries), "A B C D E ");
    EXPECT_EQ(TitlesOf(manager.songs), "s1 s2 s3 s4 ");
    EXPECT_EQ(frame.artistMenus + frame.clearedPanes, 0);
    EXPECT_TRUE(recorder.platform.messages.empty());
    EXPECT_TRUE(recorder.platform.openedPaths.empty());
}
