// Music files of the formats other than MP3 that people keep today (FLAC,
// Ogg Vorbis, Opus, M4A, WMA, WAV, APE, WavPack), read through TagLib: the
// playing time and the first title and artist of their tags.
#pragma once

#include <string>

struct CAudioFileInfo {
    std::string title;  // UTF-8; empty when the file names none
    std::string artist; // the first artist, UTF-8
    int seconds = 0;
};

// True for the lower-case extensions read through TagLib.
bool IsTagLibExtension(const std::string& extension);

// Reads the file at path by its extension. False when the extension is not
// one of them or the file is not a readable file of that format.
bool ReadTagLibAudioFile(const std::string& path, CAudioFileInfo& info);
