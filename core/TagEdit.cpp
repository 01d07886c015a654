#include "core/TagEdit.h"

#include "audio/GenreNames.h"
#include "formats/Format.h"
#include "platform/Platform.h"

#include <cerrno>
#include <cstring>

const char* const kKeepTagField = "n/a";

CTagFields TagFieldsOf(const Mp3Info& info) {
    CTagFields fields;
    if (!info.hasTag) {
        return fields;
    }
    // The ID3v1 tag itself, whatever other tags the file carries.
    fields.title = info.tag.GetTitle();
    fields.artist = info.tag.GetArtist();
    fields.album = info.tag.GetAlbum();
    fields.comment = info.tag.GetComment();
    fields.year = info.tag.GetYear();
    fields.genreIndex = FindGenreIndex(info.tag.GenreName());
    return fields;
}

bool WriteTagFields(Mp3Info& info, const CTagFields& fields) {
    const bool chosen = fields.genreIndex >= 0 && fields.genreIndex < kGenreCount;
    return WriteTagReported(info, fields.title, fields.artist, fields.album,
                            FormatNumber(fields.year), fields.comment, kKeepTagField,
                            chosen ? GenreNames[fields.genreIndex] : kKeepTagField);
}

bool WriteTagReported(Mp3Info& info, const std::string& title, const std::string& artist,
                      const std::string& album, const std::string& year, const std::string& comment,
                      const std::string& track, const std::string& genre) {
    // WriteTag returns right after the failing system call, whose errno
    // names the reason.
    errno = 0;
    if (info.WriteTag(title, artist, album, year, comment, track, genre) == MP3_OK) {
        return true;
    }
    ReportTagWriteFailure(info.path, errno, 0);
    return false;
}

void ReportTagWriteFailure(const std::string& path, int code, int others) {
    const std::string reason = code != 0 ? std::strerror(code) : "写入失败";
    std::string text = "无法将资料写入音乐文件\"" + path + "\"";
    if (others > 0) {
        text += "及其他 " + std::to_string(others) + " 个文件";
    }
    text += "：" + reason + (others > 0 ? "。这些文件保持原样。" : "。文件保持原样。");
    Platform().ShowMessage(text, kAppTitle, CMessageIcon::Warning);
}
