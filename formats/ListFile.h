// The plain-text store of a whole music list: every entry with its songs.
// One format serves PlayList.stp, exported .stp files and, with the song
// record alone, MusicList.ckp.
#pragma once

#include "core/PlayListItem.h"
#include "core/PositionList.h"
#include "core/SongItem.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Walks the lines of a file's decoded text; CR LF, LF and CR end lines alike.
// Past the last line it yields empty lines, the way a short file has always
// read; AtEnd tells the readers that only empty lines remain, so a count
// larger than the records that follow adds nothing.
class CLineCursor {
public:
    explicit CLineCursor(std::string text);
    // Lines already split, for readers that have them that way.
    explicit CLineCursor(const std::vector<std::string>& lines);

    // The next line, without its line end; valid while the cursor lives.
    std::string_view Next();
    void Skip(int lineCount);
    bool AtEnd() const { return m_next >= m_end; }

private:
    std::string m_text;
    std::size_t m_next = 0;
    std::size_t m_end = 0; // just past the last byte that is not a line end
};

// How a store file read. Damaged: it holds fewer records than it says, or
// records that gave nothing; Unreadable: it could not be read at all (not a
// regular file, too large, a read error). `problem` tells the user why.
enum class CStoreStatus { Missing, Whole, Damaged, Unreadable };
struct CStoreRead {
    CStoreStatus status = CStoreStatus::Missing;
    std::string problem;
};

// The decoded text of a store file of at most limit bytes.
CStoreRead ReadStoreText(const std::string& path, std::size_t limit, std::string& text);
// Marks a read as damaged and says so.
void MarkDamaged(CStoreRead& read, const std::string& path);

// Written in UTF-8 with LF line ends, atomically; false (reported) when the
// file cannot be written, and the old file is then left whole.
bool WriteMusicListFile(const std::string& path, const CMusicList& list);
// Empties the list, then reads the file's entries (UTF-8 or GBK, CR LF or LF).
// False when the file is missing; an unreadable file is also reported.
bool ReadMusicListFile(const std::string& path, CMusicList& list);
bool WriteSongStoreFile(const std::string& path, const CSongList& songs);
bool ReadSongStoreFile(const std::string& path, CSongList& songs);
// The same readers, reporting nothing and telling how the file read.
CStoreRead ReadMusicListFileChecked(const std::string& path, CMusicList& list);
CStoreRead ReadSongStoreFileChecked(const std::string& path, CSongList& songs);

// One entry from the cursor positioned at its "<play list>" line. False when
// a song record was cut short; the entry then keeps the songs before it.
// Either way its count, time and song order are recomputed from its songs.
bool ReadEntryRecord(CLineCursor& cursor, CPlayListItem& entry);
// One song's nine lines; false at the first empty line among them.
bool ReadSongRecord(CLineCursor& cursor, CSongItem& song);

// The nine lines of one song record, each with its line end.
void FormatSongRecord(const CSongItem& song, std::string& text);
// "<play list>", the eight entry lines, an empty line, "<song list>", then
// each song record followed by an empty line.
void FormatEntryRecord(const CPlayListItem& entry, std::string& text);

// A text value made fit for one record line: line breaks become spaces and
// bytes that are not UTF-8 are decoded as GB18030.
std::string CleanTextValue(const std::string& value);

// Splits "key = value;": the key is the text before the first " = " and the
// value runs from there to the last ";" of the line, so a value holding ";"
// survives. Nothing is trimmed.
void SplitRecordLine(std::string_view line, std::string& key, std::string& value);
void SplitRecordLine(std::string_view line, std::string_view& key, std::string_view& value);

// The number at the start of a value, read like atoi: leading white space,
// a sign, digits up to the first other character; 0 when there are none.
std::int64_t ParseRecordNumber(std::string_view value);

// Empties songs, then appends every song of every entry, in order; the flat
// list then shares the entries' song records.
void CollectAllSongs(CSongList& songs, const CMusicList& list);
