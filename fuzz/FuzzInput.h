// What every fuzz target shares: a platform that shows nothing (the readers
// report damaged files through message boxes, which must not slow the
// fuzzer down), and the fuzzer's bytes written to a file, since the readers
// take paths the way the program hands them.
#pragma once

#include "platform/Platform.h"

#include <cstddef>
#include <cstdint>
#include <string>

class CSilentPlatform : public CPlatform {
public:
    void ShowMessage(const std::string&, const std::string&, CMessageIcon) override {}
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

// A folder of this process's own; created on first use, with the silent
// platform installed.
const std::string& FuzzFolder();

// Writes the bytes to FuzzFolder()/name and returns the file's path.
std::string WriteFuzzFile(const std::string& name, const std::uint8_t* data, std::size_t size);
