#include "formats/AppConfig.h"

#include "formats/ListFile.h"
#include "platform/FileSystem.h"
#include "platform/TextEncoding.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <utility>

namespace {

const char* const kConfigHeader = "[Cricklet Configuration List]";

// A number value, held at the int limits when it is out of range.
int ParseNumber(const std::string& value) {
    std::int64_t number = ParseRecordNumber(value);
    return static_cast<int>(std::clamp<std::int64_t>(number, INT_MIN, INT_MAX));
}

// Numbers and texts from the lines of the file, one line after the other.
class CConfigLines {
public:
    explicit CConfigLines(std::string text) : m_cursor(std::move(text)) {}

    bool AtEnd() const { return m_cursor.AtEnd(); }
    void Skip() { m_cursor.Skip(1); }
    void Next(std::string& key, std::string& value) {
        std::string_view keyView, valueView;
        SplitRecordLine(m_cursor.Next(), keyView, valueView);
        key.assign(keyView);
        value.assign(valueView);
    }
    std::string NextText() {
        std::string key, value;
        Next(key, value);
        return value;
    }
    int NextNumber() { return ParseNumber(NextText()); }

private:
    CLineCursor m_cursor;
};

// The settings dialog maps its check boxes to the first ten rows by position.
// Puts the first row of each default extension in its default place; a
// default missing from the file is added switched off, so the repair never
// imports a type the file did not enable. Other rows follow in file order.
void RepairFileTypes(std::vector<FileTypeEntry>& fileTypes) {
    std::vector<FileTypeEntry> repaired;
    std::vector<FileTypeEntry> others = fileTypes;
    for (const FileTypeEntry& standard : SupportedFileTypes()) {
        FileTypeEntry row{standard.extension, 0};
        for (auto it = others.begin(); it != others.end(); ++it) {
            if (it->extension == standard.extension) {
                row = *it;
                others.erase(it);
                break;
            }
        }
        repaired.push_back(row);
    }
    repaired.insert(repaired.end(), others.begin(), others.end());
    fileTypes.swap(repaired);
}

std::string Number(int value) {
    return std::to_string(value);
}

} // namespace

void CAppConfig::SetDefaults() {
    IsFirstUse = 1;
    IsUseDefaultPlayer = 1;
    IsImportDir = 1;
    IsHideWhenMin = 1;
    IsExitAlert = 1;
    IconPlaylistID = 1;
    IconMusicID = 1;
    DlgEditPlaylistUF = 1;
    DlgEditMusicUF = 0;
    EnableEyeProtector = 0;
    MenuStatus = 0;
    DelayOfEyeProtector = 60;
    fileTypes = SupportedFileTypes();
}

bool CAppConfig::IsSupportedExtension(const std::string& extension) const {
    for (const FileTypeEntry& row : fileTypes) {
        if (row.extension == extension && row.enabled == 1) {
            return true;
        }
    }
    return false;
}

// In the form of a Qt file dialog: "description (patterns)" items joined by
// ";;". The descriptions are those of the original dialog; the RealAudio item
// also lists *.rm and the MIDI pattern has its point.
// The formats read through TagLib follow in an item of their own.
std::string CAppConfig::GetMusicFileFilter() const {
    return "所有支持的音乐文件 (*.mp3 *.mpga *.rm *.ra *.ram *.mid *.midi *.wav *.wma *.voc "
           "*.flac *.ogg *.opus *.m4a *.ape *.wv);;"
           "MPEG Audio 文件 (*.mp3 *.mpga);;"
           "RealAudio 文件 (*.rm *.ra *.ram);;"
           "Standard MIDI 文件 (*.mid *.midi);;"
           "Microsoft Audio 文件 (*.wav *.wma);;"
           "Creative Lab Voice 文件 (*.voc);;"
           "FLAC, Ogg, Opus, M4A, APE, WavPack 文件 (*.flac *.ogg *.opus *.m4a *.ape *.wv);;"
           "All files (*)";
}

const std::vector<FileTypeEntry>& SupportedFileTypes() {
    static const std::vector<FileTypeEntry> types = {
        {"mp3", 1}, {"mpga", 1}, {"rm", 0},  {"ra", 0},  {"ram", 0},
        {"mid", 1}, {"midi", 0}, {"wav", 0}, {"wma", 0}, {"voc", 0},
    };
    return types;
}

std::string MakeRecordLine(const std::string& key, const std::string& rawValue) {
    // A line break in a path would shift every later line of the file.
    std::string value = CleanTextValue(rawValue);
    return key + " = " + value + ";\n";
}

