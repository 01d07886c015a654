#include "formats/ListFile.h"

// Placeholder bodies; the list-file reader and writer replace them.
bool WriteMusicListFile(const std::string&, const CMusicList&) {
    return false;
}
bool ReadMusicListFile(const std::string&, CMusicList&) {
    return false;
}
bool WriteSongStoreFile(const std::string&, const CSongList&) {
    return false;
}
bool ReadSongStoreFile(const std::string&, CSongList&) {
    return false;
}
void FormatSongRecord(const CSongItem&, std::string&) {}
void FormatEntryRecord(const CPlayListItem&, std::string&) {}
void SplitRecordLine(const std::string&, std::string& key, std::string& value) {
    key.clear();
    value.clear();
}
void CollectAllSongs(CSongList& songs, const CMusicList& list) {
    songs.RemoveAll();
    for (const auto& entry : list) {
        for (const auto& song : entry->songs) {
            songs.AddTail(song);
        }
    }
}
