#include "formats/M3uFile.h"

#include "formats/DiskNames.h"
#include "formats/ListFile.h"

#include "audio/SongFile.h"
#include "formats/PathFunctions.h"
#include "formats/PlsFile.h"
#include "platform/FileSystem.h"
#include "platform/TextEncoding.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

const char* const kHeader = "#EXTM3U";
const char* const kInfoPrefix = "#EXTINF:";

// A line of the decoded file; `ended` tells whether a line end followed it
// (the header only counts when it is a whole line).
struct CM3uLine {
    std::string text;
    bool ended = false;
};

std::vector<CM3uLine> SplitM3uLines(const std::string& text) {
    std::vector<CM3uLine> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t following = 0;
        std::size_t end = FindLineEnd(text, start, following);
        CM3uLine line;
        line.ended = end != std::string::npos;
        if (!line.ended) {
            end = following = text.size();
        }
        line.text = text.substr(start, end - start);
        lines.push_back(std::move(line));
        start = following;
    }
    return lines;
}

// The seconds of an "#EXTINF:" line the way atoi reads them (leading blanks,
// a sign, digits; 0 for no number), kept inside int.
int ParseSeconds(const std::string& text) {
    long long value = std::strtoll(text.c_str(), nullptr, 10);
    if (value > INT_MAX) {
        return INT_MAX;
    }
    return value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

int ClampToInt(long long value) {
    if (value > INT_MAX) {
        return INT_MAX;
    }
    return value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool HasDrivePrefix(const std::string& line) {
    return line.size() >= 2 && IsAsciiLetter(line[0]) && line[1] == ':';
}

bool HasUrlScheme(const std::string& line) {
    std::size_t separator = line.find("://");
    if (separator == std::string::npos || separator == 0 || !IsAsciiLetter(line[0])) {
        return false;
    }
    for (std::size_t i = 1; i < separator; ++i) {
        char c = line[i];
        if (!IsAsciiLetter(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') {
            return false;
        }
    }
    return true;
}

std::string WithoutLineEnds(std::string text) {
    std::string kept;
    kept.reserve(text.size());
    for (char c : text) {
        if (c != '\r' && c != '\n') {
            kept += c;
        }
    }
    return kept;
}

// A song of the playlist: its file's name, type, folder, size and artist
// when the file is there, otherwise the missing-file marker. A playlist
// decoded from GBK names files by their UTF-8 names; files that still carry
// GBK names on disk are found under those.
void FillSongFromPath(CSongItem& song, const std::string& linePath) {
    std::string path = FindOnDisk(linePath);
    struct stat info {};
    if (path.empty() || stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) {
        song.fileName = kMissingFileMarker;
        return;
    }
    song.fileName = NamePart(path);
    song.fileType = ExtensionOf(song.fileName);
    song.location = AbsolutePath(FolderPart(path));
    song.size = static_cast<std::int64_t>(info.st_size);
    song.artist = ReadArtistFromFile(path);
    song.style = 2001;
}

// A line that names a file: not empty, not a comment or directive, and no
// binary bytes.
bool IsPathLine(const std::string& line) {
    return line.find_first_not_of(" \t") != std::string::npos && line[0] != '#' &&
           line.find('\0') == std::string::npos;
}

bool HasPathLine(const std::vector<CM3uLine>& lines) {
    return std::any_of(lines.begin(), lines.end(),
                       [](const CM3uLine& line) { return IsPathLine(line.text); });
}

// The songs after the header. Only the first "," of an "#EXTINF:" line ends
// the seconds, so titles may hold commas. A path line without "#EXTINF:"
// before it is a song too, whose title and time come from its file.
bool ReadBody(const std::vector<CM3uLine>& lines, std::size_t first, CPlayListItem& entry) {
    int number = 0;
    long long total = 0;
    std::size_t i = first;
    while (i < lines.size()) {
        const std::string& line = lines[i++].text;
        if (line.compare(0, 8, kInfoPrefix) != 0) {
            if (IsPathLine(line)) {
                auto song = std::make_shared<CSongItem>();
                FillPlaylistSong(*song, ResolveM3uPathLine(entry.location, WithoutLineEnds(line)),
                                 false);
                total += song->time;
                song->order = ++number;
                entry.songs.AddTail(song);
            }
            continue;
        }
        std::size_t colon = line.find(':');
        std::size_t comma = line.find(',');
        if (comma == std::string::npos || comma <= colon + 1) {
            return false;
        }
        auto song = std::make_shared<CSongItem>();
        song->time = ParseSeconds(line.substr(colon + 1, comma - colon - 1));
        song->title = line.substr(comma + 1);
        while (i < lines.size() && lines[i].text.empty()) {
            ++i;
        }
        if (i >= lines.size()) {
            break; // an "#EXTINF:" line without a path adds no song
        }
        total += song->time;
        song->order = ++number;
        FillSongFromPath(*song,
                         ResolveM3uPathLine(entry.location, WithoutLineEnds(lines[i++].text)));
        entry.songs.AddTail(song);
    }
    entry.count = number;
    entry.time = ClampToInt(total);
    return true;
}

} // namespace

std::string ResolveM3uPathLine(const std::string& folder, const std::string& line) {
    std::string path = line;
    for (char& c : path) {
        if (c == '\\') {
            c = '/';
        }
    }
    if (HasDrivePrefix(path) || HasUrlScheme(path)) {
        return path;
    }
    return NormalisePath(!path.empty() && path[0] == '/' ? path : JoinPath(folder, path));
}

CM3uReadResult ReadM3UFileChecked(const std::string& path, CPlayListItem* entry) {
    if (entry == nullptr) {
        return CM3uReadResult::Malformed;
    }
    std::string bytes;
    CFileRead read = ReadRegularFile(path, kPlaylistFileLimit, bytes);
    if (read.status != CReadStatus::Read) {
        ReportReadFailure(path, read);
        return CM3uReadResult::Unreadable;
    }
    entry->title = TitleOf(path);
    entry->fileName = NamePart(path);
    entry->location = FolderOf(path);
    if (IsPlsExtension(ExtensionOf(entry->fileName))) {
        ReadPlsSongs(DecodeText(bytes), *entry);
        return CM3uReadResult::Accepted;
    }
    if (!IsM3uExtension(ExtensionOf(entry->fileName))) {
        return CM3uReadResult::Accepted; // another playlist type: kept without songs
    }
    // Decoding drops a UTF-8 byte-order mark, so a file saved with one is
    // accepted like any other.
    std::vector<CM3uLine> lines = SplitM3uLines(DecodeText(bytes));
    std::size_t header = 0;
    while (header < lines.size() && !(lines[header].text == kHeader && lines[header].ended)) {
        ++header;
    }
    std::size_t bodyStart = 0;
    if (header < lines.size()) {
        if (header + 1 >= lines.size()) {
            return CM3uReadResult::Malformed; // nothing after the header
        }
        bodyStart = header + 1;
    } else if (!HasPathLine(lines)) {
        // Without "#EXTM3U" the file is a plain list of paths, but it must
        // name one at least.
        return CM3uReadResult::Malformed;
    }
    return ReadBody(lines, bodyStart, *entry) ? CM3uReadResult::Accepted
                                              : CM3uReadResult::Malformed;
}

void FillPlaylistSong(CSongItem& song, const std::string& linePath, bool listedTexts) {
    if (listedTexts) {
        FillSongFromPath(song, linePath);
        return;
    }
    // As a dropped file is read; a missing file keeps the name it was given.
    std::string path = FindOnDisk(linePath);
    if (path.empty() || !ReadSongFile(path, &song)) {
        song.title = TitlePart(NamePart(linePath));
        song.fileName = kMissingFileMarker;
        return;
    }
    if (song.title.empty()) {
        song.title = TitlePart(song.fileName); // a file too small to be read
    }
    song.location = AbsolutePath(song.location);
}

bool ReadM3UFile(const std::string& path, CPlayListItem* entry) {
    return ReadM3UFileChecked(path, entry) == CM3uReadResult::Accepted;
}

bool WriteM3UFile(const std::string& path, const CPlayListItem& entry, bool useFullPaths) {
    std::string text = std::string(kHeader) + "\n";
    int written = std::min(entry.count, entry.songs.GetCount());
    for (int position = 1; position <= written; ++position) {
        CSongPtr song = entry.songs.GetAt(position);
        if (!song) {
            continue;
        }
        // A line break inside a title would end the line early and turn the
        // rest of the title into a path line. Title lines are UTF-8 and path
        // lines the bytes the disk holds, so players open the files and the
        // line-by-line reader gets both back.
        std::string title = CleanTextValue(song->title);
        text +=
            kInfoPrefix + std::to_string(song->time == 0 ? -1 : song->time) + "," + title + "\n";
        text += (useFullPaths ? song->GetFullPath() : song->fileName) + "\n";
    }
    return WriteFileAtomically(path, text);
}
