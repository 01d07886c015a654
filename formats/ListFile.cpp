#include "formats/ListFile.h"

#include "formats/DiskNames.h"

#include "formats/PathFunctions.h"
#include "platform/FileSystem.h"
#include "platform/TextEncoding.h"

#include "platform/Platform.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <memory>
#include <utility>

namespace {

// The note at the top of a list file: the user may edit the values, not the
// structure, since the reader counts lines.
const char* const kListFileHeader =
    "// 注意:您可以按格式修改以下记录的内容, 但勿修改记录格式结构, 以防发生记录格式读入错误\n"
    "// 1.请不要加入一个行或是删除一行\n"
    "// 2.请不要修改属性的名称\n"
    "// 3.请不要修改\" = \"以及\";\"等关键词格式\n"
    "// 4.请不要删除本说明\n"
    "\n";
const int kHeaderLineCount = 6;

const char* const kPlayListMarker = "<play list>";
const char* const kSongListMarker = "<song list>";
const int kEntryLineCount = 8;
const int kSongLineCount = 9;

const std::string_view kCountKey = "number";
const std::string_view kEntryTitleKey = "曲目标题";
const std::string_view kSongTitleKey = "音乐标题";
const std::string_view kArtistKey = "艺术家";
const std::string_view kStyleKey = "风格";
const std::string_view kSongCountKey = "曲数";
const std::string_view kOldSongCountKey = "曲目数"; // read, never written
const std::string_view kTimeKey = "时间";
const std::string_view kPlayCountKey = "欣赏次数";
const std::string_view kOrderKey = "次序";
const std::string_view kFileNameKey = "文件名";
const std::string_view kFileTypeKey = "文件类型";
const std::string_view kLocationKey = "文件位置";
const std::string_view kSizeKey = "文件大小";

const std::string_view kSeparator = " = ";

void AppendLineStart(std::string& text, std::string_view key) {
    text.append(key);
    text.append(kSeparator);
}

bool NeedsCleaning(const std::string& value) {
    for (char c : value) {
        if (c == '\n' || c == '\r' || static_cast<unsigned char>(c) >= 0x80) {
            return true;
        }
    }
    return false;
}

void AppendTextLine(std::string& text, std::string_view key, const std::string& value) {
    AppendLineStart(text, key);
    if (NeedsCleaning(value)) {
        text.append(CleanTextValue(value));
    } else {
        text.append(value);
    }
    text.append(";\n");
}

void AppendNumberLine(std::string& text, std::string_view key, std::int64_t value) {
    AppendLineStart(text, key);
    char digits[24];
    auto result = std::to_chars(digits, digits + sizeof digits, value);
    text.append(digits, result.ptr);
    text.append(";\n");
}

void AppendCountLine(std::string& text, std::int64_t count) {
    AppendNumberLine(text, kCountKey, count);
    text += '\n';
}

// Numbers are 32-bit fields; like atoi, an oversized value keeps its low bits.
int ToField(std::int64_t number) {
    return static_cast<int>(static_cast<std::uint32_t>(number));
}

// A count, whatever its key; one beyond the int range reads the records
// that are there.
int ToCount(std::string_view value) {
    return static_cast<int>(std::clamp<std::int64_t>(ParseRecordNumber(value), 0, INT_MAX));
}

void AssignText(std::string& field, std::string_view value) {
    field.assign(value.data(), value.size());
}

void ApplyEntryLine(std::string_view line, CPlayListItem& entry) {
    std::string_view key;
    std::string_view value;
    SplitRecordLine(line, key, value);
    if (key == kEntryTitleKey) {
        AssignText(entry.title, value);
    } else if (key == kArtistKey) {
        AssignText(entry.artist, value);
    } else if (key == kStyleKey) {
        entry.style = ToField(ParseRecordNumber(value));
    } else if (key == kSongCountKey || key == kOldSongCountKey) {
        entry.count = ToCount(value);
    } else if (key == kTimeKey) {
        entry.time = ToField(ParseRecordNumber(value));
    } else if (key == kPlayCountKey) {
        entry.playCount = ToField(ParseRecordNumber(value));
    } else if (key == kFileNameKey) {
        AssignText(entry.fileName, value);
    } else if (key == kLocationKey) {
        AssignText(entry.location, value);
    }
}

void ApplySongLine(std::string_view line, CSongItem& song) {
    std::string_view key;
    std::string_view value;
    SplitRecordLine(line, key, value);
    if (key == kSongTitleKey) {
        AssignText(song.title, value);
    } else if (key == kArtistKey) {
        AssignText(song.artist, value);
    } else if (key == kStyleKey) {
        song.style = ToField(ParseRecordNumber(value));
    } else if (key == kTimeKey) {
        song.time = ToField(ParseRecordNumber(value));
    } else if (key == kOrderKey) {
        song.order = ToField(ParseRecordNumber(value));
    } else if (key == kFileNameKey) {
        AssignText(song.fileName, value);
    } else if (key == kFileTypeKey) {
        AssignText(song.fileType, value);
    } else if (key == kLocationKey) {
        AssignText(song.location, value);
    } else if (key == kSizeKey) {
        song.size = ParseRecordNumber(value);
    }
}

// A song whose file is gone is kept, marked, without the path it had. An
// empty file name names no file (the path would be the folder itself).
void MarkIfMissing(CSongItem& song) {
    if (song.fileName != kMissingFileMarker && !song.fileName.empty() && LocateSongFile(song)) {
        return;
    }
    song.fileName = kMissingFileMarker;
    song.location.clear();
    song.fileType.clear();
    song.size = 0;
}

int ReadCountLine(CLineCursor& cursor) {
    std::string_view key;
    std::string_view value;
    SplitRecordLine(cursor.Next(), key, value);
    return ToCount(value);
}

bool HoldsText(const std::string& text, std::string_view piece) {
    return text.find(piece) != std::string::npos;
}

} // namespace

