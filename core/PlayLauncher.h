// The play commands: fill a play set from the selection, random entries,
// random songs or an artist, and hand it to the player as "Cache.m3u".
#pragma once

class CMusicManager;
class CMusicCommand;

void ExecutePlaySelection(CMusicManager& manager, const CMusicCommand& command);
void ExecutePlayArtist(CMusicManager& manager, const CMusicCommand& command);
void ExecutePlayRandomEntries(CMusicManager& manager, const CMusicCommand& command);
void ExecutePlayRandomSongs(CMusicManager& manager, const CMusicCommand& command);
void ExecutePlayEntriesShuffled(CMusicManager& manager, const CMusicCommand& command);
void ExecutePlaySongsShuffled(CMusicManager& manager, const CMusicCommand& command);
