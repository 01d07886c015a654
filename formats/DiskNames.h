// File names kept as GB18030 bytes on disk (files copied from the original
// platform) are UTF-8 in the library's text files once written. These find
// such a file again by trying the GB18030 form of the name.
#pragma once

#include <string>

class CSongItem;

// path itself when it exists, else its GB18030 form when that exists,
// else an empty text.
std::string FindOnDisk(const std::string& path);

// True when the song's file exists; a song found under the GB18030 form of
// its folder or name keeps those bytes, so it opens by its path again.
bool LocateSongFile(CSongItem& song);