CLineCursor::CLineCursor(std::string text) : m_text(std::move(text)) {
    std::size_t last = m_text.find_last_not_of("\r\n");
    m_end = last == std::string::npos ? 0 : last + 1;
}

CLineCursor::CLineCursor(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += '\n';
    }
    *this = CLineCursor(std::move(text));
}

std::string_view CLineCursor::Next() {
    if (m_next >= m_text.size()) {
        return std::string_view();
    }
    std::size_t following = 0;
    std::size_t lineEnd = FindLineEnd(m_text, m_next, following);
    if (lineEnd == std::string::npos) {
        lineEnd = following = m_text.size();
    }
    std::string_view line(m_text.data() + m_next, lineEnd - m_next);
    m_next = following;
    return line;
}

void CLineCursor::Skip(int lineCount) {
    for (int i = 0; i < lineCount && m_next < m_text.size(); ++i) {
        Next();
    }
}

void SplitRecordLine(std::string_view line, std::string_view& key, std::string_view& value) {
    std::size_t separator = line.find(kSeparator);
    std::size_t semicolon = line.rfind(';');
    // Without " = " the value starts at the third byte, as it always has.
    std::size_t valueStart = separator == std::string_view::npos ? 2 : separator + 3;
    key = separator == std::string_view::npos ? std::string_view() : line.substr(0, separator);
    if (semicolon == std::string_view::npos || semicolon < valueStart) {
        value = std::string_view();
    } else {
        value = line.substr(valueStart, semicolon - valueStart);
    }
}

void SplitRecordLine(std::string_view line, std::string& key, std::string& value) {
    std::string_view keyView;
    std::string_view valueView;
    SplitRecordLine(line, keyView, valueView);
    AssignText(key, keyView);
    AssignText(value, valueView);
}

std::int64_t ParseRecordNumber(std::string_view value) {
    std::size_t i = 0;
    auto isSpace = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (i < value.size() && isSpace(value[i])) {
        ++i;
    }
    bool negative = false;
    if (i < value.size() && (value[i] == '+' || value[i] == '-')) {
        negative = value[i] == '-';
        ++i;
    }
    // Accumulated as a negative number so that the smallest value fits;
    // beyond the 64-bit range it stays at the limit, as strtol does.
    const std::int64_t limit = INT64_MIN;
    std::int64_t number = 0;
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
        int digit = value[i] - '0';
        if (number < (limit + digit) / 10) {
            number = limit;
        } else {
            number = number * 10 - digit;
        }
    }
    if (negative) {
        return number;
    }
    return number == limit ? INT64_MAX : -number;
}

