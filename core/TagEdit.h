// The fields that the ID3v1 tag editor shows for one MP3 file, and the
// writes of tags that tell the user when a file refuses them.
#pragma once

#include "audio/Mp3Info.h"

#include <string>

struct CTagFields {
    std::string title;
    std::string artist;
    std::string album;
    std::string comment;
    int year = 0;
    int genreIndex = -1; // item of GenreNames; -1: none chosen, the genre byte stays
};

// The tag of the file Open read: empty texts, year 0 and no genre when the
// file has none; a genre byte without a name (126 to 255) chooses none.
CTagFields TagFieldsOf(const Mp3Info& info);

// Writes the fields into the file Open read. The track number and the tag's
// version stay, and so does the genre byte when no genre is chosen. False
// after reporting the failure.
bool WriteTagFields(Mp3Info& info, const CTagFields& fields);

// WriteTag, and on failure a message naming the file and the system's
// reason. The file is then as it was.
bool WriteTagReported(Mp3Info& info, const std::string& title, const std::string& artist,
                      const std::string& album, const std::string& year, const std::string& comment,
                      const std::string& track, const std::string& genre);

// The warning for tag writes that failed: the first file that refused, the
// system's reason (an errno value, 0 when unknown) and how many refused after it.
void ReportTagWriteFailure(const std::string& path, int code, int others);

// The argument of WriteTag that keeps a field as it is.
extern const char* const kKeepTagField; // "n/a"
