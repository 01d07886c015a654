#include "app/LibraryHandlers.h"

// Placeholder body; the library command handlers replace it.
void InstallLibraryHandlers(CMainFrame&) {}
