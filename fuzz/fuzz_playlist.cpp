// Playlists from other players: any bytes, under any of the names the
// program reads as a playlist, give an entry or a refusal, never a crash.
#include "core/PlayListItem.h"
#include "formats/M3uFile.h"
#include "fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const char* const names[] = {"list.m3u", "list.m3u8", "list.pls"};
    if (size == 0) {
        return 0;
    }
    const std::string path = WriteFuzzFile(names[data[0] % 3], data + 1, size - 1);
    CPlayListItem entry;
    ReadM3UFileChecked(path, &entry);
    return 0;
}
