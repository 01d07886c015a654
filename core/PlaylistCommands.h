// The commands that work through playlist files and tags: add an M3U file,
// convert folder entries to M3U files, add a song, write ID3v1 tags, save an
// entry as an M3U file.
#pragma once

class CMusicManager;
class CMusicCommand;

void ExecuteAddM3u(CMusicManager& manager, const CMusicCommand& command);
void ExecuteFolderToM3u(CMusicManager& manager, const CMusicCommand& command);
void ExecuteAllFoldersToM3u(CMusicManager& manager, const CMusicCommand& command);
void ExecuteAddSong(CMusicManager& manager, const CMusicCommand& command);
void ExecuteWriteTags(CMusicManager& manager, const CMusicCommand& command);
void ExecuteSaveEntryM3u(CMusicManager& manager, const CMusicCommand& command);
