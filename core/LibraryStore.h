// Loads the three store files at start-up and saves them at exit; exports
// the library as an HTML page.
#pragma once

#include "core/PositionList.h"

#include <string>
#include <vector>

class CMusicManager;

class CLibraryStore {
public:
    explicit CLibraryStore(CMusicManager* manager) : m_pManager(manager) {}
    virtual ~CLibraryStore() = default;

    // Reads PlayList.stp, MusicList.ckp and Cricklet.ini from the current
    // folder; what is missing stays empty or at its defaults.
    bool Load();
    // Writes the three files into config.WorkDirectory, each atomically.
    // False when a file could not be written (the error was reported).
    bool Save();
    // Writes the page built from "Template.htm" to path.
    bool ExportHtml(const std::string& path, const CMusicList& entries);

private:
    CMusicManager* m_pManager;
    // Store files that were there at start-up but could not be read: the
    // exit save moves them aside instead of replacing them.
    std::vector<std::string> m_unreadableFiles;
};
