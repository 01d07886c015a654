// Whole-file reads and atomic writes. A write goes to a temporary file in the
// target's folder and is renamed over the target, so a crash or a full disk
// leaves the old file whole; failures are reported with the system's text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The most each reader takes in. A million-song library's store file is
// about 300 MB; settings, playlists and templates are far smaller.
constexpr std::size_t kMiB = 1024 * 1024;
constexpr std::size_t kStoreFileLimit = 1024 * kMiB; // list files, MusicList.ckp
constexpr std::size_t kConfigFileLimit = 1 * kMiB;   // Cricklet.ini
constexpr std::size_t kPlaylistFileLimit = 64 * kMiB;
constexpr std::size_t kTemplateFileLimit = 16 * kMiB;

enum class CReadStatus { Read, Missing, NotRegular, TooLarge, Failed };

struct CFileRead {
    CReadStatus status = CReadStatus::Missing;
    int errorCode = 0; // the system's code for Missing and Failed
    std::size_t limit = 0;
};

// The bytes of a regular file of at most limit bytes. Anything else (a
// folder, a named pipe, a device) is refused before a byte is read and the
// file is opened without blocking, so no input hangs a reader or fills the
// memory.
CFileRead ReadRegularFile(const std::string& path, std::size_t limit, std::string& bytes);

// Why a read failed, as the user is told; empty when it succeeded.
std::string ReadFailureText(const std::string& path, const CFileRead& read);
// Shows ReadFailureText as an error message.
void ReportReadFailure(const std::string& path, const CFileRead& read);

// ReadRegularFile with the store files' limit; false (nothing reported, errno
// set) when the file cannot be read.
bool ReadFileBytes(const std::string& path, std::string& bytes);

// The file decoded (see DecodeText) and split into lines; CR LF, LF and CR
// end lines alike, a last line without an end counts.
bool ReadTextLines(const std::string& path, std::vector<std::string>& lines);

// Splits decoded text into lines the same way.
std::vector<std::string> SplitLines(const std::string& text);

// Where the next line end starts at or after start, and where the line
// after it begins: CR LF counts as one end. npos for both past the last.
std::size_t FindLineEnd(std::string_view text, std::size_t start, std::size_t& following);

// Keeps the file at path under the first free name of path + ".unreadable",
// ".unreadable.1", ... in its folder, before a save replaces it. A regular
// file (or the file a link points to) gets the new name as a second link,
// or a copy, so it stays in place until the save; anything else is renamed.
// False, with the system's error text shown, when it could not be kept.
bool KeepFileAside(const std::string& path, std::string& keptAs);
// The name KeepFileAside would give the file now.
std::string FreeAsideName(const std::string& path);

// The file a save of path replaces: path itself, or the end of its chain of
// symbolic links, so that a link stays a link and its target is saved.
std::string SaveTarget(const std::string& path);

// Replaces the file with content atomically; a symbolic link stays a link
// and its target gets the content. On failure shows the system's
// error text through the platform and returns false; the old file is intact.
bool WriteFileAtomically(const std::string& path, const std::string& content);

// Shows "PATH: system error text" as an error message.
void ReportFileError(const std::string& path, int errorCode);
