// The HTML page of the music list: a user-editable template cut into sections
// at marker lines, its row sections repeated once per entry and per song.
#pragma once

#include "core/PositionList.h"

#include <string>
#include <vector>

// The folder the program's data files are installed in: the one the build
// was configured for, unless the program found its own beside it.
std::string InstalledDataFolder();
void SetInstalledDataFolder(const std::string& folder);
// Takes PREFIX/share/cricklet as the data folder when programFolder is
// PREFIX/bin and it exists: an installed program finds its files wherever
// its prefix lies.
void FindDataFolderBesideProgram(const std::string& programFolder);

// A file installed beside the program ("Template.htm", "Help/ckhelp.htm"):
// the user's copy in workDirectory wins, then the installed data folder.
// When neither exists, the path in workDirectory (so a message names it).
std::string FindInstalledFile(const std::string& workDirectory, const std::string& relativePath);

// "&", "<", ">" and '"' as character references.
std::string EscapeHtml(const std::string& text);

// The whole page from the template's lines (not yet lower-cased); pageTitle
// replaces the template's title text.
std::string BuildHtmlPage(const std::vector<std::string>& templateLines,
                          const std::string& pageTitle, const CMusicList& entries);
