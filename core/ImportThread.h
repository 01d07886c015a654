// The folder-import worker: walks a folder tree on its own thread, appending
// songs and entries to the library and reporting to the frame.
#pragma once

#include "core/FolderScan.h"
#include "core/PlayListItem.h"

#include <sys/types.h>

#include <atomic>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

class CMusicManager;
class CFrameInterface;

class CImportThread {
public:
    // folder: the chosen folder; a relative path is taken from the current
    // folder, and "." and ".." are resolved in the text.
    CImportThread(CMusicManager* manager, const std::string& folder);
    virtual ~CImportThread(); // joins the thread

    // Starts InitInstance on a new thread.
    void Start();
    // Waits for the thread to end.
    void Join();
    // The whole import: scan, close the dialog, report, refresh.
    void InitInstance();
    // Imports one folder and, depth first, its sub-folders: songs, m3u files
    // and (with IsImportDir) the folder's own entry after those inside it.
    void ScanFolder(const std::string& folderPath);

    CMusicManager* manager;
    std::string folder;
    std::atomic<bool> cancelled{false};
    // Folders, playlists and music files left out because their names hold
    // a line break, which no record line of the store files can.
    int skippedNames = 0;

private:
    // False when the folder was entered before in this import (a symbolic
    // link back up the tree) or cannot be looked up.
    bool EnterFolderOnce(const std::string& folderPath);
    // Takes the items that the import would take but cannot store out of
    // items, and counts them.
    void SkipUnstorableNames(std::vector<CFolderItem>& items);
    void ImportSong(const std::string& path, const CEntryPtr& folderEntry);
    void ImportPlaylist(const std::string& path);
    void AddEntry(const CEntryPtr& entry);
    void ShowProgress(const std::string& folderPath, const std::string& fileName);
    CFrameInterface* Frame() const;

    std::thread m_thread;
    std::set<std::pair<dev_t, ino_t>> m_visitedFolders;
};
