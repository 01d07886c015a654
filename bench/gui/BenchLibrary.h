// A working folder for the window benchmarks: PlayList.stp, MusicList.ckp
// and Cricklet.ini for a library of entryCount entries of songsPerEntry songs,
// and an empty file for every song (the readers mark songs whose files are
// gone). The process changes into the folder; it is removed at the end.
#pragma once

#include "formats/AppConfig.h"
#include "formats/ListFile.h"

#include <QDir>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

class CBenchLibrary {
public:
    CBenchLibrary(int entryCount, int songsPerEntry) {
        char pattern[] = "/tmp/cricklet-bench-XXXXXX";
        m_root = mkdtemp(pattern);
        CMusicList entries;
        for (int e = 0; e < entryCount; ++e) {
            entries.AddTail(MakeEntry(e, songsPerEntry));
        }
        WriteMusicListFile(m_root + "/PlayList.stp", entries);
        CSongList songs;
        CollectAllSongs(songs, entries);
        WriteSongStoreFile(m_root + "/MusicList.ckp", songs);
        CAppConfig config;
        config.SetDefaults();
        config.WorkDirectory = m_root;
        config.IsExitAlert = 0;
        WriteConfigFile(m_root + "/Cricklet.ini", config);
        QDir::setCurrent(QString::fromStdString(m_root));
    }
    ~CBenchLibrary() { std::filesystem::remove_all(m_root); }
    CBenchLibrary(const CBenchLibrary&) = delete;
    CBenchLibrary& operator=(const CBenchLibrary&) = delete;

    const std::string& Root() const { return m_root; }

private:
    CEntryPtr MakeEntry(int e, int songsPerEntry) const {
        auto entry = std::make_shared<CPlayListItem>();
        entry->title = "专辑 " + std::to_string(e);
        entry->artist = "艺术家 " + std::to_string(e % 300);
        entry->location = m_root + "/音乐/" + std::to_string(e);
        entry->fileName = e % 3 == 0 ? entry->location : "list.m3u";
        std::filesystem::create_directories(entry->location);
        for (int s = 0; s < songsPerEntry; ++s) {
            auto song = std::make_shared<CSongItem>();
            // Titles vary in their first characters, so a sort by title works.
            song->title = std::to_string((e * 7919 + s * 104729) % 100000) + " 月亮河";
            song->artist = entry->artist;
            song->time = 180 + s;
            song->order = s + 1;
            song->fileName = std::to_string(s) + ".mp3";
            song->fileType = "mp3";
            song->location = entry->location;
            song->size = 3000000 + s;
            std::ofstream(song->GetFullPath());
            entry->songs.AddTail(song);
        }
        entry->UpdateTotals();
        return entry;
    }

    std::string m_root;
};
