// Sorting of the two panes' lists by one of their eight columns, in place,
// stable: records equal under the key keep their previous order.
#pragma once

#include "core/PlayListItem.h"
#include "core/PositionList.h"
#include "core/SongItem.h"

// True when a sorts strictly after b under the key (1 to 8, the pane's
// column number); false for an absent record, equal keys or another key.
// Texts compare by their GB18030 bytes, numbers by signed value.
bool EntryGreater(const CPlayListItem* a, const CPlayListItem* b, int key);
bool SongGreater(const CSongItem* a, const CSongItem* b, int key);

// The order of a stable bubble sort that exchanges neighbours only when the
// first is greater (ascending) or the second is greater (descending), reached
// in O(n log n). A key outside 1 to 8 leaves the list as it is.
void SortEntries(CMusicList& entries, int key, bool ascending);
void SortSongs(CSongList& songs, int key, bool ascending);
