// A small command for the peer test: prints what Mp3Info reads from MP3
// files, or writes an ID3v1 tag into one, so a script can hold the results
// against other programs' view of the same files.
//
//   mp3-peer-info info FILE...
//       one line per file: "info", path, seconds, kbit/s, frames, Xing flag,
//       tag flag, ID3v2 size, sample rate, version bits, mono flag, title,
//       artist, album, year, track, genre name; separated by tabs
//   mp3-peer-info write FILE TITLE ARTIST ALBUM YEAR COMMENT TRACK GENRE
//       "n/a" keeps a field; prints "write" and the result code

#include "audio/Mp3Info.h"

#include <cstdio>
#include <string>

namespace {

int PrintInfo(const std::string& path) {
    Mp3Info info;
    Mp3Result result = info.Open(path);
    if (result != MP3_OK) {
        std::printf("error\t%s\t%d\n", path.c_str(), static_cast<int>(result));
        return 1;
    }
    std::printf("info\t%s\t%d\t%d\t%d\t%d\t%d\t%lld\t%d\t%d\t%d\t%s\t%s\t%s\t%d\t%d\t%s\n",
                path.c_str(), info.LengthSeconds(), info.Bitrate(), info.FrameCount(),
                info.isVbr ? 1 : 0, info.hasTag ? 1 : 0, static_cast<long long>(info.id3v2Size),
                info.header.SampleRate(), info.header.Version(), info.header.IsMono() ? 1 : 0,
                info.GetTitle().c_str(), info.GetArtist().c_str(), info.GetAlbum().c_str(),
                info.tag.GetYear(), info.tag.GetTrack(), info.GetGenre().c_str());
    return 0;
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
    std::string command = argc > 1 ? argv[1] : "";
    if (command == "info" && argc > 2) {
        int failures = 0;
        for (int i = 2; i < argc; ++i) {
            failures += PrintInfo(argv[i]);
        }
        return failures == 0 ? 0 : 1;
    }
    if (command == "write" && argc == 10) {
        return WriteTag(argv + 2);
    }
    std::fprintf(stderr, "usage: mp3-peer-info info FILE... | write FILE TITLE ARTIST ALBUM "
                         "YEAR COMMENT TRACK GENRE\n");
    return 2;
}
