#include "audio/SongFile.h"

#include "audio/Mp3Info.h"
#include "formats/PathFunctions.h"

#include <sys/stat.h>

namespace {

const char* const kUnknownArtist = "N/A";
const int kStyleNotAvailable = 2001;
// Files this small hold no music worth opening; their entry is taken as is.
const std::int64_t kSmallestReadFile = 256;

bool StatRegularFile(const std::string& path, struct stat& info) {
    return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool IsMp3Name(const std::string& path) {
    return ExtensionOf(NamePart(path)) == "mp3";
}

// Taggers that cannot write a text in the tag's code page (Chinese titles
// in a Latin-1 tag) leave one "?" per character: that names nothing, and the
// file's own name is the better title.
bool IsTagText(const std::string& field) {
    return field.find_first_not_of("? ") != std::string::npos;
}

} // namespace

bool ReadSongFile(const std::string& path, CSongItem* song) {
    struct stat info {};
    if (song == nullptr || !StatRegularFile(path, info)) {
        return false;
    }
    song->order = 0;
    song->fileName = NamePart(path);
    song->fileType = ExtensionOf(song->fileName);
    song->location = FolderPart(path);
    song->size = static_cast<std::int64_t>(info.st_size);
    if (song->size > kSmallestReadFile) {
        FillSongFromFile(song, path);
    }
    return true;
}

bool FillSongFromFile(CSongItem* song, const std::string& path) {
    struct stat info {};
    if (song == nullptr || !StatRegularFile(path, info)) {
        return false;
    }
    song->title = TitlePart(NamePart(path));
    song->artist = kUnknownArtist;
    song->style = kStyleNotAvailable;
    song->time = 0;
    if (!IsMp3Name(path)) {
        return true;
    }
    Mp3Info mp3;
    if (mp3.Open(path) != MP3_OK) {
        return true;
    }
    if (mp3.hasTag) {
        std::string title = mp3.GetTitle();
        std::string artist = mp3.GetArtist();
        if (IsTagText(title)) {
            song->title = title;
        }
        if (IsTagText(artist)) {
            song->artist = artist;
        }
    }
    song->time = mp3.LengthSeconds();
    return true;
}

std::string ReadArtistFromFile(const std::string& path) {
    if (!IsMp3Name(path)) {
        return kUnknownArtist;
    }
    Mp3Info mp3;
    if (mp3.Open(path) != MP3_OK || !mp3.hasTag) {
        return kUnknownArtist;
    }
    std::string artist = mp3.GetArtist();
    return IsTagText(artist) ? artist : kUnknownArtist;
}
