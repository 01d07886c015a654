// Sorting 100,000 songs by each of the song pane's eight columns, each
// printed as a ratio against std::stable_sort of 100,000 plain integers
// measured in the same run.
#include "core/Sorting.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

const int kSongCount = 100000;

const char* const kKeyNames[] = {"",      "title",    "artist", "style",   "time",
                                 "order", "fileType", "size",   "fullPath"};

std::string RandomText(std::mt19937& random) {
    static const std::vector<std::string> syllables = {"月", "亮",   "河",   "夜",  "曲", "不",
                                                       "啊", "Love", "song", "The", " ",  "7"};
    std::string text;
    int length = 2 + static_cast<int>(random() % 6);
    for (int i = 0; i < length; ++i) {
        text += syllables[random() % syllables.size()];
    }
    return text;
}

// A library-like song list in random order: most fields repeat a lot.
const CSongList& ShuffledSongs() {
    static CSongList songs = [] {
        std::mt19937 random(42);
        std::vector<std::string> artists;
        for (int i = 0; i < 300; ++i) {
            artists.push_back(RandomText(random));
        }
        CSongList list;
        for (int i = 0; i < kSongCount; ++i) {
            auto song = std::make_shared<CSongItem>();
            song->title = RandomText(random);
            song->artist = artists[random() % artists.size()];
            song->style = 2001 + static_cast<int>(random() % 16);
            song->time = static_cast<int>(random() % 600);
            song->order = 1 + static_cast<int>(random() % 20);
            song->fileName = song->title + ".mp3";
            song->fileType = random() % 4 == 0 ? "wma" : "mp3";
            song->location = "/home/user/音乐/" + song->artist;
            song->size = static_cast<std::int64_t>(random() % 10000000);
            list.AddTail(song);
        }
        return list;
    }();
    return songs;
}

void BM_StableSortIntegers(benchmark::State& state) {
    std::mt19937 random(42);
    std::vector<int> shuffled(kSongCount);
    for (int& value : shuffled) {
        value = static_cast<int>(random() % 1000000);
    }
    std::vector<int> values;
    for (auto _ : state) {
        state.PauseTiming();
        values = shuffled;
        state.ResumeTiming();
        std::stable_sort(values.begin(), values.end());
        benchmark::DoNotOptimize(values.data());
    }
}

void BM_SortSongs(benchmark::State& state) {
    int key = static_cast<int>(state.range(0));
    CSongList songs;
    for (auto _ : state) {
        state.PauseTiming();
        songs = ShuffledSongs();
        state.ResumeTiming();
        SortSongs(songs, key, true);
        benchmark::DoNotOptimize(songs.Elements().data());
    }
    state.SetLabel(kKeyNames[key]);
}

// Keeps every run's time per iteration, so the ratios can be printed at the end.
class CRatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> seconds;
    std::map<std::string, std::string> labels;

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& run : runs) {
            if (run.run_type == Run::RT_Iteration) {
                seconds[run.benchmark_name()] = run.GetAdjustedRealTime();
                labels[run.benchmark_name()] = run.report_label;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

BENCHMARK(BM_StableSortIntegers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortSongs)->DenseRange(1, 8)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto baseline = reporter.seconds.find("BM_StableSortIntegers");
    if (baseline == reporter.seconds.end() || baseline->second <= 0) {
        return 0;
    }
    std::printf("\nSorting %d songs, as a multiple of std::stable_sort of %d integers:\n",
                kSongCount, kSongCount);
    for (int key = 1; key <= 8; ++key) {
        std::string name = "BM_SortSongs/" + std::to_string(key);
        auto found = reporter.seconds.find(name);
        if (found != reporter.seconds.end()) {
            std::printf("  key %d %-9s %8.1f x\n", key, kKeyNames[key],
                        found->second / baseline->second);
        }
    }
    benchmark::Shutdown();
    return 0;
}
