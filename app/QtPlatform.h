// The desktop services of the library for the Qt window: message boxes and
// questions (QMessageBox), the desktop's handler for files, folders and web
// addresses, and detached programs. Safe to call from the import worker: the
// boxes always open on the user-interface thread.
#pragma once

#include "platform/Platform.h"

class CQtPlatform : public CPlatform {
public:
    void ShowMessage(const std::string& text, const std::string& caption,
                     CMessageIcon icon) override;
    CAnswer AskOkCancel(const std::string& text, const std::string& caption) override;
    CAnswer AskYesNo(const std::string& text, const std::string& caption) override;
    CAnswer AskYesNoCancel(const std::string& text, const std::string& caption) override;
    void OpenPath(const std::string& pathOrUrl) override;
    bool OpenFile(const std::string& path) override;
    void ExploreFolder(const std::string& folder) override;
    bool StartProgram(const std::string& program, const std::string& argument,
                      std::string& error) override;
};
