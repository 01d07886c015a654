// Listing one folder for the folder import: its items in the order the
// import takes them, and the count of the music files it directly holds.
#pragma once

#include <string>
#include <vector>

class CAppConfig;

struct CFolderItem {
    std::string name; // as the directory listing gives it (raw bytes)
    bool isDirectory = false;
};

// The folders and regular files directly in folder, without "." and "..",
// in name order: ASCII case ignored (letters compare as capitals), then byte
// order. Symbolic links count as
// what they point to; dangling links, devices, pipes and sockets are left out.
// False (and no items) when the folder cannot be listed.
bool ListFolder(const std::string& folder, std::vector<CFolderItem>& items);

// The order ListFolder gives: true when left comes before right.
bool ComesBeforeInListing(const std::string& left, const std::string& right);

// The number of files directly in folder whose extension the settings import.
int CountSupportedFiles(const CAppConfig& config, const std::string& folder);
int CountSupportedFiles(const CAppConfig& config, const std::vector<CFolderItem>& items);
