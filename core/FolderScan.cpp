#include "core/FolderScan.h"

#include "formats/AppConfig.h"
#include "formats/PathFunctions.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>

namespace {

// Names compare upper-cased, the way the original platform's file system
// orders a folder ("_" after the letters).
unsigned char UpperAscii(unsigned char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

// Folder or regular file; false for anything the import must not open
// (a pipe would block a reader for ever).
bool ClassifyItem(const std::string& folder, const dirent& item, bool& isDirectory) {
    switch (item.d_type) {
    case DT_DIR:
        isDirectory = true;
        return true;
    case DT_REG:
        isDirectory = false;
        return true;
    case DT_LNK:
    case DT_UNKNOWN:
        break;
    default:
        return false;
    }
    struct stat info {};
    if (stat(JoinPath(folder, item.d_name).c_str(), &info) != 0) {
        return false;
    }
    isDirectory = S_ISDIR(info.st_mode);
    return isDirectory || S_ISREG(info.st_mode);
}

} // namespace

bool ComesBeforeInListing(const std::string& left, const std::string& right) {
    std::size_t common = std::min(left.size(), right.size());
    for (std::size_t i = 0; i < common; ++i) {
        unsigned char l = UpperAscii(static_cast<unsigned char>(left[i]));
        unsigned char r = UpperAscii(static_cast<unsigned char>(right[i]));
        if (l != r) {
            return l < r;
        }
    }
    if (left.size() != right.size()) {
        return left.size() < right.size();
    }
    return std::memcmp(left.data(), right.data(), common) < 0;
}

bool ListFolder(const std::string& folder, std::vector<CFolderItem>& items) {
    items.clear();
    DIR* listing = opendir(folder.c_str());
    if (listing == nullptr) {
        return false;
    }
    while (const dirent* item = readdir(listing)) {
        if (std::strcmp(item->d_name, ".") == 0 || std::strcmp(item->d_name, "..") == 0) {
            continue;
        }
        CFolderItem entry;
        if (ClassifyItem(folder, *item, entry.isDirectory)) {
            entry.name = item->d_name;
            items.push_back(std::move(entry));
        }
    }
    closedir(listing);
    std::sort(items.begin(), items.end(), [](const CFolderItem& left, const CFolderItem& right) {
        return ComesBeforeInListing(left.name, right.name);
    });
    return true;
}

int CountSupportedFiles(const CAppConfig& config, const std::vector<CFolderItem>& items) {
    int count = 0;
    for (const CFolderItem& item : items) {
        if (!item.isDirectory && config.IsSupportedExtension(ExtensionOf(item.name))) {
            ++count;
        }
    }
    return count;
}

int CountSupportedFiles(const CAppConfig& config, const std::string& folder) {
    std::vector<CFolderItem> items;
    ListFolder(folder, items);
    return CountSupportedFiles(config, items);
}
