// Folder import of a generated tree of 20,000 MP3 files through the real
// window (offscreen, progress dialog and panes included) against the same
// import through the headless command runner, both in the same run. Prints
// the window's time as a ratio of the runner's, and how steadily the
// progress texts changed while the window imported.
#include "app/CommandIds.h"
#include "app/FileDialogs.h"
#include "app/ImportProgressDlg.h"
#include "app/MainFrame.h"
#include "core/MusicManager.h"
#include "platform/SilentPlatform.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

const int kFolders = 200;
const int kFilesPerFolder = 100;
const int kFrames = 8;

// One MPEG-1 layer III frame header, 128 kbit/s, 44.1 kHz: 417-byte frames.
std::string Mp3Bytes() {
    std::string frame(417, '\0');
    frame[0] = '\xFF';
    frame[1] = '\xFB';
    frame[2] = '\x90';
    frame[3] = '\x44';
    std::string bytes;
    for (int i = 0; i < kFrames; ++i) {
        bytes += frame;
    }
    return bytes;
}

// The tree, written once per run and removed at exit.
const QString& MusicTree() {
    static QTemporaryDir root;
    static const QString tree = [] {
        const QString path = root.filePath("Music");
        const QByteArray bytes = QByteArray::fromStdString(Mp3Bytes());
        for (int folder = 0; folder < kFolders; ++folder) {
            const QString folderPath = path + QString("/Album %1").arg(folder, 3, 10, QChar('0'));
            QDir().mkpath(folderPath);
            for (int file = 0; file < kFilesPerFolder; ++file) {
                QFile out(folderPath + QString("/%1 Track.mp3").arg(file, 3, 10, QChar('0')));
                if (out.open(QIODevice::WriteOnly)) {
                    out.write(bytes);
                }
            }
        }
        return path;
    }();
    return tree;
}

// The command runner imports the tree into a fresh folder and saves there.
double RunnerSeconds(const QString& tree) {
    QTemporaryDir work;
    const std::string folder = work.path().toStdString();
    const std::string treePath = tree.toStdString();
    std::vector<std::string> arguments = {CRICKLET_CMD_PATH, "--dir", folder,  "1006",
                                          "--int",           "0",     "--str", treePath};
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    int status = 0;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        waitpid(child, &status, 0);
    }
    const auto end = std::chrono::steady_clock::now();
    posix_spawn_file_actions_destroy(&actions);
    return std::chrono::duration<double>(end - start).count();
}

struct CWindowImport {
    double seconds = 0;
    int songs = 0;
    int textChanges = 0;     // distinct file lines seen by the sampler
    double longestStill = 0; // longest time the file line did not change, s
};

// The window starts in a fresh folder, imports the tree and saves at exit,
// as the program does; a timer samples the progress dialog every 20 ms.
CWindowImport WindowImport(const QString& tree) {
    QTemporaryDir work;
    const QString oldFolder = QDir::currentPath();
    QDir::setCurrent(work.path());
    CSilentPlatform platform;
    CScriptedFileDialogs dialogs;
    SetPlatform(&platform);
    SetFileDialogs(&dialogs);
    dialogs.answers = {tree};

    CWindowImport result;
    QElapsedTimer clock;
    clock.start();
    {
        CMainFrame frame;
        frame.show();
        QString lastText;
        qint64 lastChange = 0;
        QTimer sampler;
        QObject::connect(&sampler, &QTimer::timeout, [&] {
            if (frame.m_pImportDlg == nullptr) {
                return;
            }
            const QString text = frame.m_pImportDlg->FileNameText();
            const qint64 now = clock.elapsed();
            if (text != lastText) {
                ++result.textChanges;
                lastText = text;
                lastChange = now;
            }
            result.longestStill = std::max(result.longestStill, (now - lastChange) / 1000.0);
        });
        sampler.start(20);
        frame.RunCommand(ID_IMPORT_FOLDER);
        sampler.stop();
        frame.m_pManager->importThread->Join();
        QCoreApplication::processEvents();
        result.songs = frame.m_pManager->songs.GetCount();
        frame.m_pManager->Save();
    }
    result.seconds = clock.elapsed() / 1000.0;

    SetFileDialogs(nullptr);
    SetPlatform(nullptr);
    QDir::setCurrent(oldFolder);
    return result;
}

double g_runnerTotal = 0;
double g_windowTotal = 0;

void BM_GuiImportAgainstCommandRunner(benchmark::State& state) {
    const QString& tree = MusicTree();
    for (auto _ : state) {
        const double runner = RunnerSeconds(tree);
        const CWindowImport window = WindowImport(tree);
        state.SetIterationTime(window.seconds);
        g_runnerTotal += runner;
        g_windowTotal += window.seconds;
        state.counters["runner_s"] = runner;
        state.counters["ratio"] = window.seconds / runner;
        state.counters["songs"] = window.songs;
        state.counters["text_changes"] = window.textChanges;
        state.counters["longest_still_s"] = window.longestStill;
        if (window.songs != kFolders * kFilesPerFolder) {
            state.SkipWithError("the window did not import every file");
            break;
        }
    }
}

BENCHMARK(BM_GuiImportAgainstCommandRunner)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (g_runnerTotal > 0) {
        std::printf("window import / cricklet-cmd import: %.2fx (goal: at most 2x)\n",
                    g_windowTotal / g_runnerTotal);
    }
    return 0;
}
