#include "core/PlayLauncher.h"

#include "core/ArtistIndex.h"
#include "core/MusicManager.h"
#include "core/RandomPlay.h"
#include "platform/FileSystem.h"
#include "support/RecordingPlatform.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// "program argument" for each program started.
std::vector<std::string> Started(const CRecordingPlatform& platform) {
    std::vector<std::string> started;
    for (const auto& start : platform.startedPrograms) {
        started.push_back(start.program + " " + start.argument);
    }
    return started;
}

CMusicCommand Command(int code, std::vector<int> ints, std::vector<std::string> strings = {}) {
    CMusicCommand command(code, static_cast<int>(ints.size()), 4);
    for (std::size_t i = 0; i < ints.size(); ++i) {
        command.SetInt(ints[i], static_cast<int>(i));
    }
    for (std::size_t i = 0; i < strings.size(); ++i) {
        command.SetString(strings[i], static_cast<int>(i));
    }
    return command;
}

// A library of entries whose songs are named after their entry ("e2s3" is
// the third song of entry 2), each song also in the flat list.
struct CLibraryFixture {
    CTempDir dir;
    CScopedRecordingPlatform recording;
    CRecordingPlatform& platform = recording.platform;
    CMusicManager manager{nullptr};

    explicit CLibraryFixture(std::vector<int> songCounts, std::vector<std::string> artists = {}) {
        manager.config.WorkDirectory = dir.Path();
        manager.config.IsUseDefaultPlayer = 0;
        manager.config.PlayerPath = "/usr/bin/player";
        for (std::size_t e = 0; e < songCounts.size(); ++e) {
            auto entry = std::make_shared<CPlayListItem>();
            entry->title = "e" + std::to_string(e + 1);
            entry->artist = e < artists.size() ? artists[e] : "";
            entry->fileName = entry->title + ".m3u";
            entry->location = "/lists";
            for (int s = 1; s <= songCounts[e]; ++s) {
                auto song = std::make_shared<CSongItem>();
                song->title = entry->title + "s" + std::to_string(s);
                song->fileName = song->title + ".mp3";
                song->location = "/m";
                song->time = s;
                entry->songs.AddTail(song);
                manager.songs.AddTail(song);
            }
            entry->Renumber();
            entry->UpdateTotals();
            manager.entries.AddTail(entry);
        }
        RebuildArtistIndex(manager.entries, manager.artists);
    }

    std::string CachePath() const { return dir.File("Cache.m3u"); }

    // The titles of the songs in Cache.m3u, in file order.
    std::vector<std::string> CacheTitles() const {
        std::vector<std::string> lines;
        std::vector<std::string> titles;
        if (!ReadTextLines(CachePath(), lines)) {
            return titles;
        }
        for (const auto& line : lines) {
            if (line.compare(0, 8, "#EXTINF:") == 0) {
                titles.push_back(line.substr(line.find(',') + 1));
            }
        }
        return titles;
    }

    std::vector<std::string> EntryTitles(std::vector<int> positions) const {
        std::vector<std::string> titles;
        for (int position : positions) {
            for (const auto& song : manager.entries.GetAt(position)->songs) {
                titles.push_back(song->title);
            }
        }
        return titles;
    }

    std::vector<int> PlayCounts() const {
        std::vector<int> counts;
        for (const auto& entry : manager.entries) {
            counts.push_back(entry->playCount);
        }
        return counts;
    }

    void ExpectOneLaunch() const {
        EXPECT_EQ(Started(platform), (std::vector<std::string>{"/usr/bin/player " + CachePath()}));
        EXPECT_TRUE(platform.messages.empty());
    }
};

std::vector<std::string> Sorted(std::vector<std::string> titles) {
    std::sort(titles.begin(), titles.end());
    return titles;
}

} // namespace

TEST(LaunchPlayer, DefaultPlayerConfiguredPlayerAndTheLengthLimit) {
    CScopedRecordingPlatform recording;
    CRecordingPlatform& platform = recording.platform;
    CAppConfig config;
    config.IsUseDefaultPlayer = 1;
    config.PlayerPath = "/usr/bin/player";
    config.LaunchPlayer({"/w/Cache.m3u"});
    EXPECT_EQ(platform.openedPaths, (std::vector<std::string>{"/w/Cache.m3u"}));

    config.IsUseDefaultPlayer = 0;
    const std::string fits = "/" + std::string(248, 'x') + ".m3u"; // 253 bytes, 255 quoted
    const std::string tooLong = "/" + std::string(249, 'x') + ".m3u";
    config.LaunchPlayer({fits});
    config.LaunchPlayer({tooLong});
    config.LaunchPlayer({});
    EXPECT_EQ(Started(platform), (std::vector<std::string>{"/usr/bin/player " + fits}));
    EXPECT_EQ(
        platform.MessageTexts(),
        (std::vector<std::string>{"您所选的播放曲目的命令行超过最大限度，无法播放。请另选目标。"}));
    EXPECT_EQ(platform.openedPaths.size(), 1u);

    platform.messages.clear();
    platform.programStartSucceeds = false;
    platform.programStartError = "Permission denied";
    config.LaunchPlayer({fits});
    EXPECT_EQ(platform.MessageTexts(),
              (std::vector<std::string>{"无法启动播放器“/usr/bin/player”：Permission denied"}));
}

