#include "audio/SongFile.h"

#include "audio/Mp3Info.h"
#include "audio/TagLibAudioFile.h"
#include "formats/PathFunctions.h"
#include "platform/TextEncoding.h"

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

std::string WithoutTrailingSpaces(std::string text) {
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

// Latin-1 bytes of a text, "?" for characters beyond it: how taggers that
// know no other code page fill the ID3v1 tag.
std::string Latin1Form(const std::string& utf8) {
    std::string bytes;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            bytes += static_cast<char>(lead);
        } else if ((lead == 0xC2 || lead == 0xC3) && i + 1 < utf8.size()) {
            bytes += static_cast<char>(((lead & 0x03) << 6) | (utf8[++i] & 0x3F));
        } else if ((lead & 0xC0) == 0xC0) {
            bytes += '?';
        }
    }
    return bytes;
}

// The ID3v1 field holds the ID3v2 text itself, or as much of it as 30
// bytes take: cut at a character (this program) or at a byte, in GBK or
// in Latin-1.
bool IsCutFrom(const std::string& v1Bytes, const std::string& v2Text) {
    const std::size_t width = Id3v1Tag::kTextWidth;
    std::string forms[] = {EncodeGb18030Cut(v2Text, width), EncodeGb18030(v2Text).substr(0, width),
                           Latin1Form(v2Text).substr(0, width)};
    for (const std::string& form : forms) {
        if (WithoutTrailingSpaces(form) == v1Bytes) {
            return true;
        }
    }
    return false;
}

// Which tag names a song: a tag written through this program (ID3v1) wins
// over an older ID3v2 text, unless it says nothing or only repeats the
// ID3v2 text cut to its field. Empty when neither names anything.
std::string ChooseTagText(bool hasV1, const std::string& v1Bytes, const std::string& v2Text) {
    std::string v1Text = hasV1 ? DecodeGb18030(v1Bytes) : std::string();
    if (IsTagText(v2Text) && (!IsTagText(v1Text) || IsCutFrom(v1Bytes, v2Text))) {
        return v2Text;
    }
    return IsTagText(v1Text) ? v1Text : std::string();
}

// FillSongFromFile for a path known to name a regular file; both public
// functions have looked it up already.
void FillFromRegularFile(CSongItem* song, const std::string& path) {
    song->title = TitlePart(NamePart(path));
    song->artist = kUnknownArtist;
    song->style = kStyleNotAvailable;
    song->time = 0;
    CAudioFileInfo other;
    if (ReadTagLibAudioFile(path, other)) {
        song->title = IsTagText(other.title) ? other.title : song->title;
        song->artist = IsTagText(other.artist) ? other.artist : song->artist;
        song->time = other.seconds;
        return;
    }
    if (!IsMp3Name(path)) {
        return;
    }
    Mp3Info mp3;
    if (mp3.Open(path) != MP3_OK) {
        return;
    }
    std::string title = ChooseTagText(mp3.hasTag, mp3.tag.TitleBytes(), mp3.tagV2.title);
    std::string artist = ChooseTagText(mp3.hasTag, mp3.tag.ArtistBytes(), mp3.tagV2.artist);
    if (!title.empty()) {
        song->title = title;
    }
    if (!artist.empty()) {
        song->artist = artist;
    }
    song->time = mp3.LengthSeconds();
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
        FillFromRegularFile(song, path);
    }
    return true;
}

bool FillSongFromFile(CSongItem* song, const std::string& path) {
    struct stat info {};
    if (song == nullptr || !StatRegularFile(path, info)) {
        return false;
    }
    FillFromRegularFile(song, path);
    return true;
}

std::string ReadArtistFromFile(const std::string& path) {
    CAudioFileInfo other;
    if (ReadTagLibAudioFile(path, other)) {
        return IsTagText(other.artist) ? other.artist : kUnknownArtist;
    }
    if (!IsMp3Name(path)) {
        return kUnknownArtist;
    }
    Mp3Info mp3;
    if (mp3.Open(path) != MP3_OK) {
        return kUnknownArtist;
    }
    std::string artist = ChooseTagText(mp3.hasTag, mp3.tag.ArtistBytes(), mp3.tagV2.artist);
    return artist.empty() ? kUnknownArtist : artist;
}
