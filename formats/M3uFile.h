// M3U playlist files, read into an entry with its songs and written from one.
// Other players' playlists are read as they come: UTF-8 with or without a
// byte-order mark or GBK, CR LF or LF, Windows or relative paths, plain
// lists of paths without "#EXTM3U"; PLS files are read into their songs too.
#pragma once

#include "core/PlayListItem.h"

#include <string>

enum class CM3uReadResult {
    Accepted,   // the entry is filled
    Malformed,  // no path line and no "#EXTM3U" header followed by lines, or
                // an "#EXTINF:" line without seconds
    Unreadable, // the file could not be read; the system's error text was shown
};

// Fills a new, empty entry from the playlist at path. A "pls" file gives
// its songs; a file of another extension than "m3u" or "m3u8" an entry
// without songs. False when entry is absent or the file is not an
// acceptable M3U file.
bool ReadM3UFile(const std::string& path, CPlayListItem* entry);
// The same, telling a malformed file from one that could not be read.
CM3uReadResult ReadM3UFileChecked(const std::string& path, CPlayListItem* entry);

// Writes the entry's songs as "#EXTINF:" and path line pairs, with full
// paths or bare file names. The file is replaced atomically; false (with the
// system's error text shown) when it cannot be written.
bool WriteM3UFile(const std::string& path, const CPlayListItem& entry, bool useFullPaths);

// Fills a song named by a playlist's path line. With listedTexts the
// title and time that the list gave stay and the artist comes from the
// file; otherwise title, artist and time come from the file, as for a
// dropped file. A missing file gets the missing-file marker.
void FillPlaylistSong(CSongItem& song, const std::string& linePath, bool listedTexts);

// Where a path line of a playlist in `folder` points: backslashes become
// "/"; "/..." is absolute; "X:..." and "scheme://..." are kept; anything
// else is relative to the folder.
std::string ResolveM3uPathLine(const std::string& folder, const std::string& line);