TEST(PlayEntry, WritesCacheM3uWithFullPathsThenLaunchesIt) {
    CLibraryFixture library({2});
    library.manager.config.PlayEntry(*library.manager.entries.GetAt(1));
    EXPECT_EQ(library.dir.Read("Cache.m3u"),
              "#EXTM3U\n#EXTINF:1,e1s1\n/m/e1s1.mp3\n#EXTINF:2,e1s2\n/m/e1s2.mp3\n");
    library.ExpectOneLaunch();

    // A working folder that is gone: the write is reported and nothing stale
    // is played.
    library.platform.startedPrograms.clear();
    library.manager.config.WorkDirectory = library.dir.File("gone");
    library.manager.config.PlayEntry(*library.manager.entries.GetAt(1));
    EXPECT_TRUE(library.platform.startedPrograms.empty());
    EXPECT_EQ(library.platform.messages.size(), 1u);
}

TEST(PlaySelection, EntriesInOrderCountedOnceSongsKeepTheirNumbers) {
    CLibraryFixture library({3, 1, 4});
    library.manager.Execute(Command(MCMD_PLAY_SELECTION, {1, 3}, {"playlist"}));
    EXPECT_EQ(library.CacheTitles(), library.EntryTitles({1, 3}));
    EXPECT_EQ(library.PlayCounts(), (std::vector<int>{1, 0, 1}));
    library.ExpectOneLaunch();

    library.platform.startedPrograms.clear();
    library.manager.currentRow = 3;
    library.manager.Execute(Command(MCMD_PLAY_SELECTION, {4, 2, 9}, {"songlist"}));
    EXPECT_EQ(library.CacheTitles(), (std::vector<std::string>{"e3s4", "e3s2"}));
    EXPECT_EQ(library.manager.entries.GetAt(3)->songs.GetAt(4)->order, 4);
    EXPECT_EQ(library.PlayCounts(), (std::vector<int>{1, 0, 1}));
    library.ExpectOneLaunch();
}

TEST(PlaySelection, OneSongOpensItsFileAndAMissingOneGoesToThePlayer) {
    CLibraryFixture library({2});
    library.dir.Write("song.ogg", "x");
    auto present = std::make_shared<CSongItem>();
    present->fileName = "song.ogg";
    present->location = library.dir.Path();
    library.manager.songs.AddTail(present);

    library.manager.Execute(Command(MCMD_PLAY_SELECTION, {3}, {"songlist"}));
    EXPECT_EQ(library.platform.openedPaths,
              (std::vector<std::string>{library.dir.File("song.ogg")}));
    library.manager.Execute(Command(MCMD_PLAY_SELECTION, {1}, {"songlist"}));
    EXPECT_EQ(Started(library.platform), (std::vector<std::string>{"/usr/bin/player /m/e1s1.mp3"}));
    EXPECT_EQ(library.dir.Read("Cache.m3u"), "");
}

TEST(PlayShuffled, EntriesAndSongsArePlayedWholeInSomeOrder) {
    CLibraryFixture library({3, 4, 2});
    library.manager.Execute(Command(MCMD_PLAY_ENTRIES_SHUFFLED, {1, 2}));
    EXPECT_EQ(Sorted(library.CacheTitles()), Sorted(library.EntryTitles({1, 2})));
    EXPECT_EQ(library.PlayCounts(), (std::vector<int>{1, 1, 0}));
    library.ExpectOneLaunch();

    library.platform.startedPrograms.clear();
    library.manager.Execute(Command(MCMD_PLAY_SONGS_SHUFFLED, {1, 3, 4, 2}));
    EXPECT_EQ(Sorted(library.CacheTitles()), (std::vector<std::string>{"e2s1", "e2s3", "e2s4"}));
    library.platform.startedPrograms.clear();
    library.manager.Execute(Command(MCMD_PLAY_SONGS_SHUFFLED, {9, 1, 0}));
    EXPECT_EQ(Sorted(library.CacheTitles()), (std::vector<std::string>{"e1s1", "e3s2"}));
    EXPECT_EQ(library.PlayCounts(), (std::vector<int>{1, 1, 0}));
    library.ExpectOneLaunch();
}

