// Byte images of MP3 files, built in memory by tests: frame headers, whole
// frames of silence, Xing frames, ID3v2 and ID3v1 tags.
#pragma once

#include <cstddef>
#include <string>

// The fields of one MPEG audio frame header, as the numbers in its bits.
struct Mp3FrameFormat {
    int version = 3;         // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5, 1 reserved
    int layer = 1;           // 1 Layer III, 2 Layer II, 3 Layer I, 0 reserved
    int bitrateIndex = 9;    // 9 is 128 kbit/s in MPEG-1 Layer III
    int sampleRateIndex = 0; // 0 is 44100 Hz in MPEG-1
    bool mono = false;       // channel mode 3 (single channel), else 0 (stereo)
    bool padding = false;
    int emphasis = 0;
};

// The four header bytes in file order.
std::string Mp3HeaderBytes(const Mp3FrameFormat& format);
// One frame: the header, then zero bytes (silence that never looks like a sync).
std::string Mp3FrameBytes(const Mp3FrameFormat& format);

// ID3v1 fields as raw bytes (GBK for Chinese texts), cut to their field;
// track -1 makes a 1.0 tag; pad fills each text field after its text.
struct Id3v1Fields {
    std::string title;
    std::string artist;
    std::string album;
    std::string year;
    std::string comment;
    int track = -1;
    int genre = 255;
    char pad = '\0';
};

// The 128 bytes of the tag, starting with "TAG".
std::string Id3v1TagBytes(const Id3v1Fields& fields);

// A whole file: an optional ID3v2 tag, leading zero bytes, the frames (the
// first one a Xing frame when asked), an optional ID3v1 tag.
struct Mp3FileLayout {
    Mp3FrameFormat format;
    int frames = 10;
    std::size_t id3v2Size = 0; // 0: no ID3v2 tag
    bool id3v2Footer = false;
    std::size_t leadingZeros = 0;
    bool xing = false;
    long long xingFrames = -1; // the Xing header's frame count
    std::string id3v1;         // 128 bytes from Id3v1TagBytes, or empty
};

std::string Mp3FileBytes(const Mp3FileLayout& layout);

// One ID3v2 frame of version 3 or 4 (seven-bit sizes in 2.4); claimedSize
// replaces the body's size; formatFlags is the second flag byte.
std::string Id3v2FrameBytes(int version, const std::string& id, const std::string& body,
                            unsigned char formatFlags = 0, long long claimedSize = -1);
// The body of a text frame: the encoding byte, then the text as given.
std::string Id3v2TextBody(int encoding, const std::string& encodedText);
// A tag around frames, with flags and padding; claimedSize replaces the size.
std::string Id3v2TagWithFrames(int version, const std::string& frames, unsigned char flags = 0,
                               std::size_t padding = 0, long long claimedSize = -1);
// Unsynchronisation: a zero byte after every 0xFF.
std::string Id3v2Unsync(const std::string& bytes);
// Frames of the default format, then an ID3v1 tag with this title.
std::string TaggedMp3Bytes(const std::string& title, int frames = 6);
