// What opening an MP3 file or writing its ID3v1 tag came to, and the English
// messages the MP3 reader shows for it.
#pragma once

#include <string>

enum Mp3Result {
    MP3_OK = 0,
    MP3_CANNOT_WRITE = 1, // the file could not be opened for writing
    MP3_CANNOT_READ = 2,  // the file could not be opened for reading
    MP3_NO_HEADER = 4,    // no valid frame header within the search limit
};

// Shows the message of MP3_CANNOT_READ or MP3_NO_HEADER in a plain message
// box with the caption given (the file's path); other codes show nothing.
void ReportMp3Error(Mp3Result code, const std::string& caption);
