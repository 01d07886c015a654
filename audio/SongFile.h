// Fills a song from its music file: name, type, folder and size from the
// directory entry; title, artist and playing time from the content of an MP3
// file (ID3v1 and ID3v2 tags) and of the formats TagLib reads.
#pragma once

#include "core/SongItem.h"

#include <string>

// Takes the directory entry of the file at path into song and, for a file of
// more than 256 bytes, FillSongFromFile. False (song unchanged) when song is
// null or no regular file is at path.
bool ReadSongFile(const std::string& path, CSongItem* song);

// Sets title (the file's name without extension), artist "N/A", style 2001
// ("N/A") and time 0, then the tags' non-empty title and artist and the
// playing time. Of an MP3 file's two tags the ID3v1 text wins unless it is
// empty, only "?" or the ID3v2 text cut to its 30 bytes. False (song
// unchanged) when song is null or no regular file is at path.
bool FillSongFromFile(CSongItem* song, const std::string& path);

// The artist that FillSongFromFile would take; "N/A" when the file names none.
std::string ReadArtistFromFile(const std::string& path);
