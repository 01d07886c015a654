#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

CTempDir::CTempDir() {
    std::string pattern = (fs::temp_directory_path() / "cricklet-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    m_path = pattern;
}

CTempDir::~CTempDir() {
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
}

std::string CTempDir::File(const std::string& name) const {
    return m_path + "/" + name;
}

std::string CTempDir::Write(const std::string& name, const std::string& bytes) const {
    std::string path = name.empty() || name[0] != '/' ? File(name) : name;
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::string CTempDir::Read(const std::string& name) const {
    std::string path = name.empty() || name[0] != '/' ? File(name) : name;
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}
