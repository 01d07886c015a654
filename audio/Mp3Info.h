// One MP3 file as the library sees it: its first frame header, the frame
// count header of that frame (Xing, Info or VBRI), its ID3v1 tag and the
// texts of its ID3v2 tag, and the playing time and average bit rate that
// follow from them. Lives on the caller's stack for one operation.
#pragma once

#include "audio/Id3v1Tag.h"
#include "audio/Id3v2Tag.h"
#include "audio/Mp3Result.h"
#include "audio/MpegHeader.h"
#include "audio/XingHeader.h"

#include <cstdint>
#include <string>

class Mp3Info {
public:
    // How far past the start of the audio the first frame header may begin.
    static constexpr std::int64_t kSearchLimit = 204800;

    MpegHeader header;     // the first valid frame header
    XingHeader vbr;        // the Xing, Info or VBRI header of that frame
    Id3v1Tag tag;          // read from the last 128 bytes when hasTag
    Id3v2Tag tagV2;        // title and artist of the ID3v2 tag when hasTagV2
    bool isVbr = false;    // the first frame carries a Xing, Info or VBRI header
    bool hasTag = false;   // the last 128 bytes start with "TAG"
    bool hasTagV2 = false; // the file starts with an ID3v2 tag
    std::string path;
    std::int64_t fileSize = 0;  // the whole file, tags included
    std::int64_t id3v2Size = 0; // the ID3v2 tag at the start, footer included

    // Reads the file; on failure shows the result's message with the path as
    // caption. The fields below the header are meaningful only after MP3_OK.
    Mp3Result Open(const std::string& filePath);

    // Bytes of audio: the file less its ID3v2 and ID3v1 tags.
    std::int64_t AudioSize() const;
    // kbit/s: the first header's for a constant bit rate (no frame count, or
    // LAME's "Info" header), else the average that the frame count gives.
    int Bitrate() const;
    int FrameCount() const;
    // Whole seconds: frames x samples per frame / sample rate when the file
    // counts its frames, else from the size and the first header's bit
    // rate; 0 when Open failed.
    int LengthSeconds() const;

    std::string GetTitle() const { return tag.GetTitle(); }
    std::string GetArtist() const { return tag.GetArtist(); }
    std::string GetAlbum() const { return tag.GetAlbum(); }
    std::string GetComment() const { return tag.GetComment(); }
    std::string GetGenre() const { return tag.GenreName(); }

    // Sets the tag fields whose argument is not "n/a" and writes the tag into
    // the file opened last: over its ID3v1 tag, or appended when it has none.
    // No other byte of the file changes. MP3_CANNOT_WRITE (nothing shown,
    // nothing written) when the file cannot be opened for writing.
    Mp3Result WriteTag(const std::string& title, const std::string& artist,
                       const std::string& album, const std::string& year,
                       const std::string& comment, const std::string& track,
                       const std::string& genre);

private:
    bool m_opened = false;

    bool UsesXingFrameCount() const;
    int XingAverageBitrate() const;
    void SetTagFields(const std::string& title, const std::string& artist, const std::string& album,
                      const std::string& year, const std::string& comment, const std::string& track,
                      const std::string& genre);
};
