#include "formats/PathFunctions.h"

#include "platform/TextEncoding.h"

#include <sys/stat.h>

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

std::string FolderOf(const std::string& path) {
    return FileExists(path) ? FolderPart(path) : std::string();
}

std::string TitleOf(const std::string& path) {
    return FileExists(path) ? TitlePart(NamePart(path)) : std::string();
}

std::string NameOf(const std::string& path) {
    return FileExists(path) ? NamePart(path) : std::string();
}
