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

class CRecordingPlatform : public CPlatform {
public:
    // Messages, and questions too (with the question icon), in the order shown.
    std::vector<CRecordedMessage> messages;
    std::deque<CAnswer> answers;              // for the next questions, first in first out
    std::vector<std::string> openedPaths;     // by OpenPath and OpenFile
    std::vector<std::string> startedPrograms; // "program argument"
    std::string programStartError;            // StartProgram fails with it unless empty

    void ShowMessage(const std::string& text, const std::string& caption,
                     CMessageIcon icon) override {
        messages.push_back({text, caption, icon});
    }
    CAnswer AskOkCancel(const std::string& text, const std::string& caption) override {
        return NextAnswer(text, caption, CAnswer::Cancel);
    }
    CAnswer AskYesNo(const std::string& text, const std::string& caption) override {
        return NextAnswer(text, caption, CAnswer::No);
    }
    CAnswer AskYesNoCancel(const std::string& text, const std::string& caption) override {
        return NextAnswer(text, caption, CAnswer::Cancel);
    }
    void OpenPath(const std::string& pathOrUrl) override { openedPaths.push_back(pathOrUrl); }
    bool OpenFile(const std::string& path) override {
        openedPaths.push_back(path);
        return true;
    }
    void ExploreFolder(const std::string&) override {}
    bool StartProgram(const std::string& program, const std::string& argument,
                      std::string& error) override {
        startedPrograms.push_back(program + " " + argument);
        error = programStartError;
        return error.empty();
    }

    // The texts of all recorded messages, for whole-list comparisons.
    std::vector<std::string> MessageTexts() const {
        std::vector<std::string> texts;
        for (const auto& message : messages) {
            texts.push_back(message.text);
        }
        return texts;
    }

private:
    CAnswer NextAnswer(const std::string& text, const std::string& caption, CAnswer fallback) {
        messages.push_back({text, caption, CMessageIcon::Question});
        if (answers.empty()) {
            return fallback;
        }
        CAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
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
