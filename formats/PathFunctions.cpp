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

bool IsStorableName(const std::string& path) {
    return path.find_first_of("\r\n") == std::string::npos;
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
        return NormalisePath(path);
    }
    std::string current = CurrentFolder();
    if (current.empty()) {
        return NormalisePath(path);
    }
    return NormalisePath(JoinPath(current, path));
}

std::string NormalisePath(const std::string& path) {
    if (path.empty()) {
        return path;
    }
    bool absolute = path[0] == '/';
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        end = end == std::string::npos ? path.size() : end;
        std::string part = path.substr(start, end - start);
        bool canGoUp = !parts.empty() && parts.back() != "..";
        if (part == ".." && canGoUp) {
            parts.pop_back();
        } else if (part == ".." && !absolute) {
            parts.push_back(part);
        } else if (!part.empty() && part != "." && part != "..") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string normal = absolute ? "/" : "";
    for (std::size_t i = 0; i < parts.size(); ++i) {
        normal += (i == 0 ? "" : "/") + parts[i];
    }
    return normal.empty() ? std::string(".") : normal;
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
