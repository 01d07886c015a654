// Writing and reading a library of 10,000 entries of 10 songs (100,000
// songs) as a list file and as a song store file, each against the time it
// takes merely to read the same file's bytes and split them into lines.
#include "formats/ListFile.h"
#include "platform/FileSystem.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace {

const int kEntryCount = 10000;
const int kSongsPerEntry = 10;

using Clock = std::chrono::steady_clock;

// A folder of its own with the ten music files every entry names, so the
// readers' existence test finds real files, as in a real library.
struct CBenchFolder {
    std::string path;
    CBenchFolder() {
        char pattern[] = "/tmp/cricklet-bench-XXXXXX";
        path = mkdtemp(pattern);
        std::filesystem::create_directories(path + "/音乐/流行歌曲");
        for (int song = 1; song <= kSongsPerEntry; ++song) {
            std::ofstream(MusicFolder() + "/" + SongFileName(song)) << "ID3";
        }
    }
    ~CBenchFolder() { std::filesystem::remove_all(path); }
    std::string MusicFolder() const { return path + "/音乐/流行歌曲"; }
    static std::string SongFileName(int song) { return "第" + std::to_string(song) + "首歌.mp3"; }
};

CBenchFolder& Folder() {
    static CBenchFolder folder;
    return folder;
}

const CMusicList& Library() {
    static CMusicList library = [] {
        CMusicList list;
        for (int e = 1; e <= kEntryCount; ++e) {
            auto entry = std::make_shared<CPlayListItem>();
            entry->title = "精选专辑 " + std::to_string(e);
            entry->artist = "歌手" + std::to_string(e % 500);
            entry->style = 2001 + e % 16;
            entry->playCount = e % 7;
            entry->fileName = entry->title + ".m3u";
            entry->location = Folder().MusicFolder();
            for (int s = 1; s <= kSongsPerEntry; ++s) {
                auto song = std::make_shared<CSongItem>();
                song->title = "月亮河 " + std::to_string(e) + "-" + std::to_string(s);
                song->artist = entry->artist;
                song->time = 120 + (e * s) % 300;
                song->fileName = CBenchFolder::SongFileName(s);
                song->fileType = "mp3";
                song->location = Folder().MusicFolder();
                song->size = 2960384 + e * s;
                entry->songs.AddTail(song);
            }
            entry->Renumber();
            entry->UpdateTotals();
            list.AddTail(entry);
        }
        return list;
    }();
    return library;
}

const CSongList& AllSongs() {
    static CSongList songs = [] {
        CSongList all;
        CollectAllSongs(all, Library());
        return all;
    }();
    return songs;
}

std::string ListFilePath() {
    static std::string path = [] {
        std::string file = Folder().path + "/PlayList.stp";
        WriteMusicListFile(file, Library());
        return file;
    }();
    return path;
}

std::string SongStorePath() {
    static std::string path = [] {
        std::string file = Folder().path + "/MusicList.ckp";
        WriteSongStoreFile(file, AllSongs());
        return file;
    }();
    return path;
}

// Seconds to read a file's bytes and split them into lines, the least of
// several runs: the floor that any reader of the file stands on.
double BaselineSeconds(const std::string& path) {
    static std::map<std::string, double> measured;
    auto found = measured.find(path);
    if (found != measured.end()) {
        return found->second;
    }
    double best = 1e9;
    for (int run = 0; run < 5; ++run) {
        auto start = Clock::now();
        std::string bytes;
        ReadFileBytes(path, bytes);
        auto lines = SplitLines(bytes);
        benchmark::DoNotOptimize(lines.data());
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    measured[path] = best;
    return best;
}

// Runs the operation in the benchmark loop and reports its mean time as a
// multiple of the baseline of the file it works on.
template <typename Operation>
void RunAgainstBaseline(benchmark::State& state, const std::string& path, Operation operation) {
    double baseline = BaselineSeconds(path);
    double total = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        operation();
        total += std::chrono::duration<double>(Clock::now() - start).count();
    }
    double mean = total / static_cast<double>(state.iterations());
    state.counters["baseline_ms"] = baseline * 1000;
    state.counters["x_baseline"] = mean / baseline;
}

void BM_BaselineReadAndSplitListFile(benchmark::State& state) {
    std::string path = ListFilePath();
    RunAgainstBaseline(state, path, [&] {
        std::string bytes;
        ReadFileBytes(path, bytes);
        benchmark::DoNotOptimize(SplitLines(bytes).size());
    });
}

void BM_WriteMusicListFile(benchmark::State& state) {
    std::string path = ListFilePath();
    RunAgainstBaseline(state, path, [&] { WriteMusicListFile(path, Library()); });
}

void BM_ReadMusicListFile(benchmark::State& state) {
    std::string path = ListFilePath();
    RunAgainstBaseline(state, path, [&] {
        CMusicList list;
        ReadMusicListFile(path, list);
        benchmark::DoNotOptimize(list.GetCount());
    });
}

void BM_BaselineReadAndSplitSongStore(benchmark::State& state) {
    std::string path = SongStorePath();
    RunAgainstBaseline(state, path, [&] {
        std::string bytes;
        ReadFileBytes(path, bytes);
        benchmark::DoNotOptimize(SplitLines(bytes).size());
    });
}

void BM_WriteSongStoreFile(benchmark::State& state) {
    std::string path = SongStorePath();
    RunAgainstBaseline(state, path, [&] { WriteSongStoreFile(path, AllSongs()); });
}

void BM_ReadSongStoreFile(benchmark::State& state) {
    std::string path = SongStorePath();
    RunAgainstBaseline(state, path, [&] {
        CSongList songs;
        ReadSongStoreFile(path, songs);
        benchmark::DoNotOptimize(songs.GetCount());
    });
}

} // namespace

BENCHMARK(BM_BaselineReadAndSplitListFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteMusicListFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadMusicListFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselineReadAndSplitSongStore)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteSongStoreFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadSongStoreFile)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
