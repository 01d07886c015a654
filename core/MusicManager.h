// The library's one controller: owns the lists, the settings and the store,
// loads the library at start-up, saves it at exit and executes every command.
#pragma once

#include "core/FrameInterface.h"
#include "core/ImportThread.h"
#include "core/LibraryStore.h"
#include "core/MusicCommand.h"
#include "core/PlayListItem.h"
#include "core/PositionList.h"
#include "formats/AppConfig.h"

#include <memory>

class CMusicManager {
public:
    explicit CMusicManager(CFrameInterface* frame);
    virtual ~CMusicManager(); // waits for a running import

    std::unique_ptr<CImportThread> importThread; // the last import started
    CMusicList entries;
    CSongList songs;
    CAppConfig config;
    CArtistList artists;
    CLibraryStore store;
    CFrameInterface* frame;
    int currentRow = 0; // playlist pane row: 0 all songs, i entry i
    int importBaseEntries = 0;
    int importBaseSongs = 0;

    // Loads the store files from the current folder and seeds the random
    // generator.
    void Start();
    void Execute(const CMusicCommand& command);
    bool Save();
    void CancelImport();
    CFrameInterface* GetFrame() const { return frame; }

    // The list a playlist-pane row shows: the flat list for row 0 or below,
    // otherwise the entry's songs; nullptr for a row past the last entry.
    CSongList* ShownList(int row);
    // RebuildArtistIndex, then the frame's artist menus.
    void RefreshArtists();

private:
    void ImportList(const CMusicCommand& command);
    void ImportFolder(const CMusicCommand& command);
    void RemoveEntries(const CMusicCommand& command);
    void ClearLibrary();
    void RemoveSongs(const CMusicCommand& command);
    void ExploreEntry(const CMusicCommand& command);
    void ExploreSong(const CMusicCommand& command);
};

// True when the library has neither entries nor songs.
bool IsLibraryEmpty(const CMusicManager* manager);
