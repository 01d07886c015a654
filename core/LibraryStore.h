// Loads the three store files at start-up and saves them at exit; exports
// the library as an HTML page.
#pragma once

#include "core/PositionList.h"

#include <string>
#include <vector>

class CMusicManager;
struct CStoreRead;

class CLibraryStore {
public:
    explicit CLibraryStore(CMusicManager* manager) : m_pManager(manager) {}
    virtual ~CLibraryStore() = default;

    // Reads PlayList.stp, MusicList.ckp and Cricklet.ini from the current
    // folder; what is missing stays empty or at its defaults. A file that
    // reads as damaged is reported once.
    bool Load();
    // Writes the three files into config.WorkDirectory, each atomically. A
    // damaged file that a save would replace is first kept beside itself as
    // NAME.unreadable. False when a file could not be written or kept (the
    // error was reported); a file that could not be kept is not replaced.
    bool Save();
    // Writes the page built from "Template.htm" to path.
    bool ExportHtml(const std::string& path, const CMusicList& entries);

private:
    void NoteDamage(const CStoreRead& read, const std::string& path);
    bool MakeWayFor(const std::string& savePath);

    CMusicManager* m_pManager;
    // Paths of the store files that read as damaged at start-up and have
    // not been kept aside yet.
    std::vector<std::string> m_damagedFiles;
};
