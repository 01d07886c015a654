// The main window on a library of 100,000 songs, offscreen: the start-up
// until the window is shown, and a refill of the all-songs pane, each printed
// as a ratio against loading the store files alone in the same run.
#include "app/MainFrame.h"
#include "bench/gui/BenchLibrary.h"
#include "core/FrameInterface.h"
#include "core/MusicManager.h"
#include "panes/SongListView.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace {

const int kEntryCount = 1000;
const int kSongsPerEntry = 100;

void BM_LoadStoreFiles(benchmark::State& state) {
    for (auto _ : state) {
        CNullFrame frame;
        CMusicManager manager(&frame);
        manager.Start();
        benchmark::DoNotOptimize(manager.songs.GetCount());
    }
}

void BM_StartUpUntilShown(benchmark::State& state) {
    for (auto _ : state) {
        CMainFrame frame;
        frame.resize(1000, 700);
        frame.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(frame.GetSongPane()->GetItemCount());
        state.PauseTiming();
        frame.hide();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

void BM_RefillAllSongsPane(benchmark::State& state) {
    CMainFrame frame;
    frame.resize(1000, 700);
    frame.show();
    QApplication::processEvents();
    CSongListView* pane = frame.GetSongPane();
    for (auto _ : state) {
        pane->Refill(1);
        QApplication::processEvents();
        auto start = std::chrono::steady_clock::now();
        pane->Refill(0);
        pane->viewport()->repaint();
        QApplication::processEvents();
        auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start);
        state.SetIterationTime(seconds.count());
    }
    state.SetLabel(std::to_string(pane->GetItemCount()) + " rows");
}

class CRatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> seconds;

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& run : runs) {
            if (run.run_type == Run::RT_Iteration) {
                seconds[run.run_name.function_name] = run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

BENCHMARK(BM_LoadStoreFiles)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_StartUpUntilShown)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_RefillAllSongsPane)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(1.0);

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    CBenchLibrary library(kEntryCount, kSongsPerEntry);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    double load = reporter.seconds["BM_LoadStoreFiles"];
    if (load > 0) {
        std::printf("\nWith %d songs, as a multiple of loading the store files alone:\n",
                    kEntryCount * kSongsPerEntry);
        for (const char* name : {"BM_StartUpUntilShown", "BM_RefillAllSongsPane"}) {
            std::printf("  %-24s %6.2f x\n", name, reporter.seconds[name] / load);
        }
    }
    benchmark::Shutdown();
    return 0;
}
