// The 128-byte ID3v1 tag at the end of an MP3 file, in its 1.0 form and its
// 1.1 form with a track number. Texts are GBK (GB18030) bytes in the file and
// UTF-8 in the accessors.
#pragma once

#include <cstddef>
#include <string>

enum class Id3v1Version { V1_0, V1_1 };

class Id3v1Tag {
public:
    static constexpr std::size_t kSize = 128;
    static constexpr std::size_t kTextWidth = 30;

    // Fills the fields from a tag image and returns true when it starts with
    // "TAG"; otherwise returns false and changes nothing.
    bool Parse(const unsigned char bytes[kSize]);
    // Writes the image of the current fields.
    void Build(unsigned char bytes[kSize]) const;

    std::string GetTitle() const;
    // The title and artist as the file holds them (GB18030 bytes or whatever
    // another tagger wrote), for telling whether they were cut from a text.
    const std::string& TitleBytes() const { return m_title; }
    const std::string& ArtistBytes() const { return m_artist; }
    std::string GetArtist() const;
    std::string GetAlbum() const;
    std::string GetComment() const;
    // A text is cut to 30 bytes in the file's encoding, at a character boundary.
    void SetTitle(const std::string& text);
    void SetArtist(const std::string& text);
    void SetAlbum(const std::string& text);
    void SetComment(const std::string& text);

    int GetYear() const { return m_year; }
    void SetYear(int year) { m_year = year; }

    // -1 when the tag is a 1.0 tag.
    int GetTrack() const { return m_track; }
    Id3v1Version GetVersion() const { return m_version; }
    // -1 makes a 1.0 tag, 0..255 a 1.1 tag with that track; any other value
    // is refused with a message and changes nothing.
    void SetTrack(int track);

    int GetGenre() const { return m_genre; }
    // The genre's name, or "not supported" for 126 and above.
    std::string GenreName() const;
    // Picks the genre whose name equals name, ASCII case ignored. An unknown
    // name asks whether to store "not supported" (255) instead.
    void SetGenreByName(const std::string& name);

private:
    // Texts as stored in the file: GB18030 bytes, at most 30 of them.
    std::string m_title;
    std::string m_artist;
    std::string m_album;
    std::string m_comment;
    int m_year = 0;
    int m_track = -1;
    Id3v1Version m_version = Id3v1Version::V1_0;
    unsigned char m_genre = 255;
};
