#include "core/PlaylistCommands.h"

#include "core/MusicManager.h"

// Placeholder bodies; the playlist-file commands replace them.
void ExecuteAddM3u(CMusicManager&, const CMusicCommand&) {}
void ExecuteFolderToM3u(CMusicManager&, const CMusicCommand&) {}
void ExecuteAllFoldersToM3u(CMusicManager&, const CMusicCommand&) {}
void ExecuteAddSong(CMusicManager&, const CMusicCommand&) {}
void ExecuteWriteTags(CMusicManager&, const CMusicCommand&) {}
void ExecuteSaveEntryM3u(CMusicManager&, const CMusicCommand&) {}
