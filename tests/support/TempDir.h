// A fresh folder under the system's temporary folder, removed with all it
// holds when the test ends, and small helpers to put files into it.
#pragma once

#include <filesystem>
#include <string>

class CTempDir {
public:
    CTempDir();
    ~CTempDir();
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;

    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const;
    // Writes bytes to Path()/name, creating folders on the way; returns the path.
    std::string Write(const std::string& name, const std::string& bytes) const;
    // The bytes of Path()/name (or of an absolute path); empty when missing.
    std::string Read(const std::string& name) const;

private:
    std::string m_path;
};

// Runs a test scope in another current folder, where the library looks for
// its store files at start-up.
class CScopedFolderChange {
public:
    explicit CScopedFolderChange(const std::string& folder)
        : m_previous(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~CScopedFolderChange() { std::filesystem::current_path(m_previous); }

private:
    std::filesystem::path m_previous;
};
