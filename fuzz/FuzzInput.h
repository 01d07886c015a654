// What every fuzz target shares: a platform that shows nothing (the readers
// report damaged files through message boxes, which must not slow the
// fuzzer down), and the fuzzer's bytes written to a file, since the readers
// take paths the way the program hands them.
#pragma once

#include "platform/SilentPlatform.h"

#include <cstddef>
#include <cstdint>
#include <string>

// A folder of this process's own; created on first use, with the silent
// platform installed.
const std::string& FuzzFolder();

// Writes the bytes to FuzzFolder()/name and returns the file's path.
std::string WriteFuzzFile(const std::string& name, const std::uint8_t* data, std::size_t size);
