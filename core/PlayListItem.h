// One playlist entry of the library: a playlist file (m3u, pls, ...) or a
// folder of music files (a "bug"), with the songs it holds in play order.
#pragma once

#include "core/PositionList.h"
#include "core/SongItem.h"

#include <memory>
#include <string>

enum : int {
    PLTYPE_M3U = 100,
    PLTYPE_PLS = 101,
    PLTYPE_FOLDER = 102,
    PLTYPE_OTHER = 106,
};

class CPlayListItem {
public:
    virtual ~CPlayListItem() = default;

    std::string title;
    std::string artist;
    int style = 2001;
    int count = 0;        // number of songs in songs
    int time = 0;         // sum of the songs' time, in seconds
    int playCount = 0;    // times played as a whole
    std::string fileName; // playlist file name, or the folder's full path
    std::string location; // folder of the playlist file, or the folder itself
    CSongList songs;

    // PLTYPE_FOLDER when fileName equals location, otherwise by extension
    // ("m3u" and "m3u8" are M3U files).
    int GetType() const;
    // location for a folder entry, otherwise location + "/" + fileName.
    std::string GetFullPath() const;
    // count := number of songs; each song's order := its position.
    void Renumber();
    // count := number of songs; time := sum of their times.
    void UpdateTotals();
};

using CEntryPtr = std::shared_ptr<CPlayListItem>;

// True for the extensions that count as M3U files ("m3u", "m3u8").
bool IsM3uExtension(const std::string& extension);
