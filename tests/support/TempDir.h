// A fresh folder under the system's temporary folder, removed with all it
// holds when the test ends, and small helpers to put files into it.
#pragma once

#include <filesystem>
#include <string>

#include <sys/fsuid.h>
#include <unistd.h>

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

// Runs a test scope with the file rights of an unprivileged user, so that a
// read-only file stays read-only when the tests run as root.
class CScopedUnprivilegedFiles {
public:
    CScopedUnprivilegedFiles() : m_previous(geteuid() == 0 ? setfsuid(65534) : -1) {}
    ~CScopedUnprivilegedFiles() {
        if (m_previous >= 0) {
            setfsuid(static_cast<uid_t>(m_previous));
        }
    }

private:
    int m_previous;
};
