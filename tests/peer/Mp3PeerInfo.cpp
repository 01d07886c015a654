// A small command for the peer tests: prints what Mp3Info and the song
// reader make of music files, or writes an ID3v1 tag into one, so a script
// can hold the results against other programs' view of the same files.
//
//   mp3-peer-info info FILE...
//       one line per file: "info", path, seconds, kbit/s, frames, Xing flag,
//       tag flag, ID3v2 size, sample rate, version bits, mono flag, title,
//       artist, album, year, track, genre name; separated by tabs
//   mp3-peer-info song FILE...
//       one line per file as folder import fills a song: "song", path,
//       title, artist, seconds; by tabs
//   mp3-peer-info write FILE TITLE ARTIST ALBUM YEAR COMMENT TRACK GENRE
//       "n/a" keeps a field; prints "write" and the result code

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
    std::printf("info\t%s\t%d\t%d\t%d\t%d\t%d\t%lld\t%d\t%d\t%d\t%s\t%s\t%s\t%d\t%d\t%s\n",
                path.c_str(), info.LengthSeconds(), info.Bitrate(), info.FrameCount(),
                info.isVbr ? 1 : 0, info.hasTag ? 1 : 0, static_cast<long long>(info.id3v2Size),
                info.header.SampleRate(), info.header.Version(), info.header.IsMono() ? 1 : 0,
                info.GetTitle().c_str(), info.GetArtist().c_str(), info.GetAlbum().c_str(),
                info.tag.GetYear(), info.tag.GetTrack(), info.GetGenre().c_str());
    return true;
}

bool PrintSong(const std::string& path) {
    CSongItem song;
    if (!ReadSongFile(path, &song)) {
        return false;
    }
    std::printf("song\t%s\t%s\t%s\t%d\n", path.c_str(), song.title.c_str(), song.artist.c_str(),
                song.time);
    return true;
}

int WriteTag(char** fields) {
    Mp3Info info;
    if (info.Open(fields[0]) != MP3_OK) {
        return 1;
    }
    Mp3Result result =
        info.WriteTag(fields[1], fields[2], fields[3], fields[4], fields[5], fields[6], fields[7]);
    std::printf("write\t%d\n", static_cast<int>(result));
    return result == MP3_OK ? 0 : 1;
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
    } else if (command == "write" && argc == 10) {
        result = WriteTag(argv + 2);
    } else {
        std::fprintf(stderr, "usage: mp3-peer-info info|song FILE... | write FILE TITLE ARTIST "
                             "ALBUM YEAR COMMENT TRACK GENRE\n");
    }
    SetPlatform(nullptr);
    return result;
}
