#include "formats/HtmlExport.h"

#include "core/LibraryStore.h"
#include "core/MusicManager.h"
#include "core/PlayListItem.h"
#include "core/SongItem.h"
#include "formats/Format.h"
#include "formats/PathFunctions.h"
#include "platform/FileSystem.h"
#include "platform/TextEncoding.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#ifndef CRICKLET_DATA_DIR
#define CRICKLET_DATA_DIR "/usr/local/share/cricklet"
#endif

namespace {

const char* const kTemplateName = "Template.htm";
const char* const kTemplateTitle = "cricklet音乐单模板";
const char* const kTitleLine = "<title>cricklet音乐单模板</title>";

// A row template being filled. Put-in values are kept apart from the
// template's own text, so a title such as "#pl_artist" is never taken for a
// placeholder of the same row.
class CRowText {
public:
    explicit CRowText(const std::string& text) { m_pieces.push_back({text, false}); }

    // Replaces every occurrence in the template's text by the escaped value.
    void Replace(const std::string& placeholder, const std::string& value) {
        std::vector<Piece> pieces;
        for (const Piece& piece : m_pieces) {
            if (piece.isValue) {
                pieces.push_back(piece);
                continue;
            }
            std::size_t start = 0;
            std::size_t found;
            while ((found = piece.text.find(placeholder, start)) != std::string::npos) {
                pieces.push_back({piece.text.substr(start, found - start), false});
                pieces.push_back({value, true});
                start = found + placeholder.size();
            }
            pieces.push_back({piece.text.substr(start), false});
        }
        m_pieces.swap(pieces);
    }

    std::string Text() const {
        std::string text;
        for (const Piece& piece : m_pieces) {
            text += piece.isValue ? EscapeHtml(piece.text) : piece.text;
        }
        return text;
    }

private:
    struct Piece {
        std::string text;
        bool isValue;
    };
    std::vector<Piece> m_pieces;
};

// Names on disk may be old GBK bytes; the page itself is UTF-8 throughout.
std::string PageText(const std::string& value) {
    return IsValidUtf8(value) ? value : DecodeGb18030(value);
}

std::string OrNotAvailable(const std::string& value) {
    return value.empty() ? std::string("N/A") : PageText(value);
}

std::string EntryRow(const std::string& rowTemplate, const CPlayListItem& entry, int position) {
    CRowText row(rowTemplate);
    row.Replace("#pl_title", OrNotAvailable(entry.title));
    switch (entry.GetType()) {
    case PLTYPE_FOLDER:
        row.Replace("#pl_type", "文件夹");
        break;
    case PLTYPE_M3U:
        row.Replace("#pl_type", "m3u");
        break;
    case PLTYPE_PLS:
        row.Replace("#pl_type", "pls");
        break;
    default:
        break; // other playlist types keep the placeholder text
    }
    row.Replace("#pl_artist", OrNotAvailable(entry.artist));
    row.Replace("#pl_style", StyleName(entry.style));
    row.Replace("#pl_count", FormatNumber(entry.count));
    row.Replace("#pl_time", FormatDuration(entry.time));
    row.Replace("link_name", FormatNumber(position));
    return row.Text();
}

std::string EntryHeader(const std::string& headerTemplate, const CPlayListItem& entry,
                        int position) {
    CRowText header(headerTemplate);
    header.Replace("link_index", FormatNumber(position));
    header.Replace("#pl_title_line", PageText(entry.title));
    return header.Text();
}

std::string SongRow(const std::string& rowTemplate, const CSongItem& song) {
    CRowText row(rowTemplate);
    row.Replace("#m_title", OrNotAvailable(song.title));
    row.Replace("#m_artist", OrNotAvailable(song.artist));
    row.Replace("#m_genre", StyleName(song.style));
    row.Replace("#m_time", FormatDuration(song.time));
    row.Replace("#m_index", FormatNumber(song.order));
    row.Replace("#m_ftype", PageText(song.fileType));
    row.Replace("#m_fsize", FormatSizeKB(song.size));
    row.Replace("file_path", PageText(song.GetFullPath()));
    return row.Text();
}

bool Contains(const std::string& line, const char* marker) {
    return line.find(marker) != std::string::npos;
}

// Where the template reader stands; the sections come in this order.
enum class CSection { Head, EntryRow, Middle, EntryHeader, ColumnHeader, SongRow, Done };

// The collected row sections; a section the template ended inside of stays
// incomplete and is left out of the page.
struct CCollectedSections {
    std::string entryHeader;
    std::string columnHeader;
    std::string songRow;
    bool entryHeaderComplete = false;
    bool columnHeaderComplete = false;
    bool songRowComplete = false;
};

void WriteEntryTables(const CCollectedSections& sections, const CMusicList& entries,
                      std::string& page) {
    if (!sections.entryHeaderComplete) {
        return; // a template without entry tables gives none
    }
    int position = 1;
    for (const CEntryPtr& entry : entries) {
        page += EntryHeader(sections.entryHeader, *entry, position++);
        if (sections.columnHeaderComplete) {
            page += sections.columnHeader;
        }
        if (sections.songRowComplete) {
            // A count larger than the list (a hand-edited store file) must not
            // reach past the songs.
            int songCount = std::min(entry->count, entry->songs.GetCount());
            for (int j = 1; j <= songCount; ++j) {
                page += SongRow(sections.songRow, *entry->songs.GetAt(j));
            }
        }
        page += "</table>\n";
    }
}

} // namespace

