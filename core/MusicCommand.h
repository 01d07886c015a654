// One library command: a code with integer and text arguments, built by a
// user-interface handler and executed by the music manager.
#pragma once

#include <string>
#include <vector>

enum : int {
    MCMD_IMPORT_LIST = 1002,
    MCMD_EXPORT_LIST = 1003,
    MCMD_IMPORT_FOLDER = 1006,
    MCMD_ADD_M3U = 1008,
    MCMD_REMOVE_ENTRIES = 1009,
    MCMD_CLEAR_LIBRARY = 1010,
    MCMD_PLAY_SELECTION = 1011,
    MCMD_PLAY_ARTIST = 1012,
    MCMD_PLAY_RANDOM_ENTRIES = 1015,
    MCMD_PLAY_RANDOM_SONGS = 1016,
    MCMD_PLAY_ENTRIES_SHUFFLED = 1017,
    MCMD_OPEN_HELP = 1020,
    MCMD_OPEN_HOMEPAGE = 1023,
    MCMD_OPEN_DOWNLOAD_PAGE = 1024,
    MCMD_FOLDER_TO_M3U = 1030,
    MCMD_ALL_FOLDERS_TO_M3U = 1031,
    MCMD_ADD_SONG = 1032,
    MCMD_REMOVE_SONGS = 1033,
    MCMD_PLAY_SONGS_SHUFFLED = 1034,
    MCMD_WRITE_TAGS = 1036,
    MCMD_EXPLORE_ENTRY = 1050,
    MCMD_EXPLORE_SONG = 1051,
    MCMD_SAVE_ENTRY_M3U = 1052,
    MCMD_EXPORT_HTML = 1104,
};

class CMusicCommand {
public:
    CMusicCommand(int code, int intCount, int stringCount);
    virtual ~CMusicCommand() = default;

    int code;
    std::vector<int> ints;
    std::vector<std::string> strings;
    int intCount;
    int stringCount;

    // The element, or -1 / "" when index is outside the array.
    int GetInt(int index) const;
    std::string GetString(int index) const;
    // Stores the value when index is inside the array; otherwise nothing.
    void SetInt(int value, int index);
    void SetString(const std::string& value, int index);
};
