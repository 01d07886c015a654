// How fast Mp3Info reads the playing time of 1,000 MP3 files, against
// mutagen (Python) and TagLib reading the same files in the same run.
// The files are lame-encoded once into a temporary folder: CBR, VBR with a
// Xing header, MPEG-2, each also behind an ID3v2 tag with a 100 KB cover.

#include "audio/Mp3Info.h"

#include <benchmark/benchmark.h>

#ifdef CRICKLET_HAVE_TAGLIB
#include <taglib/mpegfile.h>
#endif

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const int kFileCount = 1000;
const int kSeconds = 3;
const std::size_t kCoverBytes = 100 * 1024;

std::string g_folder;
std::vector<std::string> g_files;

void PutLittleEndian(std::string& out, unsigned long value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

void PutBigEndian(std::string& out, unsigned long value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out += static_cast<char>((value >> shift) & 0xFF);
    }
}

// A stereo tone that wanders in pitch, with noise, so VBR frames vary.
std::string WaveBytes(int rate) {
    std::string samples;
    unsigned long noise = 12345;
    double phase = 0;
    for (int i = 0; i < rate * kSeconds; ++i) {
        phase += 2 * M_PI * (220 + 200 * std::sin(i * 6.3 / rate)) / rate;
        noise = noise * 1103515245UL + 12345UL;
        long sample =
            std::lround(8000 * std::sin(phase)) + static_cast<long>((noise >> 16) % 3000) - 1500;
        PutLittleEndian(samples, static_cast<unsigned long>(sample) & 0xFFFF, 2);
        PutLittleEndian(samples, static_cast<unsigned long>(sample) & 0xFFFF, 2);
    }
    std::string wave = "RIFF";
    PutLittleEndian(wave, 36 + samples.size(), 4);
    wave += "WAVEfmt ";
    PutLittleEndian(wave, 16, 4);
    PutLittleEndian(wave, 1, 2);
    PutLittleEndian(wave, 2, 2);
    PutLittleEndian(wave, static_cast<unsigned long>(rate), 4);
    PutLittleEndian(wave, static_cast<unsigned long>(rate) * 4, 4);
    PutLittleEndian(wave, 4, 2);
    PutLittleEndian(wave, 16, 2);
    wave += "data";
    PutLittleEndian(wave, samples.size(), 4);
    return wave + samples;
}

// An ID3v2.3 tag holding one APIC frame with a cover of kCoverBytes.
std::string CoverTag() {
    std::string body("\0image/jpeg\0\x03\0", 14);
    body += std::string(kCoverBytes, '\x5A');
    std::string frame = "APIC";
    PutBigEndian(frame, body.size());
    frame += std::string(2, '\0') + body;
    std::string tag("ID3\x03\0\0", 6);
    for (int shift = 21; shift >= 0; shift -= 7) {
        tag += static_cast<char>((frame.size() >> shift) & 0x7F);
    }
    return tag + frame;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool Encode(const std::string& wave, const std::string& options, const std::string& mp3) {
    std::string command =
        "lame --silent --noreplaygain " + options + " '" + wave + "' '" + mp3 + "'";
    return std::system(command.c_str()) == 0;
}

bool MakeFiles() {
    char pattern[] = "/tmp/cricklet-bench-mp3-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        return false;
    }
    g_folder = pattern;
    WriteAll(g_folder + "/44k.wav", WaveBytes(44100));
    WriteAll(g_folder + "/22k.wav", WaveBytes(22050));
    const std::vector<std::pair<std::string, std::string>> encodings = {
        {"-b 128", "44k"}, {"-V 2", "44k"}, {"-b 64", "22k"}, {"-V 4", "22k"}};
    std::vector<std::string> sources;
    std::string cover = CoverTag();
    for (std::size_t i = 0; i < encodings.size(); ++i) {
        std::string mp3 = g_folder + "/source" + std::to_string(i) + ".mp3";
        if (!Encode(g_folder + "/" + encodings[i].second + ".wav", encodings[i].first, mp3)) {
            return false;
        }
        std::string bytes = ReadAll(mp3);
        sources.push_back(bytes);
        sources.push_back(cover + bytes);
    }
    for (int i = 0; i < kFileCount; ++i) {
        std::string path = g_folder + "/song" + std::to_string(i) + ".mp3";
        WriteAll(path, sources[static_cast<std::size_t>(i) % sources.size()]);
        g_files.push_back(path);
    }
    return true;
}

