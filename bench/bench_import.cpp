// Folder import of a generated tree of 20,000 files against a plain walk of
// the same tree that stats every file and reads its first 4 KB and its last
// 128 bytes; the same for 20,000 MP3 files with ID3v2 tags, some carrying a
// 300 KB cover picture; and the import of 2,000 FLAC files against TagLib's
// own open of them. Afterwards a separate process imports 100,000 songs and
// its peak memory is reported.
#include "core/ImportThread.h"
#include "core/MusicManager.h"
#include "platform/Platform.h"
#include "platform/SilentPlatform.h"

#include <benchmark/benchmark.h>
#include <taglib/fileref.h>
#include <taglib/tag.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

void WriteWhole(const std::string& path, const std::string& bytes, off_t size) {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) {
        std::perror(path.c_str());
        std::exit(1);
    }
    bool ok = write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()) &&
              (size <= static_cast<off_t>(bytes.size()) || ftruncate(fd, size) == 0);
    close(fd);
    if (!ok) {
        std::perror(path.c_str());
        std::exit(1);
    }
}

std::string Field(const std::string& text, std::size_t width) {
    std::string padded = text.substr(0, width);
    padded.resize(width, '\0');
    return padded;
}

// Eight MPEG-1 layer III frames (128 kbit/s, 44.1 kHz), a sparse gap up to
// size, and an ID3v1 tag in the last 128 bytes.
void WriteMp3(const std::string& path, const std::string& title, const std::string& artist,
              off_t size) {
    std::string frame(417, '\0');
    frame[0] = static_cast<char>(0xFF);
    frame[1] = static_cast<char>(0xFB);
    frame[2] = static_cast<char>(0x90);
    frame[3] = static_cast<char>(0x44);
    std::string head;
    for (int i = 0; i < 8; ++i) {
        head += frame;
    }
    WriteWhole(path, head, size - 128);
    std::string tag = "TAG" + Field(title, 30) + Field(artist, 30) + Field("Album", 30) + "2001" +
                      Field("", 30) + std::string(1, static_cast<char>(17));
    int fd = open(path.c_str(), O_WRONLY | O_APPEND);
    bool ok = fd >= 0 && write(fd, tag.data(), tag.size()) == static_cast<ssize_t>(tag.size());
    if (fd >= 0) {
        close(fd);
    }
    if (!ok) {
        std::perror(path.c_str());
        std::exit(1);
    }
}

void MakeFolder(const std::string& path) {
    if (mkdir(path.c_str(), 0755) != 0 && errno != EEXIST) {
        std::perror(path.c_str());
        std::exit(1);
    }
}

// artists x albums folders of 100 files each: 70 MP3 files, 10 wma, 9 wav,
// 10 jpg covers (not imported) and one m3u playlist of ten of the songs.
// Returns the number of files.
int BuildMixedTree(const std::string& root, int artists, int albums) {
    MakeFolder(root);
    int files = 0;
    for (int a = 0; a < artists; ++a) {
        std::string artist = "Artist " + std::to_string(a);
        std::string artistFolder = root + "/" + artist;
        MakeFolder(artistFolder);
        for (int b = 0; b < albums; ++b) {
            std::string album = artistFolder + "/Album." + std::to_string(b) + ".2001";
            MakeFolder(album);
            std::string playlist = "#EXTM3U\n";
            for (int t = 0; t < 70; ++t) {
                std::string name = "Track " + std::to_string(t) + ".mp3";
                WriteMp3(album + "/" + name, "Song " + std::to_string(t), artist,
                         3 * 1024 * 1024 + t * 4096);
                if (t < 10) {
                    playlist += "#EXTINF:196,Song " + std::to_string(t) + "\n" + name + "\n";
                }
            }
            for (int t = 0; t < 10; ++t) {
                WriteWhole(album + "/Extra " + std::to_string(t) + ".wma", std::string(4096, 'w'),
                           2 * 1024 * 1024);
                WriteWhole(album + "/Cover " + std::to_string(t) + ".jpg", std::string(4096, 'j'),
                           64 * 1024);
            }
            for (int t = 0; t < 9; ++t) {
                WriteWhole(album + "/Take " + std::to_string(t) + ".wav", std::string(4096, 'v'),
                           1024 * 1024);
            }
            WriteWhole(album + "/playlist.m3u", playlist, 0);
            files += 100;
        }
    }
    return files;
}

