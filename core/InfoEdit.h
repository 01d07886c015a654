// The library side of the edit dialogs: a song's new title, artist and style
// with the rename of its file after the title and the write of its ID3v1
// tag, the update of the library's other copies of the song, and an entry's
// artist and style passed on to its songs.
#pragma once

#include "core/PlayListItem.h"

#include <string>

class CMusicManager;

struct CSongEdit {
    std::string title;
    std::string artist;
    int style = 2001;
    bool updateFile = false; // rename the file after a new title, write the tag
};

// Applies the edit to song, shown in the song pane for the playlist-pane row
// entryRow (0: the all-songs list). With updateFile a changed title renames
// the file (never over another file: a refusal is reported and the old name
// kept) and an MP3 file gets the title, the artist and, inside an entry, the
// entry's title as album in its tag. The other copy of the song then takes
// every field (inside an entry: the first all-songs copy; in the all-songs
// list: the first copy in the entries), and every copy of a renamed file
// follows its new name and folder.
void ApplySongEdit(CMusicManager& manager, int entryRow, const CSongPtr& song,
                   const CSongEdit& edit);

// Renames the song's file to its title plus its file type, in its folder.
// True when the file now has the new name; false when nothing was to be
// renamed or the rename was refused (reported, the song unchanged).
bool RenameAfterTitle(CSongItem& song);

// Each song of the entry takes the entry's artist and style; the first song
// of allSongs with the same file takes that song's title, artist and style.
void PassOnToSongs(CSongList& allSongs, const CPlayListItem& entry);
