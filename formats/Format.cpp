#include "formats/Format.h"

namespace {

const char* const kUnknownDuration = "Unknown";
const int kUndeterminedStyleIndex = kStyleCount - 1;

// A part of a time: two digits at least ("05"), more when it is larger.
void AppendTimePart(std::string& text, int value) {
    if (value < 10) {
        text += '0';
    }
    text += std::to_string(value);
}

} // namespace

std::string FormatNumber(std::int64_t number) {
    return std::to_string(number);
}

std::string FormatDuration(int seconds) {
    if (seconds <= 0) {
        return kUnknownDuration;
    }
    std::string text;
    AppendTimePart(text, seconds / 60);
    text += ':';
    AppendTimePart(text, seconds % 60);
    return text;
}

std::string FormatLongDuration(int seconds) {
    if (seconds <= 0) {
        return kUnknownDuration;
    }
    std::string text;
    AppendTimePart(text, seconds / 3600);
    text += ':';
    AppendTimePart(text, seconds / 60 % 60);
    text += ':';
    AppendTimePart(text, seconds % 60);
    return text;
}

std::string FormatSizeKB(std::int64_t bytes) {
    return std::to_string(bytes > 0 ? bytes / 1000 : 0) + "KB";
}

const std::vector<std::string>& StyleNames() {
    static const std::vector<std::string> names = {
        "N/A",  "流行",   "摇滚",   "爵士",     "古典",     "新音乐",   "民谣", "乡村乐",
        "说唱", "布鲁斯", "迪斯科", "电影原声", "游戏音乐", "混合风格", "其它", "未知",
    };
    return names;
}

int StyleIndexOf(int code) {
    if (code < kFirstStyleCode || code >= kFirstStyleCode + kStyleCount) {
        return kUndeterminedStyleIndex;
    }
    return code - kFirstStyleCode;
}

int StyleCodeAt(int index) {
    if (index < 0 || index >= kStyleCount) {
        index = kUndeterminedStyleIndex;
    }
    return kFirstStyleCode + index;
}

std::string StyleName(int code) {
    return StyleNames()[StyleIndexOf(code)];
}