void PutAt(int fd, const std::string& bytes, off_t offset) {
    if (pwrite(fd, bytes.data(), bytes.size(), offset) != static_cast<ssize_t>(bytes.size())) {
        std::perror("pwrite");
        std::exit(1);
    }
}

std::string BigEndian(std::uint64_t value, int bytes, int bitsPerByte = 8) {
    std::string out;
    for (int i = bytes - 1; i >= 0; --i) {
        out += static_cast<char>((value >> (i * bitsPerByte)) & ((1u << bitsPerByte) - 1));
    }
    return out;
}

std::string Utf16Frame(const char* id, const std::u16string& text) {
    std::string body = "\x01\xFF\xFE";
    for (char16_t unit : text) {
        body += static_cast<char>(unit & 0xFF);
        body += static_cast<char>(unit >> 8);
    }
    return id + BigEndian(body.size(), 4) + std::string(2, '\0') + body;
}

// An MP3 file as today's taggers write it: an ID3v2.3 tag with UTF-16 title
// and artist, optionally a cover picture of coverBytes (a sparse hole, read
// as zeros) before or after them, eight frames, and no ID3v1 tag.
void WriteId3v2Mp3(const std::string& path, const std::u16string& title,
                   const std::u16string& artist, std::size_t coverBytes, bool coverFirst,
                   off_t size) {
    std::string texts = Utf16Frame("TIT2", title) + Utf16Frame("TPE1", artist);
    std::string coverHeader = "APIC" + BigEndian(coverBytes, 4) + std::string(2, '\0');
    std::size_t padding = 1024;
    std::size_t cover = coverBytes > 0 ? coverHeader.size() + coverBytes : 0;
    std::size_t body = texts.size() + cover + padding;
    std::string header = std::string("ID3\x03\0\0", 6) + BigEndian(body, 4, 7);
    std::string frame(417, '\0');
    frame.replace(0, 4, "\xFF\xFB\x90\x44");
    std::string audio;
    for (int i = 0; i < 8; ++i) {
        audio += frame;
    }
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) {
        std::perror(path.c_str());
        std::exit(1);
    }
    off_t at = 0;
    PutAt(fd, header, at);
    at += static_cast<off_t>(header.size());
    if (cover > 0 && coverFirst) {
        PutAt(fd, coverHeader, at);
        at += static_cast<off_t>(cover);
    }
    PutAt(fd, texts, at);
    at += static_cast<off_t>(texts.size());
    if (cover > 0 && !coverFirst) {
        PutAt(fd, coverHeader, at);
        at += static_cast<off_t>(cover);
    }
    at += static_cast<off_t>(padding);
    PutAt(fd, audio, at);
    if (ftruncate(fd, std::max<off_t>(size, at + static_cast<off_t>(audio.size()))) != 0) {
        std::perror(path.c_str());
        std::exit(1);
    }
    close(fd);
}

