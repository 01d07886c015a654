// File names kept as GB18030 bytes on disk (files copied from the original
// platform) are UTF-8 in the library's text files once written. These find
// such a file again by trying the GB18030 form of the name.
#pragma once

#include <string>

class CSongItem;
class CPlayListItem;

// path itself when it exists, else its GB18030 form when that exists,
// else an empty text.
std::string FindOnDisk(const std::string& path);

// True when name exists in folder; a file found under the GB18030 form of
// the folder or the name keeps those bytes, so it opens by its path again.
bool LocateFile(std::string& folder, std::string& name);

// LocateFile for the song's file.
bool LocateSongFile(CSongItem& song);

// The same for an entry's playlist file, or for a folder entry its folder
// (location and file name alike).
void LocateEntryFiles(CPlayListItem& entry);
