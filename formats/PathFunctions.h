// The small path functions the formats share. Folders are separated by "/".
#pragma once

#include <string>

// Text after the last ".", lower-cased; empty when there is no "." after the
// first character ("LIST.M3U" gives "m3u", ".m3u" gives "").
std::string ExtensionOf(const std::string& name);

// folder + "/" + name, without looking for a separator already there.
std::string JoinPath(const std::string& folder, const std::string& name);

// For an existing file or folder: its folder as a full path (no trailing
// "/"; a relative path is taken from the current folder), its name
// without extension, its name with extension. Empty when nothing is there.
std::string FolderOf(const std::string& path);
std::string TitleOf(const std::string& path);
std::string NameOf(const std::string& path);

// False when path holds a line break: the store files keep each path on one
// record line, so such a name cannot be stored.
bool IsStorableName(const std::string& path);

// True when a file or folder exists at path.
bool FileExists(const std::string& path);

// The same splits without asking the file system.
std::string FolderPart(const std::string& path);
std::string NamePart(const std::string& path);
std::string TitlePart(const std::string& name);

// path itself when it starts with "/", otherwise joined to the current
// folder; normalised either way.
std::string AbsolutePath(const std::string& path);

// The path with "." and empty parts removed and each ".." taking the part
// before it away, without asking the file system, so one folder has one
// name. A relative path keeps the ".." it starts with; "/.." is "/".
std::string NormalisePath(const std::string& path);