// artists x albums folders of 100 MP3 files with ID3v2 tags; every tenth
// file carries a 300 KB cover, half of them before the texts. Returns the
// number of files.
int BuildId3v2Tree(const std::string& root, int artists, int albums) {
    MakeFolder(root);
    int files = 0;
    for (int a = 0; a < artists; ++a) {
        std::string artistFolder = root + "/歌手 " + std::to_string(a);
        MakeFolder(artistFolder);
        std::u16string artist = u"歌手 " + std::u16string(1, static_cast<char16_t>(u'甲' + a));
        for (int b = 0; b < albums; ++b) {
            std::string album = artistFolder + "/专辑 " + std::to_string(b);
            MakeFolder(album);
            for (int t = 0; t < 100; ++t, ++files) {
                std::u16string title =
                    u"第" + std::u16string(1, static_cast<char16_t>(u'一' + t)) + u"首歌";
                std::size_t cover = t % 10 == 0 ? 300 * 1024 : 0;
                WriteId3v2Mp3(album + "/" + std::to_string(t) + ".mp3", title, artist, cover,
                              t % 20 == 0, 3 * 1024 * 1024 + t * 4096);
            }
        }
    }
    return files;
}

// A FLAC file with a stream-info block (44.1 kHz stereo, 16 bit, the given
// seconds) and a Vorbis comment with title and artist, then some frame bytes.
void WriteFlac(const std::string& path, const std::string& title, const std::string& artist,
               int seconds) {
    auto littleEndian = [](std::uint32_t value) {
        std::string out;
        for (int i = 0; i < 4; ++i) {
            out += static_cast<char>((value >> (8 * i)) & 0xFF);
        }
        return out;
    };
    std::uint64_t samples = 44100ULL * static_cast<std::uint64_t>(seconds);
    std::string info = BigEndian(4096, 2) + BigEndian(4096, 2) + BigEndian(0, 3) + BigEndian(0, 3);
    // 20 bits sample rate, 3 bits channels - 1, 5 bits bits per sample - 1,
    // 36 bits total samples.
    std::uint64_t packed = (44100ULL << 44) | (1ULL << 41) | (15ULL << 36) | samples;
    info += BigEndian(packed, 8) + std::string(16, '\0');
    std::string vendor = "bench";
    std::string comment =
        littleEndian(static_cast<std::uint32_t>(vendor.size())) + vendor + littleEndian(2);
    for (const std::string& field : {"TITLE=" + title, "ARTIST=" + artist}) {
        comment += littleEndian(static_cast<std::uint32_t>(field.size())) + field;
    }
    std::string bytes = "fLaC";
    bytes += std::string(1, '\0') + BigEndian(info.size(), 3) + info;
    bytes += std::string(1, '\x84') + BigEndian(comment.size(), 3) + comment;
    bytes += "\xFF\xF8\x69\x18" + std::string(8192, '\0');
    WriteWhole(path, bytes, 0);
}

int BuildFlacTree(const std::string& root, int folders) {
    MakeFolder(root);
    int files = 0;
    for (int f = 0; f < folders; ++f) {
        std::string folder = root + "/专辑 " + std::to_string(f);
        MakeFolder(folder);
        for (int t = 0; t < 100; ++t, ++files) {
            WriteFlac(folder + "/" + std::to_string(t) + ".flac", "歌 " + std::to_string(t),
                      "歌手 " + std::to_string(f), 180 + t);
        }
    }
    return files;
}

// What TagLib's own reader does with every FLAC file of the tree.
long TagLibOpenAll(const std::string& folder) {
    long seconds = 0;
    DIR* listing = opendir(folder.c_str());
    if (listing == nullptr) {
        return 0;
    }
    while (const dirent* item = readdir(listing)) {
        if (item->d_name[0] == '.') {
            continue;
        }
        std::string path = folder + "/" + item->d_name;
        if (item->d_type == DT_DIR) {
            seconds += TagLibOpenAll(path);
            continue;
        }
        TagLib::FileRef file(path.c_str(), true, TagLib::AudioProperties::Average);
        if (!file.isNull() && file.audioProperties() != nullptr) {
            seconds += file.audioProperties()->lengthInSeconds();
            seconds += static_cast<long>(file.tag()->title().size() + file.tag()->artist().size());
        }
    }
    closedir(listing);
    return seconds;
}

void RemoveTree(const std::string& root) {
    std::string command = "rm -rf '" + root + "'";
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "could not remove %s\n", root.c_str());
    }
}

