// Fills a song from its music file: name, type, folder and size from the
// directory entry; title, artist and playing time from an MP3 file's content.
#pragma once

#include "core/SongItem.h"

#include <string>

// Takes the directory entry of the file at path into song and, for a file of
// more than 256 bytes, FillSongFromFile. False (song unchanged) when song is
// null or no regular file is at path.
bool ReadSongFile(const std::string& path, CSongItem* song);

// Sets title (the file's name without extension), artist "N/A", style 2001
// ("N/A") and time 0, then for an MP3 file the tag's non-empty title and
// artist and the playing time. False (song unchanged) when song is null or
// no regular file is at path.
bool FillSongFromFile(CSongItem* song, const std::string& path);

// The artist of an MP3 file's ID3v1 tag; "N/A" for other files and for an
// MP3 file without one.
std::string ReadArtistFromFile(const std::string& path);
