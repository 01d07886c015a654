// The main window on a library of 100,000 songs, offscreen: the start-up
// until the window is shown, and a refill of the all-songs pane, each printed
// as a ratio against loading the store files alone in the same run.
#include "app/MainFrame.h"
#include "core/FrameInterface.h"
#include "core/MusicManager.h"
#include "formats/AppConfig.h"
#include "formats/ListFile.h"
#include "panes/SongListView.h"

#include <QApplication>
#include <QDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace {

const int kEntryCount = 1000;
const int kSongsPerEntry = 100;

// A working folder with PlayList.stp, MusicList.ckp and Cricklet.ini, and an
// empty file for every song (the readers mark songs whose files are gone).
class CBenchLibrary {
public:
    CBenchLibrary() {
        char pattern[] = "/tmp/cricklet-bench-XXXXXX";
        m_root = mkdtemp(pattern);
        CMusicList entries;
        for (int e = 0; e < kEntryCount; ++e) {
            auto entry = std::make_shared<CPlayListItem>();
            entry->title = "专辑 " + std::to_string(e);
            entry->artist = "艺术家 " + std::to_string(e % 300);
            entry->location = m_root + "/音乐/" + std::to_string(e);
            entry->fileName = e % 3 == 0 ? entry->location : "list.m3u";
            std::filesystem::create_directories(entry->location);
            for (int s = 0; s < kSongsPerEntry; ++s) {
                auto song = std::make_shared<CSongItem>();
                song->title = "月亮河 " + std::to_string(s);
                song->artist = entry->artist;
                song->time = 180 + s;
                song->order = s + 1;
                song->fileName = std::to_string(s) + ".mp3";
                song->fileType = "mp3";
                song->location = entry->location;
                song->size = 3000000 + s;
                std::ofstream(song->GetFullPath());
                entry->songs.AddTail(song);
            }
            entry->UpdateTotals();
            entries.AddTail(entry);
        }
        WriteMusicListFile(m_root + "/PlayList.stp", entries);
        CSongList songs;
        CollectAllSongs(songs, entries);
        WriteSongStoreFile(m_root + "/MusicList.ckp", songs);
        CAppConfig config;
        config.SetDefaults();
        config.WorkDirectory = m_root;
        config.IsExitAlert = 0;
        WriteConfigFile(m_root + "/Cricklet.ini", config);
        QDir::setCurrent(QString::fromStdString(m_root));
    }
    ~CBenchLibrary() { std::filesystem::remove_all(m_root); }

private:
    std::string m_root;
};

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
    CBenchLibrary library;
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
