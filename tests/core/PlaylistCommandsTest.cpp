#include "core/PlaylistCommands.h"

#include "audio/Mp3Info.h"
#include "core/MusicManager.h"
#include "support/Mp3Bytes.h"
#include "support/RecordingPlatform.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Counts the redraws the commands ask for.
class CCountingFrame : public CNullFrame {
public:
    int entryRedraws = 0;
    int artistMenuRebuilds = 0;
    void RefillEntryRows() override { ++entryRedraws; }
    void RebuildArtistMenu() override { ++artistMenuRebuilds; }
};

CMusicCommand Command(int code, std::vector<int> ints, std::vector<std::string> strings = {}) {
    CMusicCommand command(code, std::max<int>(4, static_cast<int>(ints.size())), 4);
    for (std::size_t i = 0; i < ints.size(); ++i) {
        command.SetInt(ints[i], static_cast<int>(i));
    }
    for (std::size_t i = 0; i < strings.size(); ++i) {
        command.SetString(strings[i], static_cast<int>(i));
    }
    return command;
}

CSongPtr MakeSong(const std::string& title, int time, const std::string& location,
                  const std::string& fileName) {
    auto song = std::make_shared<CSongItem>();
    song->title = title;
    song->time = time;
    song->location = location;
    song->fileName = fileName;
    return song;
}

CEntryPtr FolderEntry(const std::string& title, const std::string& folder,
                      std::vector<std::string> names) {
    auto entry = std::make_shared<CPlayListItem>();
    entry->title = title;
    entry->fileName = folder;
    entry->location = folder;
    for (const auto& name : names) {
        entry->songs.AddTail(MakeSong(name + " title", 60, folder, name));
    }
    entry->Renumber();
    entry->UpdateTotals();
    return entry;
}

CEntryPtr FileEntry(const std::string& fileName) {
    auto entry = std::make_shared<CPlayListItem>();
    entry->title = fileName;
    entry->fileName = fileName;
    entry->location = "/lists";
    return entry;
}

} // namespace

TEST(AddM3u, AddsTheEntryAndItsSongsOrShowsTheFormatMessage) {
    CScopedRecordingPlatform recording;
    CTempDir dir;
    CCountingFrame frame;
    CMusicManager manager(&frame);
    manager.songs.AddTail(MakeSong("old", 1, "/m", "old.mp3"));
    dir.Write("老歌.m3u", "#EXTM3U\n#EXTINF:10,one\none.mp3\n#EXTINF:20,two\ntwo.mp3\n");
    dir.Write("bad.m3u", "#EXTM3U\n#EXTINF:10 one\none.mp3\n");

    manager.Execute(Command(MCMD_ADD_M3U, {}, {dir.File("bad.m3u")}));
    manager.Execute(Command(MCMD_ADD_M3U, {}, {dir.File("gone.m3u")}));
    EXPECT_EQ(manager.entries.GetCount(), 0);
    EXPECT_EQ(manager.songs.GetCount(), 1);
    EXPECT_EQ(frame.artistMenuRebuilds, 0);

    manager.Execute(Command(MCMD_ADD_M3U, {}, {dir.File("老歌.m3u")}));
    ASSERT_EQ(manager.entries.GetCount(), 1);
    CEntryPtr entry = manager.entries.GetAt(1);
    EXPECT_EQ(entry->title, "老歌");
    EXPECT_EQ(entry->time, 30);
    ASSERT_EQ(manager.songs.GetCount(), 3);
    EXPECT_EQ(manager.songs.GetAt(2), entry->songs.GetAt(1));
    EXPECT_EQ(manager.songs.GetAt(3), entry->songs.GetAt(2));
    EXPECT_EQ(recording.platform.MessageTexts(),
              (std::vector<std::string>{"添加曲目没有成功，M3U文件格式不正确",
                                        dir.File("gone.m3u") + ": No such file or directory",
                                        "添加曲目成功！标题:\"老歌\" 音乐数:2首"}));
    EXPECT_EQ(manager.artists.Elements(), (std::vector<std::string>{"<未命名>"}));
    EXPECT_EQ(frame.artistMenuRebuilds, 1);
}

