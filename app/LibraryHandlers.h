// The handlers of the library commands (play, import, export, add, remove,
// conversions, web and help), installed on the main frame by command ID.
#pragma once

class CMainFrame;

void InstallLibraryHandlers(CMainFrame& frame);
