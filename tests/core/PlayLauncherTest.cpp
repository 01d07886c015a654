#include "core/PlayLauncher.h"

#include "core/ArtistIndex.h"
#include "formats/M3uFile.h"
#include "support/Library.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

// Entries e1 to e4 whose songs are named after them ("e2s3" is the third
// song of entry 2), every song also in the flat list; a configured player.
struct CPlayLibrary : CTestLibrary {
    CPlayLibrary() {
        manager.config.WorkDirectory = dir.Path();
        manager.config.IsUseDefaultPlayer = 0;
        manager.config.PlayerPath = "/usr/bin/player";
        const int songCounts[] = {3, 1, 4, 2};
        const char* artists[] = {"B", "", "A", "B"};
        for (int e = 1; e <= 4; ++e) {
            std::string title = "e" + std::to_string(e);
            std::vector<CSongPtr> songs;
            for (int s = 1; s <= songCounts[e - 1]; ++s) {
                songs.push_back(TestSong(title + "s" + std::to_string(s), s, "/m"));
                manager.songs.AddTail(songs.back());
            }
            manager.entries.AddTail(
                TestEntry(title, "/lists", title + ".m3u", songs, artists[e - 1]));
        }
        RebuildArtistIndex(manager.entries, manager.artists);
    }
    // The titles in Cache.m3u, in file order.
    Lines CacheTitles() const {
        CPlayListItem played;
        ReadM3UFile(dir.File("Cache.m3u"), &played);
        return TitlesOf(played.songs);
    }
    // Each entry's play count, the programs started since the last look and
    // whether a message was shown.
    std::string Look() {
        std::string text;
        for (const auto& entry : manager.entries) {
            text += std::to_string(entry->playCount) + " ";
        }
        for (const auto& start : platform.startedPrograms) {
            text += "| " + start;
        }
        platform.startedPrograms.clear();
        return text + (platform.messages.empty() ? "" : " +message");
    }
};

} // namespace

TEST(LaunchPlayer, DefaultPlayerConfiguredPlayerAndTheLengthLimit) {
    CPlayLibrary library;
    CAppConfig& config = library.manager.config;
    config.IsUseDefaultPlayer = 1;
    config.LaunchPlayer({"/w/Cache.m3u"});
    EXPECT_EQ(library.platform.openedPaths, Lines{"/w/Cache.m3u"});

    config.IsUseDefaultPlayer = 0;
    const std::string fits = "/" + std::string(248, 'x') + ".m3u"; // 253 bytes, 255 quoted
    config.LaunchPlayer({fits});
    config.LaunchPlayer({"/" + std::string(249, 'x') + ".m3u"});
    library.platform.programStartError = "Permission denied";
    config.LaunchPlayer({fits});
    // A Cache.m3u that cannot be written is reported; the stale one is not played.
    config.WorkDirectory = library.dir.File("gone");
    config.PlayEntry(*library.manager.entries.GetAt(1));
    EXPECT_EQ(library.Look(),
              "0 0 0 0 | /usr/bin/player " + fits + "| /usr/bin/player " + fits + " +message");
    EXPECT_EQ(library.platform.MessageTexts(),
              (Lines{"您所选的播放曲目的命令行超过最大限度，无法播放。请另选目标。",
                     "无法启动播放器“/usr/bin/player”：Permission denied",
                     library.dir.File("gone/Cache.m3u") + ": No such file or directory"}));
}

TEST(Play, EachCommandPlaysItsSetOnceAndCountsWholeEntriesOnly) {
    const struct {
        int code;
        std::vector<int> ints;
        const char* pane;
        int row;            // the playlist pane's row
        const char* played; // Cache.m3u's titles (sorted: "~"), then the play counts
    } cases[] = {
        {MCMD_PLAY_SELECTION, {1, 3}, "playlist", 0, "e1s1 e1s2 e1s3 e3s1 e3s2 e3s3 e3s4|1 0 1 0 "},
        {MCMD_PLAY_SELECTION, {4, 2, 9}, "songlist", 3, "e3s4 e3s2|0 0 0 0 "},
        {MCMD_PLAY_ENTRIES_SHUFFLED, {1, 2}, "", 0, "~e1s1 e1s2 e1s3 e2s1|1 1 0 0 "},
        {MCMD_PLAY_SONGS_SHUFFLED, {1, 3, 4, 3}, "", 0, "~e3s1 e3s3 e3s4|0 0 0 0 "},
        {MCMD_PLAY_ARTIST, {2, -1}, "", 0, "~e1s1 e1s2 e1s3 e4s1 e4s2|0 0 0 0 "},
        {MCMD_PLAY_ARTIST, {3, -1}, "", 0, "~e2s1|0 0 0 0 "},
    };
    for (const auto& c : cases) {
        CPlayLibrary library;
        library.manager.currentRow = c.row;
        library.Run(c.code, c.ints, {c.pane});
        Lines titles = library.CacheTitles();
        if (c.played[0] == '~') {
            std::sort(titles.begin(), titles.end());
        }
        EXPECT_EQ((c.played[0] == '~' ? "~" : "") + Joined(titles) + "|" + library.Look(),
                  c.played + ("| /usr/bin/player " + library.dir.File("Cache.m3u")))
            << c.code << " " << c.ints[0];
        EXPECT_EQ(library.manager.entries.GetAt(3)->songs.GetAt(4)->order, 4);
    }
    // One song of the song pane whose file is missing goes straight to the player.
    CPlayLibrary single;
    single.manager.currentRow = 3;
    single.Run(MCMD_PLAY_SELECTION, {2}, {"songlist"});
    EXPECT_EQ(single.Look(), "0 0 0 0 | /usr/bin/player /m/e3s2.mp3");
}

TEST(PlayRandom, SongsArePlayedInTheOrderDrawn) {
    CPlayLibrary library;
    // The draws the command will make, worked out from the same seed.
    std::srand(7);
    Lines titles;
    for (int i = 0; i < 10; ++i) {
        titles.push_back(library.manager.songs.GetAt(1 + std::rand() % 10)->title);
    }
    std::srand(7);
    library.Run(MCMD_PLAY_RANDOM_SONGS, {10});
    EXPECT_EQ(library.CacheTitles(), titles);
    library.Run(MCMD_PLAY_RANDOM_SONGS, {0});
    EXPECT_EQ(library.Look(), "0 0 0 0 | /usr/bin/player " + library.dir.File("Cache.m3u"));
}
