// The random draws behind random play: positions by remainder of rand(), the
// shuffled song order (乐序随机) and the songs of one artist.
#pragma once

#include "core/PlayListItem.h"
#include "core/PositionList.h"

#include <string>
#include <vector>

// lo + rand() mod (hi - lo + 1); lo itself when hi < lo (an empty range).
int RandomBetween(int lo, int hi);

// n independent RandomBetween(lo, hi) draws; repeats are allowed.
void FillRandom(std::vector<int>& values, int n, int lo, int hi);

// 2·c exchanges of two random positions, c being the number of songs.
void ShuffleSongs(CSongList& list);

// Fills the play set with the songs of every entry whose artist is `artist`
// (the unnamed item stands for the empty artist), keeps `keep` of them at
// random when 0 < keep < their number, and shuffles them. Returns the set's
// song count, or -1 when entries or set is absent.
int SelectArtistSongs(const CMusicList* entries, const std::string& artist, int keep,
                      CPlayListItem* set);