// The baseline: what any walk that looks into every file costs.
long BaselineWalk(const std::string& folder) {
    long bytes = 0;
    DIR* listing = opendir(folder.c_str());
    if (listing == nullptr) {
        return 0;
    }
    while (const dirent* item = readdir(listing)) {
        if (item->d_name[0] == '.') {
            continue;
        }
        std::string path = folder + "/" + item->d_name;
        if (item->d_type == DT_DIR) {
            bytes += BaselineWalk(path);
            continue;
        }
        struct stat info {};
        if (stat(path.c_str(), &info) != 0) {
            continue;
        }
        int fd = open(path.c_str(), O_RDONLY);
        if (fd < 0) {
            continue;
        }
        char head[4096];
        char tail[128];
        bytes += read(fd, head, sizeof head);
        if (info.st_size >= 128) {
            bytes += pread(fd, tail, sizeof tail, info.st_size - 128);
        }
        close(fd);
    }
    closedir(listing);
    return bytes;
}

void ConfigureImport(CAppConfig& config) {
    config.IsImportDir = 1;
    config.fileTypes = {{"mp3", 1}, {"mpga", 1}, {"rm", 1},  {"ra", 1},  {"ram", 1},
                        {"mid", 1}, {"midi", 1}, {"wav", 1}, {"wma", 1}, {"voc", 1}};
}

int ImportTree(const std::string& root, int& entries) {
    CNullFrame frame;
    CMusicManager manager(&frame);
    ConfigureImport(manager.config);
    manager.config.fileTypes.push_back({"flac", 1});
    manager.importThread = std::make_unique<CImportThread>(&manager, root);
    manager.importThread->Start();
    manager.importThread->Join();
    entries = manager.entries.GetCount();
    return manager.songs.GetCount();
}

std::string g_mixedTree;
int g_mixedFiles = 0;

void BM_BaselineWalk(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(BaselineWalk(g_mixedTree));
    }
    state.counters["files"] = g_mixedFiles;
}

void BM_ImportFolder(benchmark::State& state) {
    int songs = 0;
    int entries = 0;
    for (auto _ : state) {
        songs = ImportTree(g_mixedTree, entries);
    }
    state.counters["songs"] = songs;
    state.counters["entries"] = entries;
}

std::string g_id3v2Tree;
int g_id3v2Files = 0;
std::string g_flacTree;
int g_flacFiles = 0;

void BM_BaselineWalkId3v2(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(BaselineWalk(g_id3v2Tree));
    }
    state.counters["files"] = g_id3v2Files;
}

void BM_ImportId3v2(benchmark::State& state) {
    int songs = 0;
    int entries = 0;
    for (auto _ : state) {
        songs = ImportTree(g_id3v2Tree, entries);
    }
    state.counters["songs"] = songs;
}

void BM_TagLibOpenFlac(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(TagLibOpenAll(g_flacTree));
    }
    state.counters["files"] = g_flacFiles;
}

void BM_ImportFlac(benchmark::State& state) {
    int songs = 0;
    int entries = 0;
    for (auto _ : state) {
        songs = ImportTree(g_flacTree, entries);
    }
    state.counters["songs"] = songs;
}

BENCHMARK(BM_BaselineWalk)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_ImportFolder)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_BaselineWalkId3v2)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_ImportId3v2)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_TagLibOpenFlac)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_ImportFlac)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

// Keeps each run's time per iteration for the ratio printed at the end.
class CRatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> seconds;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.iterations > 0) {
                seconds[run.benchmark_name()] =
                    run.real_accumulated_time / static_cast<double>(run.iterations);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    double SecondsOf(const std::string& name) const {
        for (const auto& [runName, time] : seconds) {
            if (runName.compare(0, name.size(), name) == 0) {
                return time;
            }
        }
        return 0;
    }
};

