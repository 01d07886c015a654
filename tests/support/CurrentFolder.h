// Runs a test scope in another current folder, where the library looks for
// its store files at start-up.
#pragma once

#include <filesystem>
#include <string>

class CScopedFolderChange {
public:
    explicit CScopedFolderChange(const std::string& folder)
        : m_previous(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~CScopedFolderChange() { std::filesystem::current_path(m_previous); }
    CScopedFolderChange(const CScopedFolderChange&) = delete;
    CScopedFolderChange& operator=(const CScopedFolderChange&) = delete;

private:
    std::filesystem::path m_previous;
};
