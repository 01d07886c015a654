// The platform of the command runner: messages go to standard output, one
// line each; questions get the answer that changes nothing; desktop openings
// are printed instead of performed; programs are really started.
#pragma once

#include "platform/Platform.h"

#include <ostream>

class CConsolePlatform : public CPlatform {
public:
    explicit CConsolePlatform(std::ostream& out);

    void ShowMessage(const std::string& text, const std::string& caption,
                     CMessageIcon icon) override;
    CAnswer AskOkCancel(const std::string& text, const std::string& caption) override;
    CAnswer AskYesNo(const std::string& text, const std::string& caption) override;
    CAnswer AskYesNoCancel(const std::string& text, const std::string& caption) override;
    void OpenPath(const std::string& pathOrUrl) override;
    void ExploreFolder(const std::string& folder) override;
    bool StartProgram(const std::string& program, const std::string& argument,
                      std::string& error) override;

private:
    std::ostream& m_out;
};

// Starts a program detached (double fork, so no zombie is left) with one
// argument; false with the system's error text when it cannot be executed.
bool SpawnDetached(const std::string& program, const std::string& argument, std::string& error);
