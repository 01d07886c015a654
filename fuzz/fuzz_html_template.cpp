// The HTML page from a user-edited template: any template gives a page (or
// a refusal) without a crash, and every text of the library reaches it
// escaped.
#include "core/FrameInterface.h"
#include "core/MusicManager.h"
#include "fuzz/FileBytes.h"
#include "fuzz/FuzzInput.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <memory>

namespace {

CMusicList MakeLibrary() {
    CMusicList entries;
    for (int e = 0; e < 2; ++e) {
        auto entry = std::make_shared<CPlayListItem>();
        entry->title = e == 0 ? "<b>&\"专辑\"" : "";
        entry->artist = "艺术家";
        entry->location = "/音乐";
        entry->fileName = "list.m3u";
        for (int s = 0; s < 2; ++s) {
            auto song = std::make_shared<CSongItem>();
            song->title = "<script>月亮河";
            song->fileName = "a.mp3";
            song->location = "/音乐";
            song->time = 61 * s;
            entry->songs.AddTail(song);
        }
        entry->UpdateTotals();
        entries.AddTail(entry);
    }
    return entries;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const CMusicList entries = MakeLibrary();
    WriteFuzzFile("Template.htm", data, size);
    // The page keeps the template's own markup, lower-cased; only a
    // template without a script tag tells whether a library text got in.
    std::string markup(reinterpret_cast<const char*>(data), size);
    std::transform(markup.begin(), markup.end(), markup.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const bool templateHasScript = markup.find("<script>") != std::string::npos;
    CNullFrame frame;
    CMusicManager manager(&frame);
    manager.config.WorkDirectory = FuzzFolder();
    const std::string page = FuzzFolder() + "/page.htm";
    if (manager.store.ExportHtml(page, entries) && !templateHasScript &&
        FileBytes(page).find("<script>") != std::string::npos) {
        std::abort(); // a library text reached the page unescaped
    }
    return 0;
}
