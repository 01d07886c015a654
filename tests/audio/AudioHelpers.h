// Frame formats, whole files and the message boxes that the MP3 code showed
// through a recording platform, for the audio tests.
#pragma once

#include "support/Mp3Bytes.h"
#include "support/RecordingPlatform.h"

#include <string>
#include <vector>

inline Mp3FrameFormat Format(int version, int layer, int bitrateIndex = 9, bool mono = false,
                             int sampleRateIndex = 1) {
    Mp3FrameFormat format;
    format.version = version;
    format.layer = layer;
    format.bitrateIndex = bitrateIndex;
    format.mono = mono;
    format.sampleRateIndex = sampleRateIndex;
    return format;
}

// A minute of MPEG-1 Layer III at 128 kbit/s (48 kHz) between the tags.
inline std::string MinuteWithTags(const std::string& id3v2, const std::string& id3v1) {
    Mp3FileLayout layout;
    layout.format.sampleRateIndex = 1;
    layout.frames = 2500;
    layout.id3v1 = id3v1;
    return id3v2 + Mp3FileBytes(layout);
}

inline std::string PlainBox(const std::string& text, const std::string& caption) {
    return "[" + caption + "] " + text;
}

// One line per message or question shown: "[caption] text", questions marked.
inline std::vector<std::string> ShownBoxes(const CRecordingPlatform& platform) {
    std::vector<std::string> boxes;
    for (const CRecordedMessage& message : platform.messages) {
        std::string mark = message.icon == CMessageIcon::None       ? ""
                           : message.icon == CMessageIcon::Question ? "? "
                                                                    : "! ";
        boxes.push_back(mark + PlainBox(message.text, message.caption));
    }
    return boxes;
}

const std::string kNoMp3Header = "The file that was opened\nwas no correct .mp3-file";
