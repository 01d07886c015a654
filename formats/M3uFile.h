// M3U playlist files, read into an entry with its songs and written from one.
// Other players' playlists are read as they come: UTF-8 with or without a
// byte-order mark or GBK, CR LF or LF, Windows or relative paths.
#pragma once

#include "core/PlayListItem.h"

#include <string>

enum class CM3uReadResult {
    Accepted,   // the entry is filled
    Malformed,  // no "#EXTM3U" header, or an "#EXTINF:" line without seconds
    Unreadable, // the file could not be read; the system's error text was shown
};

// Fills a new, empty entry from the playlist at path. A file whose extension
// is not "m3u" or "m3u8" gives an entry without songs. False when entry is
// absent or the file is not an acceptable M3U file.
bool ReadM3UFile(const std::string& path, CPlayListItem* entry);
// The same, telling a malformed file from one that could not be read.
CM3uReadResult ReadM3UFileChecked(const std::string& path, CPlayListItem* entry);

// Writes the entry's songs as "#EXTINF:" and path line pairs, with full
// paths or bare file names. The file is replaced atomically; false (with the
// system's error text shown) when it cannot be written.
bool WriteM3UFile(const std::string& path, const CPlayListItem& entry, bool useFullPaths);

// Where a path line of a playlist in `folder` points: backslashes become
// "/"; "/..." is absolute; "X:..." and "scheme://..." are kept; anything
// else is relative to the folder.
std::string ResolveM3uPathLine(const std::string& folder, const std::string& line);
