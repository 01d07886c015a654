#include "core/PlayLauncher.h"

#include "core/MusicManager.h"

// Placeholder bodies; the play launcher replaces them.
void ExecutePlaySelection(CMusicManager&, const CMusicCommand&) {}
void ExecutePlayArtist(CMusicManager&, const CMusicCommand&) {}
void ExecutePlayRandomEntries(CMusicManager&, const CMusicCommand&) {}
void ExecutePlayRandomSongs(CMusicManager&, const CMusicCommand&) {}
void ExecutePlayEntriesShuffled(CMusicManager&, const CMusicCommand&) {}
void ExecutePlaySongsShuffled(CMusicManager&, const CMusicCommand&) {}
void CAppConfig::PlayEntry(const CPlayListItem&) {}
void CAppConfig::LaunchPlayer(const std::vector<std::string>&) {}