bool WriteConfigFile(const std::string& path, const CAppConfig& config) {
    std::string text = std::string(kConfigHeader) + "\n";
    text += MakeRecordLine("IsUseDefaultPlayer", Number(config.IsUseDefaultPlayer));
    text += MakeRecordLine("PlayerPath", config.PlayerPath);
    text += MakeRecordLine("IsFirstUse", Number(config.IsFirstUse));
    text += MakeRecordLine("RecentDirectory", config.RecentDirectory);
    text += MakeRecordLine("WorkDirectory", config.WorkDirectory);
    text += MakeRecordLine("IsImportDir", Number(config.IsImportDir));
    text += MakeRecordLine("IsHideWhenMin", Number(config.IsHideWhenMin));
    text += MakeRecordLine("IsExitAlert", Number(config.IsExitAlert));
    text += MakeRecordLine("IconPlaylistID", Number(config.IconPlaylistID));
    text += MakeRecordLine("IconMusicID", Number(config.IconMusicID));
    text +=
        MakeRecordLine("SupportedFileTypeCount", Number(static_cast<int>(config.fileTypes.size())));
    for (const FileTypeEntry& row : config.fileTypes) {
        text += MakeRecordLine(row.extension, Number(row.enabled));
    }
    text += MakeRecordLine("DlgEditPlaylistUF", Number(config.DlgEditPlaylistUF));
    text += MakeRecordLine("DlgEditMusicUF", Number(config.DlgEditMusicUF));
    text += MakeRecordLine("EnableEyeProtector", Number(config.EnableEyeProtector));
    text += MakeRecordLine("DelayOfEyeProtector", Number(config.DelayOfEyeProtector));
    text += MakeRecordLine("MenuStatus", Number(config.MenuStatus));
    return WriteFileAtomically(path, text);
}

namespace {

// Positional: every line sets the field of its place, whatever its key says.
// False when the file has fewer file-type rows than its count line says.
bool ReadConfigText(std::string text, CAppConfig& config) {
    CConfigLines cursor(std::move(text));
    cursor.Skip(); // the header
    config.IsUseDefaultPlayer = cursor.NextNumber();
    config.PlayerPath = cursor.NextText();
    config.IsFirstUse = cursor.NextNumber();
    config.RecentDirectory = cursor.NextText();
    config.WorkDirectory = cursor.NextText();
    config.IsImportDir = cursor.NextNumber();
    config.IsHideWhenMin = cursor.NextNumber();
    config.IsExitAlert = cursor.NextNumber();
    config.IconPlaylistID = cursor.NextNumber();
    config.IconMusicID = cursor.NextNumber();

    int rowCount = cursor.NextNumber();
    config.fileTypes.clear();
    for (int row = 0; row < rowCount && !cursor.AtEnd(); ++row) {
        FileTypeEntry entry;
        std::string value;
        cursor.Next(entry.extension, value);
        entry.enabled = ParseNumber(value);
        config.fileTypes.push_back(entry);
    }
    bool whole = static_cast<int>(config.fileTypes.size()) >= rowCount;
    RepairFileTypes(config.fileTypes);

    config.DlgEditPlaylistUF = cursor.NextNumber();
    config.DlgEditMusicUF = cursor.NextNumber();
    config.EnableEyeProtector = cursor.NextNumber();
    config.DelayOfEyeProtector = cursor.NextNumber();
    config.MenuStatus = cursor.NextNumber();
    return whole;
}

} // namespace

CStoreRead ReadConfigFileChecked(const std::string& path, CAppConfig& config) {
    std::string text;
    CStoreRead read = ReadStoreText(path, kConfigFileLimit, text);
    if (read.status != CStoreStatus::Whole) {
        return read;
    }
    // Text without a single record line is no settings file: nothing in it
    // may stand for a setting (least of all for the folder saves go to).
    std::size_t body = text.compare(0, std::strlen(kConfigHeader), kConfigHeader) == 0
                           ? std::strlen(kConfigHeader)
                           : 0;
    bool blank = text.find_first_not_of(" \t\r\n", body) == std::string::npos;
    if (!blank && text.find(" = ", body) == std::string::npos) {
        config = CAppConfig();
        config.SetDefaults();
        MarkDamaged(read, path);
        return read;
    }
    if (!ReadConfigText(std::move(text), config)) {
        MarkDamaged(read, path);
    }
    return read;
}

bool ReadConfigFile(const std::string& path, CAppConfig& config) {
    CStoreStatus status = ReadConfigFileChecked(path, config).status;
    return status == CStoreStatus::Whole || status == CStoreStatus::Damaged;
}
