// A platform that shows nothing and answers every question with the choice
// that changes nothing: for benchmarks and fuzzing, where a message box or
// a printed message would only cost time. It counts the messages it swallows.
#pragma once

#include "platform/Platform.h"

#include <atomic>
#include <string>

class CSilentPlatform : public CPlatform {
public:
    std::atomic<int> messages{0};

    void ShowMessage(const std::string&, const std::string&, CMessageIcon) override { ++messages; }
    CAnswer AskOkCancel(const std::string&, const std::string&) override { return CAnswer::Cancel; }
    CAnswer AskYesNo(const std::string&, const std::string&) override { return CAnswer::No; }
    CAnswer AskYesNoCancel(const std::string&, const std::string&) override {
        return CAnswer::Cancel;
    }
    void OpenPath(const std::string&) override {}
    void ExploreFolder(const std::string&) override {}
    bool StartProgram(const std::string&, const std::string&, std::string& error) override {
        error = "not started";
        return false;
    }
};
