// A platform for tests: records every message, question and desktop call,
// and answers questions from a script (Cancel or No once the script runs out,
// the answer that changes nothing).
#pragma once

#include "platform/Platform.h"

#include <deque>
#include <string>
#include <vector>

struct CRecordedMessage {
    std::string text;
    std::string caption;
    CMessageIcon icon = CMessageIcon::None;
};

struct CRecordedProgramStart {
    std::string program;
    std::string argument;
};

class CRecordingPlatform : public CPlatform {
public:
    // Messages, and questions too (with the question icon), in the order shown.
    std::vector<CRecordedMessage> messages;
    // Answers given to the next questions, first in first out.
    std::deque<CAnswer> answers;
    std::vector<std::string> openedPaths;
    std::vector<std::string> exploredFolders;
    std::vector<CRecordedProgramStart> startedPrograms;
    // What StartProgram reports: success, or failure with this error text.
    bool programStartSucceeds = true;
    std::string programStartError;
    // What OpenFile reports; the path is recorded in openedPaths either way.
    bool desktopOpenSucceeds = true;

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

    // The texts of all recorded messages, for whole-list comparisons.
    std::vector<std::string> MessageTexts() const;

private:
    CAnswer NextAnswer(const std::string& text, const std::string& caption, CAnswer fallback);
};

// Installs a recording platform for the lifetime of a test scope and puts
// the previous default back afterwards.
class CScopedRecordingPlatform {
public:
    CScopedRecordingPlatform() { SetPlatform(&platform); }
    ~CScopedRecordingPlatform() { SetPlatform(nullptr); }
    CScopedRecordingPlatform(const CScopedRecordingPlatform&) = delete;
    CScopedRecordingPlatform& operator=(const CScopedRecordingPlatform&) = delete;

    CRecordingPlatform platform;
};