TEST(FolderToM3u, TakesTheFirstFreeNameAndOverwritesNothing) {
    CScopedRecordingPlatform recording;
    CTempDir dir;
    CCountingFrame frame;
    CMusicManager manager(&frame);
    const std::string folder = dir.File("Live");
    dir.Write("Live/Live.m3u", "first");
    dir.Write("Live/Live_1.m3u", "second");
    manager.entries.AddTail(FolderEntry("Live", folder, {"a.mp3", "b c.ogg"}));
    manager.entries.AddTail(FileEntry("x.pls"));

    manager.Execute(Command(MCMD_FOLDER_TO_M3U, {2, 0}));
    EXPECT_EQ(manager.entries.GetAt(2)->fileName, "x.pls");
    manager.Execute(Command(MCMD_FOLDER_TO_M3U, {1, 0}));

    CEntryPtr entry = manager.entries.GetAt(1);
    EXPECT_EQ(entry->fileName, "Live_2.m3u");
    EXPECT_EQ(entry->location, folder);
    EXPECT_EQ(entry->GetType(), PLTYPE_M3U);
    EXPECT_EQ(dir.Read("Live/Live.m3u"), "first");
    EXPECT_EQ(dir.Read("Live/Live_1.m3u"), "second");
    EXPECT_EQ(dir.Read("Live/Live_2.m3u"),
              "#EXTM3U\n#EXTINF:60,a.mp3 title\na.mp3\n#EXTINF:60,b c.ogg title\nb c.ogg\n");
    EXPECT_EQ(frame.entryRedraws, 1); // the pls entry changed nothing
    EXPECT_TRUE(recording.platform.MessageTexts().empty());
}

TEST(FolderToM3u, AFailedWriteKeepsTheFolderEntryAndAnUnusableTitleTakesTheFolderName) {
    CScopedRecordingPlatform recording;
    CTempDir dir;
    CCountingFrame frame;
    CMusicManager manager(&frame);
    manager.entries.AddTail(FolderEntry("Gone", dir.File("missing"), {"a.mp3"}));
    manager.entries.AddTail(FolderEntry("AC/DC", dir.File("Rock"), {"a.mp3"}));
    dir.Write("Rock/a.mp3", "a");

    manager.Execute(Command(MCMD_FOLDER_TO_M3U, {1, 1}));
    EXPECT_EQ(manager.entries.GetAt(1)->GetType(), PLTYPE_FOLDER);
    EXPECT_EQ(recording.platform.MessageTexts().size(), 1u);

    manager.Execute(Command(MCMD_FOLDER_TO_M3U, {2, 1}));
    EXPECT_EQ(manager.entries.GetAt(2)->fileName, "Rock.m3u");
    EXPECT_EQ(dir.Read("Rock/Rock.m3u"), "#EXTM3U\n#EXTINF:60,a.mp3 title\na.mp3\n");
    EXPECT_EQ(frame.entryRedraws, 0);
}

TEST(AllFoldersToM3u, ConvertsOnlyFoldersAndRedrawsOnce) {
    CTempDir dir;
    CCountingFrame frame;
    CMusicManager manager(&frame);
    manager.entries.AddTail(FileEntry("a.m3u"));
    manager.entries.AddTail(FolderEntry("One", dir.File("one"), {"1.mp3"}));
    manager.entries.AddTail(FileEntry("b.pls"));
    manager.entries.AddTail(FolderEntry("Two", dir.File("two"), {}));
    dir.Write("one/1.mp3", "1");
    dir.Write("two/.keep", "");

    manager.Execute(Command(MCMD_ALL_FOLDERS_TO_M3U, {}));
    std::vector<std::string> names;
    for (const auto& entry : manager.entries) {
        names.push_back(entry->fileName);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"a.m3u", "One.m3u", "b.pls", "Two.m3u"}));
    EXPECT_EQ(dir.Read("two/Two.m3u"), "#EXTM3U\n");
    EXPECT_EQ(frame.entryRedraws, 1);
}

TEST(AddSong, GoesToTheShownEntryAndTheFlatList) {
    CTempDir dir;
    CMusicManager manager(nullptr);
    manager.entries.AddTail(FolderEntry("Three", "/three", {"1.mp3", "2.mp3", "3.mp3"}));
    dir.Write("new.ogg", "tiny");

    manager.Execute(Command(MCMD_ADD_SONG, {1}, {dir.File("new.ogg")}));
    CEntryPtr entry = manager.entries.GetAt(1);
    ASSERT_EQ(entry->count, 4);
    CSongPtr added = entry->songs.GetAt(4);
    EXPECT_EQ(added->order, 4);
    EXPECT_EQ(added->fileName, "new.ogg");
    EXPECT_EQ(added->location, dir.Path());
    EXPECT_EQ(entry->time, 180 + added->time);
    ASSERT_EQ(manager.songs.GetCount(), 1);
    EXPECT_EQ(manager.songs.GetAt(1), added);

    manager.Execute(Command(MCMD_ADD_SONG, {0}, {dir.File("new.ogg")}));
    manager.Execute(Command(MCMD_ADD_SONG, {9}, {dir.File("new.ogg")}));
    EXPECT_EQ(entry->count, 4);
    EXPECT_EQ(manager.songs.GetCount(), 3);
}

