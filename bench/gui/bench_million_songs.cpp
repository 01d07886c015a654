// The main window on a library of 1,000,000 songs in 10,000 entries,
// offscreen: start-up until the window shows, a refill of the all-songs
// pane, a sort by title through the header, and peak memory. Each phase runs
// in a process of its own, so its peak memory is its own; each figure is
// printed beside its baseline from the same run.
#include "app/MainFrame.h"
#include "bench/gui/BenchLibrary.h"
#include "core/FrameInterface.h"
#include "core/MusicManager.h"
#include "panes/SongListView.h"

#include <QApplication>
#include <QHeaderView>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <vector>

namespace {

const int kEntryCount = 10000;
const int kSongsPerEntry = 100;
const int kRepeats = 3;

struct CPhase {
    double seconds[4] = {};
    double peakMiB = 0;
};

double SecondsOf(const std::function<void()>& work) {
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Fastest(const std::function<double()>& run) {
    double best = run();
    for (int i = 1; i < kRepeats; ++i) {
        best = std::min(best, run());
    }
    return best;
}

// Runs the phase in a child process and brings back its figures and the
// child's own peak resident memory.
CPhase RunInChild(const std::function<void(CPhase&)>& phase) {
    int channel[2];
    if (pipe(channel) != 0) {
        std::perror("pipe");
        std::exit(1);
    }
    pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        CPhase result;
        phase(result);
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        result.peakMiB = usage.ru_maxrss / 1024.0;
        ssize_t written = write(channel[1], &result, sizeof result);
        _exit(written == static_cast<ssize_t>(sizeof result) ? 0 : 1);
    }
    close(channel[1]);
    CPhase result;
    ssize_t got = read(channel[0], &result, sizeof result);
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (got != static_cast<ssize_t>(sizeof result)) {
        std::fprintf(stderr, "a benchmark phase failed (status %d)\n", status);
        std::exit(1);
    }
    return result;
}

void LoadStoreFiles(CPhase& result) {
    result.seconds[0] = SecondsOf([] {
        CNullFrame frame;
        CMusicManager manager(&frame);
        manager.Start();
    });
}

void RunWindow(CPhase& result) {
    int argc = 1;
    char name[] = "bench_million_songs";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    CMainFrame* frame = nullptr;
    result.seconds[0] = SecondsOf([&] {
        frame = new CMainFrame;
        frame->resize(1000, 700);
        frame->show();
        QApplication::processEvents();
    });
    CSongListView* pane = frame->GetSongPane();
    result.seconds[1] = Fastest([&] {
        pane->Refill(1);
        QApplication::processEvents();
        return SecondsOf([&] {
            pane->Refill(0);
            pane->viewport()->repaint();
            QApplication::processEvents();
        });
    });
    result.seconds[2] = Fastest([&] {
        return SecondsOf([&] {
            emit pane->horizontalHeader()->sectionClicked(0);
            pane->viewport()->repaint();
            QApplication::processEvents();
        });
    });
    result.seconds[3] = pane->GetItemCount();
    delete frame;
}

// std::stable_sort of as many integers as the library has songs.
double SortIntegers() {
    std::vector<int> numbers(kEntryCount * kSongsPerEntry);
    std::mt19937 random(7);
    return Fastest([&] {
        for (int& number : numbers) {
            number = static_cast<int>(random());
        }
        return SecondsOf([&] { std::stable_sort(numbers.begin(), numbers.end()); });
    });
}

} // namespace

int main() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    std::printf("Writing a library of %d songs in %d entries...\n", kEntryCount * kSongsPerEntry,
                kEntryCount);
    std::fflush(stdout);
    CBenchLibrary library(kEntryCount, kSongsPerEntry);

    CPhase load = RunInChild(LoadStoreFiles);
    CPhase window = RunInChild(RunWindow);
    double integers = SortIntegers();

    const double loadSeconds = load.seconds[0];
    std::printf("\n%d songs (%d rows in the all-songs pane):\n", kEntryCount * kSongsPerEntry,
                static_cast<int>(window.seconds[3]));
    std::printf("  load the store files alone   %7.3f s   (baseline)\n", loadSeconds);
    std::printf("  start-up until shown         %7.3f s   %5.2f x loading alone   (goal 2 x)\n",
                window.seconds[0], window.seconds[0] / loadSeconds);
    std::printf("  refill the all-songs pane    %7.3f s   %5.2f x loading alone   (goal 0.3 s)\n",
                window.seconds[1], window.seconds[1] / loadSeconds);
    std::printf("  sort by title (header)       %7.3f s   %5.1f x std::stable_sort of as many "
                "ints (%.3f s)   (goal 1 s)\n",
                window.seconds[2], window.seconds[2] / integers, integers);
    std::printf("  peak memory, window          %7.1f MiB %5.2f x loading alone (%.1f MiB)   "
                "(goal 400 MiB)\n",
                window.peakMiB, window.peakMiB / load.peakMiB, load.peakMiB);
    return 0;
}
