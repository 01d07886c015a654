// MP3 files: any bytes open or fail without a crash or a hang, and a file
// that opens still opens the same after its tag is written back unchanged.
#include "audio/Mp3Info.h"
#include "audio/SongFile.h"
#include "core/SongItem.h"
#include "fuzz/FuzzInput.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = WriteFuzzFile("song.mp3", data, size);
    CSongItem song;
    ReadSongFile(path, &song);

    Mp3Info before;
    if (before.Open(path) != MP3_OK) {
        return 0;
    }
    const int seconds = before.LengthSeconds();
    const std::string title = before.GetTitle();
    const std::string artist = before.GetArtist();
    if (before.WriteTag("n/a", "n/a", "n/a", "n/a", "n/a", "n/a", "n/a") != MP3_OK) {
        return 0;
    }
    Mp3Info after;
    if (after.Open(path) != MP3_OK || after.GetTitle() != title || after.GetArtist() != artist) {
        std::abort();
    }
    // A tag appended to a file that had none shortens the audio it is
    // measured against, so only a rewritten tag must keep the time.
    if (before.hasTag && after.LengthSeconds() != seconds) {
        std::abort();
    }
    return 0;
}