TEST(WriteTags, MP3FilesGetTitleArtistAndAlbumAndKeepTheOtherFields) {
    CScopedRecordingPlatform recording;
    CTempDir dir;
    CMusicManager manager(nullptr);
    Mp3FileLayout tagged;
    Id3v1Fields fields;
    fields.title = "Old";
    fields.artist = "Someone";
    fields.album = "Album";
    fields.year = "1999";
    fields.comment = "kept";
    fields.track = 5;
    fields.genre = 17;
    tagged.id3v1 = Id3v1TagBytes(fields);
    const std::string taggedBytes = Mp3FileBytes(tagged);
    const std::string untaggedBytes = Mp3FileBytes(Mp3FileLayout());
    dir.Write("m/a.mp3", taggedBytes);
    dir.Write("m/b.MP3", untaggedBytes);
    dir.Write("m/c.ogg", "not touched");

    auto entry = FolderEntry("老歌精选", dir.File("m"), {"a.mp3", "b.MP3", "c.ogg", "gone.mp3"});
    entry->songs.GetAt(1)->title = "月亮河";
    entry->songs.GetAt(1)->artist = "Mancini";
    entry->songs.GetAt(2)->title = "Night";
    manager.entries.AddTail(FileEntry("other.m3u"));
    manager.entries.AddTail(entry);
    manager.Execute(Command(MCMD_WRITE_TAGS, {2}));

    Mp3Info a;
    ASSERT_EQ(a.Open(dir.File("m/a.mp3")), MP3_OK);
    EXPECT_EQ(dir.Read("m/a.mp3").size(), taggedBytes.size());
    EXPECT_EQ(a.GetTitle(), "月亮河");
    EXPECT_EQ(a.GetArtist(), "Mancini");
    EXPECT_EQ(a.GetAlbum(), "老歌精选");
    EXPECT_EQ(a.tag.GetYear(), 1999);
    EXPECT_EQ(a.GetComment(), "kept");
    EXPECT_EQ(a.tag.GetTrack(), 5);
    EXPECT_EQ(a.tag.GetGenre(), 17);

    // The file without a tag gets one of its own, nothing of a.mp3's.
    Mp3Info b;
    ASSERT_EQ(b.Open(dir.File("m/b.MP3")), MP3_OK);
    EXPECT_EQ(dir.Read("m/b.MP3").size(), untaggedBytes.size() + 128);
    EXPECT_EQ(b.GetTitle(), "Night");
    EXPECT_EQ(b.GetAlbum(), "老歌精选");
    EXPECT_EQ(b.tag.GetYear(), 0);
    EXPECT_EQ(b.GetComment(), "");
    EXPECT_EQ(b.tag.GetTrack(), -1);
    EXPECT_EQ(b.tag.GetGenre(), 255);

    EXPECT_EQ(dir.Read("m/c.ogg"), "not touched");
    // Only the missing file's open failure was shown.
    ASSERT_EQ(recording.platform.messages.size(), 1u);
    EXPECT_EQ(recording.platform.messages[0].caption, dir.File("m/gone.mp3"));
}

TEST(SaveEntryM3u, WritesFullPathsAndIgnoresAMissingEntry) {
    CTempDir dir;
    CMusicManager manager(nullptr);
    manager.entries.AddTail(FolderEntry("Two", "/music/two", {"1.mp3", "2.mp3"}));
    manager.Execute(Command(MCMD_SAVE_ENTRY_M3U, {1}, {dir.File("saved.m3u")}));
    EXPECT_EQ(dir.Read("saved.m3u"), "#EXTM3U\n#EXTINF:60,1.mp3 title\n/music/two/1.mp3\n"
                                     "#EXTINF:60,2.mp3 title\n/music/two/2.mp3\n");
    manager.Execute(Command(MCMD_SAVE_ENTRY_M3U, {5}, {dir.File("none.m3u")}));
    EXPECT_EQ(dir.Read("none.m3u"), "");
}
