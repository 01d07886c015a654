// The list file and the song store: whatever the bytes, reading neither
// crashes nor hangs, and what was read writes out as a file that reads back
// to the same records (a second write gives the same bytes).
#include "formats/ListFile.h"
#include "fuzz/FileBytes.h"
#include "fuzz/FuzzInput.h"

#include <cstdlib>

namespace {

template <typename List, typename Read, typename Write>
void CheckRoundTrip(const std::string& input, Read read, Write write) {
    List first;
    read(input, first);
    const std::string once = FuzzFolder() + "/once";
    const std::string twice = FuzzFolder() + "/twice";
    if (!write(once, first)) {
        return;
    }
    List second;
    read(once, second);
    if (!write(twice, second) || FileBytes(once) != FileBytes(twice)) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input = WriteFuzzFile("PlayList.stp", data, size);
    CheckRoundTrip<CMusicList>(input, ReadMusicListFile, WriteMusicListFile);
    CheckRoundTrip<CSongList>(input, ReadSongStoreFile, WriteSongStoreFile);
    return 0;
}
