#include "audio/Id3v1Tag.h"

#include "audio/GenreNames.h"
#include "platform/Platform.h"
#include "platform/TextEncoding.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

const char* const kTagCaption = "MP3Info Example";
const std::size_t kTitleOffset = 3;
const std::size_t kArtistOffset = 33;
const std::size_t kAlbumOffset = 63;
const std::size_t kYearOffset = 93;
const std::size_t kYearWidth = 4;
const std::size_t kCommentOffset = 97;
const std::size_t kShortCommentWidth = 28;
const std::size_t kTrackMarkerOffset = 125;
const std::size_t kTrackOffset = 126;
const std::size_t kGenreOffset = 127;

void TrimTrailingSpaces(std::string& text) {
    std::size_t end = text.find_last_not_of(' ');
    text.erase(end == std::string::npos ? 0 : end + 1);
}

// A text field ends at its first NUL; the padding other programs use,
// spaces or NULs, is not part of the text.
std::string ReadTextField(const unsigned char* field, std::size_t width) {
    std::size_t length = 0;
    while (length < width && field[length] != 0) {
        ++length;
    }
    std::string text(reinterpret_cast<const char*>(field), length);
    TrimTrailingSpaces(text);
    return text;
}

// Bytes in one GB18030 character starting at text[i]: one for ASCII, four
// for the four-byte forms (lead, digit, lead, digit), two otherwise.
std::size_t Gb18030CharLength(const std::string& text, std::size_t i) {
    unsigned char lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80 || i + 1 >= text.size()) {
        return 1;
    }
    unsigned char second = static_cast<unsigned char>(text[i + 1]);
    return (second >= '0' && second <= '9') ? 4 : 2;
}

// GB18030 bytes cut to at most maxBytes without splitting a character.
std::string CutGb18030(const std::string& text, std::size_t maxBytes) {
    std::size_t end = 0;
    while (end < text.size()) {
        std::size_t next = end + Gb18030CharLength(text, end);
        if (next > maxBytes) {
            break;
        }
        end = next;
    }
    return text.substr(0, std::min(end, text.size()));
}

// A text that fits is written as it is, so that a field read from a file
// and kept goes back byte for byte, even one whose last character another
// tagger cut in half.
void WriteTextField(unsigned char* field, std::size_t width, std::string text) {
    TrimTrailingSpaces(text);
    if (text.size() > width) {
        text = CutGb18030(text, width);
    }
    std::memcpy(field, text.data(), text.size());
}

std::string EncodeField(const std::string& utf8) {
    return EncodeGb18030Cut(utf8, Id3v1Tag::kTextWidth);
}

} // namespace

bool Id3v1Tag::Parse(const unsigned char bytes[kSize]) {
    if (std::memcmp(bytes, "TAG", 3) != 0) {
        return false;
    }
    m_title = ReadTextField(bytes + kTitleOffset, kTextWidth);
    m_artist = ReadTextField(bytes + kArtistOffset, kTextWidth);
    m_album = ReadTextField(bytes + kAlbumOffset, kTextWidth);
    char year[kYearWidth + 1] = {};
    std::memcpy(year, bytes + kYearOffset, kYearWidth);
    m_year = static_cast<int>(std::strtol(year, nullptr, 10));
    if (bytes[kTrackMarkerOffset] == 0 && bytes[kTrackOffset] != 0) {
        m_version = Id3v1Version::V1_1;
        m_track = bytes[kTrackOffset];
        m_comment = ReadTextField(bytes + kCommentOffset, kShortCommentWidth);
    } else {
        m_version = Id3v1Version::V1_0;
        m_comment = ReadTextField(bytes + kCommentOffset, kTextWidth);
    }
    m_genre = bytes[kGenreOffset];
    return true;
}

void Id3v1Tag::Build(unsigned char bytes[kSize]) const {
    std::memset(bytes, 0, kSize);
    std::memcpy(bytes, "TAG", 3);
    WriteTextField(bytes + kTitleOffset, kTextWidth, m_title);
    WriteTextField(bytes + kArtistOffset, kTextWidth, m_artist);
    WriteTextField(bytes + kAlbumOffset, kTextWidth, m_album);
    std::string year = std::to_string(m_year).substr(0, kYearWidth);
    std::memcpy(bytes + kYearOffset, year.data(), year.size());
    if (m_version == Id3v1Version::V1_1) {
        WriteTextField(bytes + kCommentOffset, kShortCommentWidth, m_comment);
        bytes[kTrackMarkerOffset] = 0;
        bytes[kTrackOffset] = static_cast<unsigned char>(m_track & 0xFF);
    } else {
        WriteTextField(bytes + kCommentOffset, kTextWidth, m_comment);
    }
    bytes[kGenreOffset] = m_genre;
}

std::string Id3v1Tag::GetTitle() const {
    return DecodeGb18030(m_title);
}

std::string Id3v1Tag::GetArtist() const {
    return DecodeGb18030(m_artist);
}

std::string Id3v1Tag::GetAlbum() const {
    return DecodeGb18030(m_album);
}

std::string Id3v1Tag::GetComment() const {
    return DecodeGb18030(m_comment);
}

void Id3v1Tag::SetTitle(const std::string& text) {
    m_title = EncodeField(text);
}

void Id3v1Tag::SetArtist(const std::string& text) {
    m_artist = EncodeField(text);
}

void Id3v1Tag::SetAlbum(const std::string& text) {
    m_album = EncodeField(text);
}

void Id3v1Tag::SetComment(const std::string& text) {
    m_comment = EncodeField(text);
}

void Id3v1Tag::SetTrack(int track) {
    if (track == -1) {
        m_version = Id3v1Version::V1_0;
        m_track = -1;
    } else if (track >= 0 && track <= 255) {
        m_version = Id3v1Version::V1_1;
        m_track = track;
    } else {
        Platform().ShowMessage("The tracknumber, should be between 0 and 255", kTagCaption,
                               CMessageIcon::None);
    }
}

std::string Id3v1Tag::GenreName() const {
    return m_genre < kGenreCount ? GenreNames[m_genre] : "not supported";
}

void Id3v1Tag::SetGenreByName(const std::string& name) {
    std::string wanted = ToLowerAscii(name);
    for (int index = 0; index < kGenreCount; ++index) {
        if (ToLowerAscii(GenreNames[index]) == wanted) {
            m_genre = static_cast<unsigned char>(index);
            return;
        }
    }
    std::string question =
        "the genre " + name + " couldn't be found\ndo you want to set it to \"not supported\"?";
    if (Platform().AskYesNo(question, kTagCaption) == CAnswer::Yes) {
        m_genre = 255;
    }
}
