// Prints what Mp3Info and the song reader make of music files, for the peer
// scripts to hold against other programs.
//   info FILE...  "info", path, seconds, kbit/s, ID3v2 size, sample rate,
//                 version bits, mono flag; by tabs
//   song FILE...  "song", path, title, artist, seconds as import fills a song

#include "audio/Mp3Info.h"
#include "audio/SongFile.h"
#include "platform/ConsolePlatform.h"

#include <cstdio>
#include <iostream>
#include <string>

namespace {

bool PrintInfo(const std::string& path) {
    Mp3Info info;
    if (info.Open(path) != MP3_OK) {
        return false;
    }
    std::printf("info\t%s\t%d\t%d\t%lld\t%d\t%d\t%d\n", path.c_str(), info.LengthSeconds(),
                info.Bitrate(), static_cast<long long>(info.id3v2Size), info.header.SampleRate(),
                info.header.Version(), info.header.IsMono() ? 1 : 0);
    return true;
}

bool PrintSong(const std::string& path) {
    CSongItem song;
    return ReadSongFile(path, &song) &&
           std::printf("song\t%s\t%s\t%s\t%d\n", path.c_str(), song.title.c_str(),
                       song.artist.c_str(), song.time) > 0;
}

} // namespace

int main(int argc, char** argv) {
    CConsolePlatform console(std::cerr);
    SetPlatform(&console);
    std::string command = argc > 1 ? argv[1] : "";
    int result = 2;
    if ((command == "info" || command == "song") && argc > 2) {
        result = 0;
        for (int i = 2; i < argc; ++i) {
            if (!(command == "info" ? PrintInfo(argv[i]) : PrintSong(argv[i]))) {
                std::printf("error\t%s\n", argv[i]);
                result = 1;
            }
        }
    } else {
        std::fprintf(stderr, "usage: mp3-peer-info info|song FILE...\n");
    }
    SetPlatform(nullptr);
    return result;
}
