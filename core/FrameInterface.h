// What the library asks of the main window: redraw or empty the panes, show
// import progress, refresh the status line and the artist menus. The Qt frame
// implements it; the command runner and the tests give their own.
//
// The import worker calls the Import* operations from its own thread: an
// implementation must carry them out on its user-interface thread and must
// not read the library lists there while the worker runs.
#pragma once

#include "core/PlayListItem.h"
#include "core/SongItem.h"

#include <string>

class CFrameInterface {
public:
    virtual ~CFrameInterface() = default;

    // Empties both panes; the playlist pane keeps only its fixed first row.
    virtual void ClearPanes() = 0;
    // Redraws every row of the playlist pane from the library.
    virtual void RefillEntryRows() = 0;
    virtual void UpdateStatusText() = 0;
    virtual void RebuildArtistMenu() = 0;

    // From the import worker: a new entry at pane row `row` (its position),
    // a new song at 0-based song-pane row `row` of the all-songs list.
    virtual void ImportInsertEntryRow(const CEntryPtr& entry, int row) = 0;
    virtual void ImportInsertSongRow(const CSongPtr& song, int row) = 0;
    // From the import worker: the folder being scanned and the current file
    // name (empty while a sub-folder is entered). Ignored without a dialog.
    virtual void ImportShowProgress(const std::string& folder, const std::string& fileName) = 0;
    // From the import worker at the end: close the progress dialog with the
    // result code (1010), also when it is not showing yet.
    virtual void ImportCloseDialog(int resultCode) = 0;
};

// A frame with no window: every operation does nothing.
class CNullFrame : public CFrameInterface {
public:
    void ClearPanes() override {}
    void RefillEntryRows() override {}
    void UpdateStatusText() override {}
    void RebuildArtistMenu() override {}
    void ImportInsertEntryRow(const CEntryPtr&, int) override {}
    void ImportInsertSongRow(const CSongPtr&, int) override {}
    void ImportShowProgress(const std::string&, const std::string&) override {}
    void ImportCloseDialog(int) override {}
};
