// A small command for the tag peer test: prints the title, artist and time
// that a music file gives a song, the way folder import fills it.
//
//   song-peer-info FILE...
//       one line per file: "song", path, title, artist, seconds; by tabs

#include "audio/SongFile.h"
#include "platform/ConsolePlatform.h"

#include <cstdio>
#include <iostream>

int main(int argc, char** argv) {
    CConsolePlatform console(std::cerr);
    SetPlatform(&console);
    int failures = 0;
    for (int i = 1; i < argc; ++i) {
        CSongItem song;
        if (!ReadSongFile(argv[i], &song)) {
            std::printf("error\t%s\n", argv[i]);
            ++failures;
            continue;
        }
        std::printf("song\t%s\t%s\t%s\t%d\n", argv[i], song.title.c_str(), song.artist.c_str(),
                    song.time);
    }
    SetPlatform(nullptr);
    return failures == 0 ? 0 : 1;
}