void BM_Mp3InfoOpen(benchmark::State& state) {
    for (auto _ : state) {
        long long seconds = 0;
        for (const std::string& path : g_files) {
            Mp3Info info;
            info.Open(path);
            seconds += info.LengthSeconds();
        }
        benchmark::DoNotOptimize(seconds);
    }
}

#ifdef CRICKLET_HAVE_TAGLIB
void BM_TagLibAudioProperties(benchmark::State& state) {
    for (auto _ : state) {
        long long seconds = 0;
        for (const std::string& path : g_files) {
            TagLib::MPEG::File file(path.c_str(), true, TagLib::AudioProperties::Average);
            if (file.audioProperties() != nullptr) {
                seconds += file.audioProperties()->lengthInSeconds();
            }
        }
        benchmark::DoNotOptimize(seconds);
    }
}
#endif

// mutagen times its own loop over the files, without Python's start-up.
void BM_Mutagen(benchmark::State& state) {
    std::string list = g_folder + "/files.txt";
    {
        std::ofstream out(list);
        for (const std::string& path : g_files) {
            out << path << "\n";
        }
    }
    std::string command = "/usr/bin/python3 -c 'import sys, time\n"
                          "from mutagen.mp3 import MP3\n"
                          "paths = open(sys.argv[1]).read().split()\n"
                          "start = time.perf_counter()\n"
                          "total = sum(MP3(p).info.length for p in paths)\n"
                          "print(time.perf_counter() - start)' '" +
                          list + "'";
    for (auto _ : state) {
        FILE* pipe = popen(command.c_str(), "r");
        double seconds = -1;
        if (pipe == nullptr || std::fscanf(pipe, "%lf", &seconds) != 1) {
            seconds = -1;
        }
        if (pipe != nullptr) {
            pclose(pipe);
        }
        if (seconds <= 0) {
            state.SkipWithError("mutagen did not run");
            break;
        }
        state.SetIterationTime(seconds);
    }
}

// Keeps each benchmark's real time per iteration for the ratios.
class CRatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> times;

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (!run.error_occurred && run.run_type == Run::RT_Iteration) {
                times[run.benchmark_name()] = run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

double Find(const std::map<std::string, double>& times, const std::string& prefix) {
    for (const auto& item : times) {
        if (item.first.rfind(prefix, 0) == 0) {
            return item.second;
        }
    }
    return 0;
}

} // namespace

BENCHMARK(BM_Mp3InfoOpen)->Unit(benchmark::kMillisecond);
#ifdef CRICKLET_HAVE_TAGLIB
BENCHMARK(BM_TagLibAudioProperties)->Unit(benchmark::kMillisecond);
#endif
BENCHMARK(BM_Mutagen)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (!MakeFiles()) {
        std::fprintf(stderr, "could not make the MP3 files (is lame installed?)\n");
        fs::remove_all(g_folder);
        return 1;
    }
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    fs::remove_all(g_folder);

    double ours = Find(reporter.times, "BM_Mp3InfoOpen");
    double mutagen = Find(reporter.times, "BM_Mutagen");
    double taglib = Find(reporter.times, "BM_TagLibAudioProperties");
    std::printf("\n%d files, one pass each:\n", kFileCount);
    if (ours > 0 && mutagen > 0) {
        std::printf("Mp3Info is %.1fx as fast as mutagen (goal: at least 10x)\n", mutagen / ours);
    }
    if (ours > 0 && taglib > 0) {
        std::printf("Mp3Info is %.1fx as fast as TagLib (goal: more than 1x)\n", taglib / ours);
    }
    return 0;
}
