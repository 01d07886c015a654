#include "core/LibraryStore.h"

// Placeholder; the HTML export replaces it.
bool CLibraryStore::ExportHtml(const std::string&, const CMusicList&) {
    return false;
}