// Peak resident memory (KiB) of a child process that runs work.
template <typename Work> long ChildPeakMemory(Work work) {
    pid_t child = fork();
    if (child == 0) {
        work();
        _exit(0);
    }
    int status = 0;
    struct rusage usage {};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status)) {
        return -1;
    }
    return usage.ru_maxrss;
}

void ReportLibraryMemory(const std::string& base) {
    // Real MP3 files hard-linked under 100,000 names (one file per 100
    // folders, under the file system's link limit): every name is a song of
    // its own to the import, without writing 100,000 files.
    std::string root = base + "/library";
    MakeFolder(root);
    std::string original;
    const int folders = 1000;
    for (int f = 0; f < folders; ++f) {
        if (f % 100 == 0) {
            original = base + "/original" + std::to_string(f) + ".mp3";
            WriteMp3(original, "Song", "Artist " + std::to_string(f), 512 * 1024);
        }
        std::string album = root + "/Album " + std::to_string(f);
        MakeFolder(album);
        for (int t = 0; t < 100; ++t) {
            std::string name = album + "/Track " + std::to_string(t) + ".mp3";
            if (link(original.c_str(), name.c_str()) != 0) {
                std::perror(name.c_str());
                std::exit(1);
            }
        }
    }
    long idle = ChildPeakMemory([] {
        CNullFrame frame;
        CMusicManager manager(&frame);
        benchmark::DoNotOptimize(&manager);
    });
    long importing = ChildPeakMemory([&root] {
        int entries = 0;
        int songs = ImportTree(root, entries);
        if (songs != 100000) {
            std::fprintf(stderr, "imported %d songs instead of 100000\n", songs);
            _exit(1);
        }
    });
    std::printf("Peak memory, import of 100,000 songs in 1,000 folders: %.1f MiB "
                "(a process that imports nothing: %.1f MiB; difference %.1f MiB)\n",
                importing / 1024.0, idle / 1024.0, (importing - idle) / 1024.0);
}

} // namespace

int main(int argc, char** argv) {
    CSilentPlatform silent;
    SetPlatform(&silent);
    char pattern[] = "/tmp/cricklet-bench-import-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    std::string base = pattern;
    g_mixedTree = base + "/music";
    g_mixedFiles = BuildMixedTree(g_mixedTree, 20, 10);
    g_id3v2Tree = base + "/id3v2";
    g_id3v2Files = BuildId3v2Tree(g_id3v2Tree, 20, 10);
    g_flacTree = base + "/flac";
    g_flacFiles = BuildFlacTree(g_flacTree, 20);

    benchmark::Initialize(&argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    double baseline = reporter.SecondsOf("BM_BaselineWalk");
    double import = reporter.SecondsOf("BM_ImportFolder");
    if (baseline > 0 && import > 0) {
        std::printf("Import of %d files / baseline walk: %.2fx (goal: at most 2x)\n", g_mixedFiles,
                    import / baseline);
    }
    double id3v2Baseline = reporter.SecondsOf("BM_BaselineWalkId3v2");
    double id3v2Import = reporter.SecondsOf("BM_ImportId3v2");
    if (id3v2Baseline > 0 && id3v2Import > 0) {
        std::printf("Import of %d ID3v2-tagged MP3 files / baseline walk: %.2fx (goal: at most "
                    "1.5x)\n",
                    g_id3v2Files, id3v2Import / id3v2Baseline);
    }
    double tagLibOpen = reporter.SecondsOf("BM_TagLibOpenFlac");
    double flacImport = reporter.SecondsOf("BM_ImportFlac");
    if (tagLibOpen > 0 && flacImport > 0) {
        std::printf(
            "Import of %d FLAC files: %.0f ms; TagLib's own open of them: %.0f ms (%.2fx)\n",
            g_flacFiles, flacImport * 1000, tagLibOpen * 1000, flacImport / tagLibOpen);
    }

    ReportLibraryMemory(base);
    RemoveTree(base);
    SetPlatform(nullptr);
    benchmark::Shutdown();
    return 0;
}