std::string EscapeHtml(const std::string& text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

namespace {

std::string& DataFolderSetting() {
    static std::string folder = CRICKLET_DATA_DIR;
    return folder;
}

} // namespace

std::string InstalledDataFolder() {
    return DataFolderSetting();
}

void SetInstalledDataFolder(const std::string& folder) {
    DataFolderSetting() = folder;
}

void FindDataFolderBesideProgram(const std::string& programFolder) {
    const std::string folder = JoinPath(FolderPart(programFolder), "share/cricklet");
    struct stat info {};
    if (!programFolder.empty() && ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        SetInstalledDataFolder(folder);
    }
}

std::string FindInstalledFile(const std::string& workDirectory, const std::string& relativePath) {
    std::string own = JoinPath(workDirectory, relativePath);
    if (FileExists(own)) {
        return own;
    }
    std::string installed = JoinPath(InstalledDataFolder(), relativePath);
    return FileExists(installed) ? installed : own;
}

std::string BuildHtmlPage(const std::vector<std::string>& templateLines,
                          const std::string& pageTitle, const CMusicList& entries) {
    std::string page;
    std::string entryRow;
    CCollectedSections sections;
    CSection section = CSection::Head;

    for (std::size_t i = 0; i < templateLines.size() && section != CSection::Done; ++i) {
        std::string line = ToLowerAscii(templateLines[i]);
        switch (section) {
        case CSection::Head:
            if (Contains(line, "</tr>")) {
                section = CSection::EntryRow; // the separator line itself is dropped
                break;
            }
            if (Contains(line, kTitleLine)) {
                CRowText titleLine(line);
                titleLine.Replace(kTemplateTitle, PageText(pageTitle));
                line = titleLine.Text();
            }
            page += line + "\n";
            break;
        case CSection::EntryRow:
            entryRow += line + "\n";
            if (Contains(line, "</tr>")) {
                int position = 1;
                for (const CEntryPtr& entry : entries) {
                    page += EntryRow(entryRow, *entry, position++);
                }
                section = CSection::Middle;
            }
            break;
        case CSection::Middle:
            page += line + "\n";
            if (Contains(line, "</table>")) {
                section = CSection::EntryHeader;
            }
            break;
        case CSection::EntryHeader:
            sections.entryHeader += line + "\n";
            if (Contains(line, "#pl_title_line")) {
                sections.entryHeaderComplete = true;
                section = CSection::ColumnHeader;
            }
            break;
        case CSection::ColumnHeader:
            if (Contains(line, "</tr>")) {
                sections.columnHeaderComplete = true;
                section = CSection::SongRow;
                break;
            }
            sections.columnHeader += line + "\n";
            break;
        case CSection::SongRow:
            sections.songRow += line + "\n";
            if (Contains(line, "</tr>")) {
                sections.songRowComplete = true;
                section = CSection::Done;
            }
            break;
        case CSection::Done:
            break;
        }
    }

    WriteEntryTables(sections, entries, page);
    page += "</body>\n";
    page += "</html>\n";
    return page;
}

bool CLibraryStore::ExportHtml(const std::string& path, const CMusicList& entries) {
    std::string templatePath = FindInstalledFile(m_pManager->config.WorkDirectory, kTemplateName);
    std::string bytes;
    errno = 0;
    if (!ReadFileBytes(templatePath, bytes)) {
        ReportFileError(templatePath, errno != 0 ? errno : EIO);
        return false;
    }
    std::vector<std::string> lines = SplitLines(DecodeText(bytes));
    std::string page = BuildHtmlPage(lines, TitlePart(NamePart(path)), entries);
    return WriteFileAtomically(path, page);
}
