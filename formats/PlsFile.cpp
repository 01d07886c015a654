#include "formats/PlsFile.h"

#include "formats/M3uFile.h"
#include "platform/FileSystem.h"
#include "platform/TextEncoding.h"

#include <climits>
#include <cstdlib>
#include <map>

namespace {

struct CPlsItem {
    std::string file;
    std::string title;
    std::string length;
    bool hasTitle = false;
    bool hasLength = false;
};

std::string Trimmed(const std::string& text) {
    std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return std::string();
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The number after a key's name: "File12" gives 12 for "file". -1 when the
// key is another one or its number is not a plain number of int range.
int KeyNumber(const std::string& key, const std::string& name) {
    if (key.size() <= name.size() || ToLowerAscii(key.substr(0, name.size())) != name ||
        key.size() - name.size() > 9) {
        return -1;
    }
    int number = 0;
    for (std::size_t i = name.size(); i < key.size(); ++i) {
        if (key[i] < '0' || key[i] > '9') {
            return -1;
        }
        number = number * 10 + (key[i] - '0');
    }
    return number;
}

// Stores one "Key=Value" line of the playlist section.
void TakeLine(const std::string& line, std::map<int, CPlsItem>& items) {
    std::size_t equals = line.find('=');
    if (equals == std::string::npos) {
        return;
    }
    std::string key = Trimmed(line.substr(0, equals));
    std::string value = Trimmed(line.substr(equals + 1));
    int number = -1;
    if ((number = KeyNumber(key, "file")) >= 0) {
        items[number].file = value;
    } else if ((number = KeyNumber(key, "title")) >= 0) {
        items[number].title = value;
        items[number].hasTitle = true;
    } else if ((number = KeyNumber(key, "length")) >= 0) {
        items[number].length = value;
        items[number].hasLength = true;
    }
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    c = static_cast<char>(c | 0x20);
    return (c >= 'a' && c <= 'f') ? c - 'a' + 10 : -1;
}

// Players write local files as "file:///..." addresses with %XX escapes.
std::string LocalPath(const std::string& file) {
    const std::string scheme = "file://";
    if (ToLowerAscii(file.substr(0, scheme.size())) != scheme) {
        return file;
    }
    std::string path;
    for (std::size_t i = scheme.size(); i < file.size(); ++i) {
        int high = i + 2 < file.size() ? HexValue(file[i + 1]) : -1;
        int low = i + 2 < file.size() ? HexValue(file[i + 2]) : -1;
        if (file[i] == '%' && high >= 0 && low >= 0) {
            path += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            path += file[i];
        }
    }
    return path;
}

int Seconds(const std::string& text) {
    long long value = std::strtoll(text.c_str(), nullptr, 10);
    return value > INT_MAX ? INT_MAX : (value < INT_MIN ? INT_MIN : static_cast<int>(value));
}

} // namespace

bool IsPlsExtension(const std::string& extension) {
    return extension == "pls";
}

void ReadPlsSongs(const std::string& text, CPlayListItem& entry) {
    std::map<int, CPlsItem> items;
    bool inPlaylist = false;
    for (const std::string& rawLine : SplitLines(text)) {
        std::string line = Trimmed(rawLine);
        if (!line.empty() && line[0] == '[') {
            inPlaylist = ToLowerAscii(line) == "[playlist]";
        } else if (inPlaylist) {
            TakeLine(line, items);
        }
    }
    int number = 0;
    long long total = 0;
    for (const auto& [key, item] : items) {
        if (item.file.empty()) {
            continue;
        }
        auto song = std::make_shared<CSongItem>();
        FillPlaylistSong(*song, ResolveM3uPathLine(entry.location, LocalPath(item.file)), false);
        if (item.hasTitle && !item.title.empty()) {
            song->title = item.title;
        }
        if (item.hasLength) {
            song->time = Seconds(item.length);
        }
        total += song->time;
        song->order = ++number;
        entry.songs.AddTail(song);
    }
    entry.count = number;
    entry.time = static_cast<int>(total > INT_MAX ? INT_MAX : (total < INT_MIN ? INT_MIN : total));
}