TEST(PlayRandom, EntriesAndSongsFollowTheDraws) {
    CLibraryFixture library({1, 2, 3, 4, 5});
    // The draws the command will make, worked out from the same seed.
    std::srand(20);
    std::vector<int> drawn;
    for (int i = 0; i < 4; ++i) {
        drawn.push_back(1 + std::rand() % 5);
    }
    std::srand(20);
    library.manager.Execute(Command(MCMD_PLAY_RANDOM_ENTRIES, {4, 0}));
    EXPECT_EQ(library.CacheTitles(), library.EntryTitles(drawn));
    std::vector<int> counts(5, 0);
    for (int position : drawn) {
        ++counts[position - 1];
    }
    EXPECT_EQ(library.PlayCounts(), counts);
    library.ExpectOneLaunch();

    library.platform.startedPrograms.clear();
    library.manager.Execute(Command(MCMD_PLAY_RANDOM_ENTRIES, {2, 1}));
    // Shuffled: the songs of exactly the two entries counted.
    std::vector<int> now = library.PlayCounts();
    std::vector<int> grownEntries;
    for (int e = 0; e < 5; ++e) {
        for (int times = counts[e]; times < now[e]; ++times) {
            grownEntries.push_back(e + 1);
        }
    }
    ASSERT_EQ(grownEntries.size(), 2u);
    EXPECT_EQ(Sorted(library.CacheTitles()), Sorted(library.EntryTitles(grownEntries)));
    library.ExpectOneLaunch();

    std::srand(7);
    std::vector<std::string> songs;
    for (int i = 0; i < 10; ++i) {
        songs.push_back(library.manager.songs.GetAt(1 + std::rand() % 15)->title);
    }
    std::srand(7);
    library.platform.startedPrograms.clear();
    library.manager.Execute(Command(MCMD_PLAY_RANDOM_SONGS, {10}));
    EXPECT_EQ(library.CacheTitles(), songs);
    library.ExpectOneLaunch();
}

TEST(PlayRandom, AnEmptySourceListPlaysNothing) {
    CLibraryFixture library({});
    library.manager.Execute(Command(MCMD_PLAY_RANDOM_ENTRIES, {1, 1}));
    library.manager.Execute(Command(MCMD_PLAY_RANDOM_SONGS, {10}));
    library.manager.Execute(Command(MCMD_PLAY_ARTIST, {1, -1}));
    EXPECT_TRUE(library.platform.startedPrograms.empty());
    EXPECT_EQ(library.dir.Read("Cache.m3u"), "");
}

TEST(PlayArtist, AllOrSomeSongsOfTheNamedOrUnnamedArtist) {
    CLibraryFixture library({2, 3, 1, 2}, {"B", "A", "", "B"});
    ASSERT_EQ(library.manager.artists.Elements(), (std::vector<std::string>{"A", "B", "<未命名>"}));
    library.manager.Execute(Command(MCMD_PLAY_ARTIST, {2, -1}));
    EXPECT_EQ(Sorted(library.CacheTitles()), Sorted(library.EntryTitles({1, 4})));
    library.ExpectOneLaunch();

    library.manager.Execute(Command(MCMD_PLAY_ARTIST, {3, -1}));
    EXPECT_EQ(library.CacheTitles(), (std::vector<std::string>{"e3s1"}));

    library.manager.Execute(Command(MCMD_PLAY_ARTIST, {1, 2}));
    std::vector<std::string> kept = library.CacheTitles();
    ASSERT_EQ(kept.size(), 2u);
    for (const auto& title : kept) {
        EXPECT_EQ(title.compare(0, 2, "e2"), 0) << title;
    }
    EXPECT_NE(kept[0], kept[1]);
    EXPECT_EQ(library.PlayCounts(), (std::vector<int>{0, 0, 0, 0}));
}

TEST(RandomPlay, DrawsStayInRangeAndShufflingKeepsEverySong) {
    std::srand(1);
    std::vector<int> values;
    FillRandom(values, 500, 1, 5);
    ASSERT_EQ(values.size(), 500u);
    EXPECT_EQ(*std::min_element(values.begin(), values.end()), 1);
    EXPECT_EQ(*std::max_element(values.begin(), values.end()), 5);
    EXPECT_EQ(RandomBetween(1, 0), 1);

    CPlayListItem set;
    for (int i = 0; i < 30; ++i) {
        auto song = std::make_shared<CSongItem>();
        song->order = i;
        set.songs.AddTail(song);
    }
    std::vector<CSongPtr> before = set.songs.Elements();
    ShuffleSongs(set.songs);
    std::vector<CSongPtr> after = set.songs.Elements();
    EXPECT_NE(after, before);
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    EXPECT_EQ(after, before);

    CSongList empty;
    ShuffleSongs(empty);
    CMusicList entries;
    EXPECT_EQ(SelectArtistSongs(nullptr, "A", -1, &set), -1);
    EXPECT_EQ(SelectArtistSongs(&entries, "A", -1, nullptr), -1);
}
