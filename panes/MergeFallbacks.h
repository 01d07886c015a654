// Temporary stand-ins for the display formatting and sorting until they are
// merged; removed then.
#pragma once

#if __has_include("formats/Format.h")
#include "formats/Format.h"
#else

#include <cstdint>
#include <cstdio>
#include <string>

inline std::string FormatNumber(std::int64_t number) {
    return std::to_string(number);
}
inline std::string FormatDuration(int seconds) {
    if (seconds <= 0) {
        return "Unknown";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d", seconds / 60, seconds % 60);
    return text;
}
inline std::string FormatLongDuration(int seconds) {
    if (seconds <= 0) {
        return "Unknown";
    }
    char text[40];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return text;
}
inline std::string FormatSizeKB(std::int64_t bytes) {
    return std::to_string(static_cast<std::uint32_t>(bytes) / 1000) + "KB";
}
inline std::string StyleName(int code) {
    return code == 2001 ? "N/A" : "未知";
}
#endif

#if __has_include("core/Sorting.h")
#include "core/Sorting.h"
#else
#include "core/PositionList.h"
inline void SortEntries(CMusicList&, int, bool) {}
inline void SortSongs(CSongList&, int, bool) {}
#endif
