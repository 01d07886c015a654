// The user's settings and the configuration file "Cricklet.ini".
#pragma once

#include <string>
#include <vector>

class CSongItem;
class CPlayListItem;
struct CStoreRead;

struct FileTypeEntry {
    std::string extension; // without the point
    int enabled = 0;       // imported only when exactly 1
};

class CAppConfig {
public:
    virtual ~CAppConfig() = default;

    int IsFirstUse = 0;
    std::string RecentDirectory;
    std::string WorkDirectory;
    int IsUseDefaultPlayer = 0;
    std::string PlayerPath;
    int IsImportDir = 0;
    int IsHideWhenMin = 0;
    int IsExitAlert = 0;
    int IconPlaylistID = 0;
    int IconMusicID = 0;
    std::vector<FileTypeEntry> fileTypes;
    int DlgEditPlaylistUF = 0;
    int DlgEditMusicUF = 0;
    int EnableEyeProtector = 0;
    int DelayOfEyeProtector = 0;
    int MenuStatus = 0;

    void SetDefaults();
    bool IsSupportedExtension(const std::string& extension) const;
    // The filter text of the add-song file dialog.
    std::string GetMusicFileFilter() const;

    // Writes the play set to "Cache.m3u" in WorkDirectory and hands it to
    // the player; the set is not kept.
    void PlayEntry(const CPlayListItem& playSet);
    // Opens paths[0] with the desktop, or starts PlayerPath with the quoted
    // paths as its parameter (at most 255 bytes).
    void LaunchPlayer(const std::vector<std::string>& paths);
};

// The ten default file-type rows, in the order the settings dialog shows them.
// The formats read through TagLib (flac, ogg, opus, m4a, ape, wv) have no
// row until the settings dialog switches one on, so a new Cricklet.ini
// holds the ten rows only.
const std::vector<FileTypeEntry>& SupportedFileTypes();

// key + " = " + value + ";" + line end.
std::string MakeRecordLine(const std::string& key, const std::string& value);

bool WriteConfigFile(const std::string& path, const CAppConfig& config);
bool ReadConfigFile(const std::string& path, CAppConfig& config);
// The same, telling how the file read (see CStoreRead). A file that holds
// no record line leaves the defaults.
CStoreRead ReadConfigFileChecked(const std::string& path, CAppConfig& config);
