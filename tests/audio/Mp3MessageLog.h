// A platform for the MP3 tests: keeps every message and question shown, and
// answers questions with a preset answer. Installed for one test's scope.
#pragma once

#include "platform/Platform.h"

#include <ostream>
#include <string>
#include <vector>

class CMp3MessageLog : public CPlatform {
public:
    struct Entry {
        std::string text;
        std::string caption;
        bool question = false;
        bool operator==(const Entry& other) const {
            return text == other.text && caption == other.caption && question == other.question;
        }
        friend std::ostream& operator<<(std::ostream& out, const Entry& entry) {
            return out << (entry.question ? "question [" : "message [") << entry.caption << "] "
                       << entry.text;
        }
    };

    std::vector<Entry> shown;
    CAnswer answer = CAnswer::No;

    CMp3MessageLog() { SetPlatform(this); }
    ~CMp3MessageLog() override { SetPlatform(nullptr); }
    CMp3MessageLog(const CMp3MessageLog&) = delete;
    CMp3MessageLog& operator=(const CMp3MessageLog&) = delete;

    void ShowMessage(const std::string& text, const std::string& caption,
                     CMessageIcon icon) override {
        shown.push_back({text, caption, icon == CMessageIcon::Question});
    }
    CAnswer AskOkCancel(const std::string& text, const std::string& caption) override {
        return Ask(text, caption);
    }
    CAnswer AskYesNo(const std::string& text, const std::string& caption) override {
        return Ask(text, caption);
    }
    CAnswer AskYesNoCancel(const std::string& text, const std::string& caption) override {
        return Ask(text, caption);
    }
    void OpenPath(const std::string&) override {}
    void ExploreFolder(const std::string&) override {}
    bool StartProgram(const std::string&, const std::string&, std::string& error) override {
        error = "not started in tests";
        return false;
    }

private:
    CAnswer Ask(const std::string& text, const std::string& caption) {
        shown.push_back({text, caption, true});
        return answer;
    }
};
