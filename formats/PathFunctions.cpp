#include "formats/PathFunctions.h"

#include "platform/TextEncoding.h"

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

#include <vector>

std::string ExtensionOf(const std::string& name) {
    std::size_t point = name.rfind('.');
    if (point == std::string::npos || point == 0) {
        return std::string();
    }
    return ToLowerAscii(name.substr(point + 1));
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    return folder + "/" + name;
}

std::string FolderPart(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return std::string(".");
    }
    if (slash == 0) {
        return std::string("/");
    }
    return path.substr(0, slash);
}

std::string NamePart(const std::string& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string TitlePart(const std::string& name) {
    std::size_t point = name.rfind('.');
    if (point == std::string::npos || point == 0) {
        return name;
    }
    return name.substr(0, point);
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && stat(path.c_str(), &info) == 0;
}

namespace {

// The process's current folder; empty when it cannot be told.
std::string CurrentFolder() {
    std::vector<char> buffer(4096);
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE || buffer.size() > (1u << 20)) {
            return std::string();
        }
        buffer.resize(buffer.size() * 2);
    }
    return std::string(buffer.data());
}

} // namespace

std::string AbsolutePath(const std::string& path) {
    if (path.empty() || path[0] == '/') {
        return path;
    }
    std::string current = CurrentFolder();
    if (current.empty()) {
        return path;
    }
    if (path == ".") {
        return current;
    }
    std::string rest = path.compare(0, 2, "./") == 0 ? path.substr(2) : path;
    return current == "/" ? "/" + rest : JoinPath(current, rest);
}

std::string FolderOf(const std::string& path) {
    return FileExists(path) ? AbsolutePath(FolderPart(path)) : std::string();
}

std::string TitleOf(const std::string& path) {
    return FileExists(path) ? TitlePart(NamePart(path)) : std::string();
}

std::string NameOf(const std::string& path) {
    return FileExists(path) ? NamePart(path) : std::string();
}
