// The plain-text store of a whole music list: every entry with its songs.
// One format serves PlayList.stp, exported .stp files and, with the song
// record alone, MusicList.ckp.
#pragma once

#include "core/PlayListItem.h"
#include "core/PositionList.h"
#include "core/SongItem.h"

#include <string>

bool WriteMusicListFile(const std::string& path, const CMusicList& list);
// Replaces the list with the file's entries; false when the file is missing.
bool ReadMusicListFile(const std::string& path, CMusicList& list);
bool WriteSongStoreFile(const std::string& path, const CSongList& songs);
bool ReadSongStoreFile(const std::string& path, CSongList& songs);

void FormatSongRecord(const CSongItem& song, std::string& text);
void FormatEntryRecord(const CPlayListItem& entry, std::string& text);

// Splits "key = value;": the value runs from the first " = " to the last ";".
void SplitRecordLine(const std::string& line, std::string& key, std::string& value);

// Empties songs, then appends every song of every entry, in order.
void CollectAllSongs(CSongList& songs, const CMusicList& list);