void FormatSongRecord(const CSongItem& song, std::string& text) {
    AppendTextLine(text, kSongTitleKey, song.title);
    AppendTextLine(text, kArtistKey, song.artist);
    AppendNumberLine(text, kStyleKey, song.style);
    AppendNumberLine(text, kTimeKey, song.time);
    AppendNumberLine(text, kOrderKey, song.order);
    AppendTextLine(text, kFileNameKey, song.fileName);
    AppendTextLine(text, kFileTypeKey, song.fileType);
    AppendTextLine(text, kLocationKey, song.location);
    AppendNumberLine(text, kSizeKey, song.size);
}

void FormatEntryRecord(const CPlayListItem& entry, std::string& text) {
    // The reader trusts the song count line, so it is the number of songs
    // actually written, whatever count the entry holds.
    int songCount = 0;
    for (const auto& song : entry.songs) {
        songCount += song ? 1 : 0;
    }
    text.append(kPlayListMarker);
    text += '\n';
    AppendTextLine(text, kEntryTitleKey, entry.title);
    AppendTextLine(text, kArtistKey, entry.artist);
    AppendNumberLine(text, kStyleKey, entry.style);
    AppendNumberLine(text, kSongCountKey, songCount);
    AppendNumberLine(text, kTimeKey, entry.time);
    AppendNumberLine(text, kPlayCountKey, entry.playCount);
    AppendTextLine(text, kFileNameKey, entry.fileName);
    AppendTextLine(text, kLocationKey, entry.location);
    text += '\n';
    text.append(kSongListMarker);
    text += '\n';
    for (const auto& song : entry.songs) {
        if (song) {
            FormatSongRecord(*song, text);
            text += '\n';
        }
    }
}

bool WriteMusicListFile(const std::string& path, const CMusicList& list) {
    int entryCount = 0;
    for (const auto& entry : list) {
        entryCount += entry ? 1 : 0;
    }
    std::string text = kListFileHeader;
    AppendCountLine(text, entryCount);
    for (const auto& entry : list) {
        if (entry) {
            FormatEntryRecord(*entry, text);
        }
    }
    return WriteFileAtomically(path, text);
}

bool WriteSongStoreFile(const std::string& path, const CSongList& songs) {
    int songCount = 0;
    for (const auto& song : songs) {
        songCount += song ? 1 : 0;
    }
    std::string text;
    AppendCountLine(text, songCount);
    for (const auto& song : songs) {
        if (song) {
            FormatSongRecord(*song, text);
            text += '\n';
        }
    }
    return WriteFileAtomically(path, text);
}

bool ReadSongRecord(CLineCursor& cursor, CSongItem& song) {
    for (int i = 0; i < kSongLineCount; ++i) {
        std::string_view line = cursor.Next();
        if (line.empty()) {
            return false;
        }
        ApplySongLine(line, song);
    }
    return true;
}

bool ReadEntryRecord(CLineCursor& cursor, CPlayListItem& entry) {
    cursor.Skip(1); // "<play list>"
    for (int i = 0; i < kEntryLineCount; ++i) {
        ApplyEntryLine(cursor.Next(), entry);
    }
    cursor.Skip(2); // the empty line and "<song list>"
    bool complete = true;
    // The count is only a promise: an empty line ends the songs, so a count
    // larger than the file holds stops at its end.
    for (int i = 0; i < entry.count; ++i) {
        auto song = std::make_shared<CSongItem>();
        if (!ReadSongRecord(cursor, *song)) {
            complete = false;
            break;
        }
        MarkIfMissing(*song);
        entry.songs.AddTail(std::move(song));
        cursor.Skip(1);
    }
    entry.Renumber();
    entry.UpdateTotals();
    return complete;
}

