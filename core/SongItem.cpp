#include "core/SongItem.h"

const char* const kMissingFileMarker = "不存在";

std::string CSongItem::GetFullPath() const {
    if (fileName == kMissingFileMarker && location.empty()) {
        return fileName;
    }
    return location + "/" + fileName;
}

void CSongItem::CopyFrom(const CSongItem& other) {
    title = other.title;
    artist = other.artist;
    style = other.style;
    time = other.time;
    order = other.order;
    fileName = other.fileName;
    fileType = other.fileType;
    location = other.location;
    size = other.size;
}
