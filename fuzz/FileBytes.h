// Whole-file reads for the fuzz targets' round-trip checks.
#pragma once

#include <fstream>
#include <iterator>
#include <string>

inline std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
