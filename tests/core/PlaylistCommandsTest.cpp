#include "core/PlaylistCommands.h"

#include "support/Library.h"
#include "support/Mp3Bytes.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

// A folder entry whose songs are the named files, titled "<name> title", a minute each.
CEntryPtr FolderEntry(const std::string& title, const std::string& folder, const Lines& names) {
    std::vector<CSongPtr> songs;
    for (const auto& name : names) {
        songs.push_back(TestSong(name + " title", 60, folder, name));
    }
    return TestEntry(title, folder, folder, songs);
}

} // namespace

TEST(FolderToM3u, TakesAFreeNameAndKeepsTheFolderEntryWhenTheWriteFails) {
    CTestLibrary c;
    // The playlist is named after the entry's title, not its folder.
    const std::string folder = c.dir.File("concert");
    c.dir.Write("concert/Live.m3u", "first");
    c.dir.Write("concert/Live_1.m3u", "second");
    c.dir.Write("Rock/a.mp3", "a");
    c.manager.entries.AddTail(FolderEntry("Live", folder, {"a.mp3", "b c.ogg"}));
    c.manager.entries.AddTail(TestEntry("x", "/lists", "x.pls"));
    c.manager.entries.AddTail(FolderEntry("Gone", c.dir.File("missing"), {"a.mp3"}));
    // A title that cannot be a file name gives way to the folder's name.
    c.manager.entries.AddTail(FolderEntry("AC/DC", c.dir.File("Rock"), {"a.mp3"}));
    c.Run(MCMD_FOLDER_TO_M3U, {2, 0}); // not a folder: nothing changes, no redraw
    c.Run(MCMD_FOLDER_TO_M3U, {1, 0});
    c.Run(MCMD_ALL_FOLDERS_TO_M3U, {}); // the rest, with one redraw at the end

    std::string names; // the entries' file names, then the number of redraws
    for (const auto& entry : c.manager.entries) {
        names += entry->fileName + " ";
    }
    EXPECT_EQ(names + std::to_string(c.frame.entryRedraws),
              "Live_2.m3u x.pls " + c.dir.File("missing") + " Rock.m3u 2");
    EXPECT_EQ(c.manager.entries.GetAt(1)->location, folder);
    EXPECT_EQ(c.manager.entries.GetAt(1)->GetType(), PLTYPE_M3U);
    EXPECT_EQ(c.dir.Read("concert/Live.m3u") + c.dir.Read("concert/Live_1.m3u"), "firstsecond");
    EXPECT_EQ(c.dir.Read("concert/Live_2.m3u"),
              "#EXTM3U\n#EXTINF:60,a.mp3 title\na.mp3\n#EXTINF:60,b c.ogg title\nb c.ogg\n");
    EXPECT_EQ(c.dir.Read("Rock/Rock.m3u"), "#EXTM3U\n#EXTINF:60,a.mp3 title\na.mp3\n");
    EXPECT_EQ(c.platform.MessageTexts().size(), 1u); // the failed write
}

TEST(WriteTags, MP3FilesGetTitleArtistAndAlbumAndKeepTheOtherFields) {
    CTestLibrary c;
    Id3v1Fields old{"Old", "Someone", "", "1999", "kept", 5, 17, 0};
    const std::string untagged = Mp3FileBytes(Mp3FileLayout());
    c.dir.Write("m/a.mp3", untagged + Id3v1TagBytes(old));
    c.dir.Write("m/b.MP3", untagged);
    c.dir.Write("m/c.ogg", "not touched");
    auto entry = FolderEntry("老歌精选", c.dir.File("m"), {"a.mp3", "b.MP3", "c.ogg", "gone.mp3"});
    entry->songs.GetAt(1)->title = "月亮河";
    entry->songs.GetAt(1)->artist = "Mancini";
    entry->songs.GetAt(2)->title = "Night";
    c.manager.entries.AddTail(TestEntry("o", "/lists", "other.m3u"));
    c.manager.entries.AddTail(entry);
    c.Run(MCMD_WRITE_TAGS, {2});

    // The tag read keeps its other fields; the file without a tag gets one of
    // its own, nothing of a.mp3's.
    const std::string album = "\xC0\xCF\xB8\xE8\xBE\xAB\xD1\xA1"; // 老歌精选
    Id3v1Fields a{"\xD4\xC2\xC1\xC1\xBA\xD3", "Mancini", album, "1999", "kept", 5, 17, 0}; // 月亮河
    Id3v1Fields b{"Night", "", album, "0", "", -1, 255, 0};
    EXPECT_EQ(c.dir.Read("m/a.mp3"), untagged + Id3v1TagBytes(a));
    EXPECT_EQ(c.dir.Read("m/b.MP3"), untagged + Id3v1TagBytes(b));
    EXPECT_EQ(c.dir.Read("m/c.ogg"), "not touched");
    // Only the missing file's open failure was shown.
    ASSERT_EQ(c.platform.messages.size(), 1u);
    EXPECT_EQ(c.platform.messages[0].caption, c.dir.File("m/gone.mp3"));
}

TEST(WriteTags, FilesThatRefuseTheWriteStayWholeAndAreReportedOnce) {
    CTestLibrary c;
    const std::string untagged = Mp3FileBytes(Mp3FileLayout());
    for (const std::string name : {"a.mp3", "b.mp3", "w.mp3"}) {
        c.dir.Write("m/" + name, untagged);
    }
    // a.mp3 and b.mp3 are read-only; the unprivileged user can reach them.
    for (const auto& [name, mode] : {std::pair<std::string, mode_t>{"", 0755},
                                     {"m", 0755},
                                     {"m/a.mp3", 0444},
                                     {"m/b.mp3", 0444},
                                     {"m/w.mp3", 0666}}) {
        ASSERT_EQ(chmod(c.dir.File(name).c_str(), mode), 0) << name;
    }
    const std::string first = "无法将资料写入音乐文件\"" + c.dir.File("m/a.mp3") + "\"";
    const struct {
        Lines names;
        std::string message;
    } rows[] = {
        {{"a.mp3", "w.mp3"}, first + "：Permission denied。文件保持原样。"},
        {{"w.mp3", "a.mp3", "b.mp3"},
         first + "及其他 1 个文件：Permission denied。这些文件保持原样。"},
    };
    for (const auto& row : rows) {
        c.manager.entries.AddTail(FolderEntry("Album", c.dir.File("m"), row.names));
        c.dir.Write("m/w.mp3", untagged); // each row's write must tag it afresh
        c.platform.messages.clear();
        {
            CScopedUnprivilegedFiles unprivileged;
            c.Run(MCMD_WRITE_TAGS, {c.manager.entries.GetCount()});
        }
        EXPECT_EQ(c.platform.MessageTexts(), Lines{row.message}) << row.message;
        EXPECT_EQ(c.dir.Read("m/a.mp3") + c.dir.Read("m/b.mp3"), untagged + untagged);
        EXPECT_NE(c.dir.Read("m/w.mp3"), untagged); // the writable file still got its tag
    }
}
