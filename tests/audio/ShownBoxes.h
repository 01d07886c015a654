// The message boxes and questions that the MP3 code showed through a
// recording platform, one line each, for whole-list comparisons.
#pragma once

#include "support/RecordingPlatform.h"

#include <string>
#include <vector>

inline std::string PlainBox(const std::string& text, const std::string& caption) {
    return "plain [" + caption + "] " + text;
}

inline std::string QuestionBox(const std::string& text, const std::string& caption) {
    return "question [" + caption + "] " + text;
}

inline std::vector<std::string> ShownBoxes(const CRecordingPlatform& platform) {
    std::vector<std::string> boxes;
    for (const CRecordedMessage& message : platform.messages) {
        if (message.icon == CMessageIcon::None) {
            boxes.push_back(PlainBox(message.text, message.caption));
        } else if (message.icon == CMessageIcon::Question) {
            boxes.push_back(QuestionBox(message.text, message.caption));
        } else {
            boxes.push_back("other [" + message.caption + "] " + message.text);
        }
    }
    return boxes;
}
