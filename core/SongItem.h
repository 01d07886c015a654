// One music file of the library: what the song pane shows in a row.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

// The file name of a song whose file was not found.
extern const char* const kMissingFileMarker; // "不存在"

class CSongItem {
public:
    virtual ~CSongItem() = default;

    std::string title;
    std::string artist;
    int style = 2001;      // style code, 2001 to 2016
    int time = 0;          // playing time in whole seconds
    int order = 0;         // position in the entry that numbered it last
    std::string fileName;  // name with extension, or the missing-file marker
    std::string fileType;  // lower-case extension without the point
    std::string location;  // the file's folder, without a trailing "/"
    std::int64_t size = 0; // file size in bytes

    // location + "/" + fileName; the marker alone for a missing file
    // without a location.
    std::string GetFullPath() const;
    void CopyFrom(const CSongItem& other);
};

using CSongPtr = std::shared_ptr<CSongItem>;