CStoreRead ReadStoreText(const std::string& path, std::size_t limit, std::string& text) {
    CStoreRead read;
    CFileRead file = ReadRegularFile(path, limit, text);
    if (file.status == CReadStatus::Missing) {
        return read;
    }
    if (file.status != CReadStatus::Read) {
        read.status = CStoreStatus::Unreadable;
        read.problem = ReadFailureText(path, file);
        return read;
    }
    // Files written here are UTF-8 already: spare a copy of the whole text.
    bool plainUtf8 = text.compare(0, 3, "\xEF\xBB\xBF") != 0 && IsValidUtf8(text);
    if (!plainUtf8) {
        text = DecodeText(text);
    }
    read.status = CStoreStatus::Whole;
    return read;
}

void MarkDamaged(CStoreRead& read, const std::string& path) {
    read.status = CStoreStatus::Damaged;
    read.problem = "“" + path + "”已损坏，其中的记录未能全部读入。";
}

CStoreRead ReadMusicListFileChecked(const std::string& path, CMusicList& list) {
    list.RemoveAll();
    std::string text;
    CStoreRead read = ReadStoreText(path, kStoreFileLimit, text);
    if (read.status != CStoreStatus::Whole) {
        return read;
    }
    bool holdsRecords = HoldsText(text, kPlayListMarker);
    CLineCursor cursor(std::move(text));
    cursor.Skip(kHeaderLineCount);
    int entryCount = ReadCountLine(cursor);
    cursor.Skip(1);
    bool whole = true;
    for (int i = 0; i < entryCount && whole; ++i) {
        whole = !cursor.AtEnd();
        if (whole) {
            auto entry = std::make_shared<CPlayListItem>();
            // A damaged record still gives an entry; reading goes on after it.
            whole = ReadEntryRecord(cursor, *entry);
            LocateEntryFiles(*entry);
            list.AddTail(std::move(entry));
        }
    }
    if (!whole || (holdsRecords && list.GetCount() == 0)) {
        MarkDamaged(read, path);
    }
    return read;
}

CStoreRead ReadSongStoreFileChecked(const std::string& path, CSongList& songs) {
    songs.RemoveAll();
    std::string text;
    CStoreRead read = ReadStoreText(path, kStoreFileLimit, text);
    if (read.status != CStoreStatus::Whole) {
        return read;
    }
    bool holdsRecords = HoldsText(text, std::string(kSongTitleKey) + " = ");
    CLineCursor cursor(std::move(text));
    int songCount = ReadCountLine(cursor);
    cursor.Skip(1);
    bool whole = true;
    for (int i = 0; i < songCount && !cursor.AtEnd(); ++i) {
        auto song = std::make_shared<CSongItem>();
        whole = ReadSongRecord(cursor, *song) && whole;
        MarkIfMissing(*song);
        songs.AddTail(std::move(song));
        cursor.Skip(1);
    }
    if (!whole || songs.GetCount() < songCount || (holdsRecords && songs.GetCount() == 0)) {
        MarkDamaged(read, path);
    }
    return read;
}

bool ReadMusicListFile(const std::string& path, CMusicList& list) {
    CStoreRead read = ReadMusicListFileChecked(path, list);
    if (read.status == CStoreStatus::Unreadable) {
        Platform().ShowMessage(read.problem, kAppTitle, CMessageIcon::Error);
    }
    return read.status == CStoreStatus::Whole || read.status == CStoreStatus::Damaged;
}

bool ReadSongStoreFile(const std::string& path, CSongList& songs) {
    CStoreRead read = ReadSongStoreFileChecked(path, songs);
    if (read.status == CStoreStatus::Unreadable) {
        Platform().ShowMessage(read.problem, kAppTitle, CMessageIcon::Error);
    }
    return read.status == CStoreStatus::Whole || read.status == CStoreStatus::Damaged;
}

void CollectAllSongs(CSongList& songs, const CMusicList& list) {
    songs.RemoveAll();
    for (const auto& entry : list) {
        if (!entry) {
            continue;
        }
        for (const auto& song : entry->songs) {
            songs.AddTail(song);
        }
    }
}

// A value is one line of the file and must read back as UTF-8: a line break
// inside it (a Linux file name may hold one) would shift every later record,
// and bytes that are not UTF-8 would make the whole file read as GBK.
std::string CleanTextValue(const std::string& value) {
    std::string clean = IsValidUtf8(value) ? value : DecodeGb18030(value);
    for (char& c : clean) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return clean;
}
