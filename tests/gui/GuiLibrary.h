// A library written as store files into a temporary folder that becomes the
// current folder, so a window started in the test loads it the way the
// program does; the previous folder comes back at the end of the scope.
#pragma once

#include "core/PlayListItem.h"
#include "formats/AppConfig.h"
#include "formats/ListFile.h"
#include "support/TempDir.h"

#include <QDir>
#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <vector>

inline CSongPtr MakeSong(const std::string& title, const std::string& artist, int time, int order,
                         const std::string& folder, const std::string& fileName, long long size,
                         int style = 2001) {
    auto song = std::make_shared<CSongItem>();
    song->title = title;
    song->artist = artist;
    song->time = time;
    song->order = order;
    song->location = folder;
    song->fileName = fileName;
    auto point = fileName.rfind('.');
    song->fileType = point == std::string::npos ? "" : fileName.substr(point + 1);
    song->size = size;
    song->style = style;
    return song;
}

inline CEntryPtr MakeEntry(const std::string& title, const std::string& artist,
                           const std::string& location, const std::string& fileName,
                           std::vector<CSongPtr> songs, int playCount = 0, int style = 2001) {
    auto entry = std::make_shared<CPlayListItem>();
    entry->title = title;
    entry->artist = artist;
    entry->location = location;
    entry->fileName = fileName;
    entry->playCount = playCount;
    entry->style = style;
    for (auto& song : songs) {
        entry->songs.AddTail(song);
    }
    entry->UpdateTotals();
    return entry;
}

class CGuiLibrary {
public:
    CGuiLibrary() : m_previous(QDir::currentPath()) {
        QDir::setCurrent(QString::fromStdString(m_dir.Path()));
    }
    ~CGuiLibrary() { QDir::setCurrent(m_previous); }
    CGuiLibrary(const CGuiLibrary&) = delete;
    CGuiLibrary& operator=(const CGuiLibrary&) = delete;

    // Writes PlayList.stp, MusicList.ckp (all songs of the entries, then
    // extraSongs) and Cricklet.ini with the settings changed by configure.
    // Every song's file is created (empty) when it lies under the folder:
    // the readers mark songs whose files are missing.
    void Write(const CMusicList& entries, const std::vector<CSongPtr>& extraSongs = {},
               const std::function<void(CAppConfig&)>& configure = nullptr) {
        for (const auto& entry : entries) {
            for (const auto& song : entry->songs) {
                Touch(*song);
            }
        }
        for (const auto& song : extraSongs) {
            Touch(*song);
        }
        WriteMusicListFile(m_dir.File("PlayList.stp"), entries);
        CSongList songs;
        CollectAllSongs(songs, entries);
        for (const auto& song : extraSongs) {
            songs.AddTail(song);
        }
        WriteSongStoreFile(m_dir.File("MusicList.ckp"), songs);
        CAppConfig config;
        config.SetDefaults();
        config.WorkDirectory = m_dir.Path();
        if (configure) {
            configure(config);
        }
        WriteConfigFile(m_dir.File("Cricklet.ini"), config);
    }

    const CTempDir& Dir() const { return m_dir; }
    // The folder's path followed by relative.
    std::string Path(const std::string& relative) const { return m_dir.File(relative); }
    QString QPath(const std::string& relative) const {
        return QString::fromStdString(m_dir.File(relative));
    }

    void Touch(const CSongItem& song) const {
        const std::string root = m_dir.Path() + "/";
        std::string path = song.GetFullPath();
        if (path.compare(0, root.size(), root) == 0) {
            m_dir.Write(path.substr(root.size()), "");
        }
    }

private:
    CTempDir m_dir;
    QString m_previous;
};
