// The sorted index of the entries' artists behind the random-artist menus.
#pragma once

#include "core/PlayListItem.h"
#include "core/PositionList.h"

// The name that stands for the entries without an artist; always last.
extern const char* const kUnnamedArtist; // "<未命名>"

// Rebuilds artists from the entries: each non-empty artist once, in GB18030
// byte order, then kUnnamedArtist. An empty library gives an empty index.
// Returns the number of names.
int RebuildArtistIndex(const CMusicList& entries, CArtistList& artists);
