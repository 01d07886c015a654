// The window tests' fixture: the real window on a library of store files in its own folder,
// questions and file dialogs answered by the test; record builders, clicks, dialog answering.
#pragma once

#include "app/FileDialogs.h"
#include "app/MainFrame.h"
#include "core/MusicManager.h"
#include "core/PlayListItem.h"
#include "formats/AppConfig.h"
#include "formats/ListFile.h"
#include "panes/PlayListView.h"
#include "panes/SongListView.h"
#include "support/Library.h"
#include "support/RecordingPlatform.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QStringList>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

inline CSongPtr MakeSong(const std::string& title, const std::string& artist, int time, int order,
                         const std::string& folder, const std::string& fileName, long long size,
                         int style = 2001) {
    CSongPtr song = TestSong(title, time, folder, fileName);
    song->artist = artist;
    song->order = order;
    song->size = size;
    song->style = style;
    return song;
}

inline CEntryPtr MakeEntry(const std::string& title, const std::string& artist,
                           const std::string& location, const std::string& fileName,
                           std::vector<CSongPtr> songs, int playCount = 0, int style = 2001) {
    CEntryPtr entry = TestEntry(title, location, fileName, {}, artist);
    entry->playCount = playCount;
    entry->style = style;
    for (auto& song : songs) {
        entry->songs.AddTail(song);
    }
    entry->UpdateTotals();
    return entry;
}

// Four entries under root: an m3u file with two songs, a folder with two (one without an order
// number), a pls file and a playlist of another type, both empty.
inline CMusicList SampleEntries(const std::string& root) {
    const std::string zhou = root + "/music/zhou";
    const std::string old = root + "/music/老歌";
    CMusicList entries;
    entries.AddTail(MakeEntry("周末的歌", "陈奕迅", zhou, "周末.m3u",
                              {MakeSong("十年", "陈奕迅", 205, 1, zhou, "十年.mp3", 2960384, 2002),
                               MakeSong("浮夸", "陈奕迅", 5, 2, zhou, "浮夸.mp3", 999)},
                              0, 2002));
    entries.AddTail(
        MakeEntry("老歌", "", old, old,
                  {MakeSong("甜蜜蜜", "邓丽君", 600, 2, old, "甜蜜蜜.mp3", 4096000),
                   MakeSong("月亮代表我的心", "邓丽君", 3725, 0, old, "月亮.wma", 1000)}));
    entries.AddTail(MakeEntry("Party", "DJ", "/music", "party.pls", {}, 7));
    entries.AddTail(MakeEntry("Other", "", "/music", "x.wpl", {}));
    return entries;
}

// A MIDI file long enough to be read for its title (the reader leaves tiny files untitled).
inline std::string MidiBytes() {
    return "MThd" + std::string(400, '\0');
}

// folders x files music files under folder: hard links, far quicker to make than files.
inline void FillFolders(const CTempDir& dir, const std::string& folder, int folders, int files,
                        const std::string& bytes, const std::string& extension) {
    const std::string first = dir.Write(folder + "/0/0" + extension, bytes);
    for (int f = 0; f < folders; ++f) {
        const std::string sub = folder + "/" + std::to_string(f) + "/";
        std::filesystem::create_directories(dir.File(sub));
        for (int file = f == 0 ? 1 : 0; file < files; ++file) {
            std::filesystem::create_hard_link(first,
                                              dir.File(sub + std::to_string(file) + extension));
        }
    }
}

inline void ClickRow(QTableView* view, int row, Qt::MouseButton button = Qt::LeftButton,
                     Qt::KeyboardModifiers modifiers = {}) {
    QRect cell = view->visualRect(view->model()->index(row, 1));
    QTest::mouseClick(view->viewport(), button, modifiers, cell.center());
}

inline void ClickHeader(QTableView* view, int column) {
    QHeaderView* header = view->horizontalHeader();
    QPoint point(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                 header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, point);
}

template <typename Pane> QStringList ColumnTexts(const Pane* pane, int column) {
    QStringList texts;
    for (int row = 0; row < pane->GetItemCount(); ++row) {
        texts << pane->ItemText(row, column);
    }
    return texts;
}

// Every row of the pane as its eight texts and its image joined with "|",
// with root (the library's folder) written as "~".
template <typename Pane> QStringList PaneRows(const Pane* pane, const QString& root = "~") {
    QStringList rows;
    for (int row = 0; row < pane->GetItemCount(); ++row) {
        QString text;
        for (int column = 0; column < 8; ++column) {
            text += pane->ItemText(row, column) + '|';
        }
        text += QString::number(pane->ItemImage(row));
        rows << text.replace(root, "~");
    }
    return rows;
}

template <typename List> QStringList ListTitles(const List& list) {
    QStringList titles;
    for (const auto& item : list) {
        titles << QString::fromStdString(item->title);
    }
    return titles;
}

// Runs action on the modal Dialog as soon as it shows. Whatever a failed check left open, or
// whatever is modal when none shows within two seconds, is closed, so no test hangs.
template <typename Dialog> void WhenShown(std::function<void(Dialog*)> action) {
    auto* poll = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, tries, action] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        const bool found = dialog != nullptr && dialog->isVisible();
        if (found || ++*tries > 200) {
            poll->stop();
            poll->deleteLater();
        }
        if (found) {
            action(dialog);
            if (dialog->isVisible()) {
                dialog->reject();
            }
        } else if (*tries > 200 && QApplication::activeModalWidget() != nullptr) {
            QApplication::activeModalWidget()->close();
        }
    });
    poll->start(10);
}

// The real window on a library written as store files into a temporary folder, the current
// folder for the fixture's life, so the window loads it the way the program does.
struct CShownLibrary {
    CTempDir dir;
    CRecordingPlatform platform;
    CScriptedFileDialogs dialogs;
    std::unique_ptr<CMainFrame> frame;
    CPlayListView* playList = nullptr;
    CSongListView* songs = nullptr;
    std::map<int, int> runs; // by Count's handlers

    CShownLibrary() : m_previous(QDir::currentPath()) {
        QDir::setCurrent(QString::fromStdString(dir.Path()));
        SetPlatform(&platform);
        SetFileDialogs(&dialogs);
    }
    ~CShownLibrary() {
        frame.reset();
        SetFileDialogs(nullptr);
        SetPlatform(nullptr);
        QDir::setCurrent(m_previous);
    }
    CShownLibrary(const CShownLibrary&) = delete;
    CShownLibrary& operator=(const CShownLibrary&) = delete;

    // Writes PlayList.stp, MusicList.ckp (the entries' songs, then extraSongs) and Cricklet.ini
    // changed by configure, then shows the window. Missing song files under the folder are made
    // (empty): the readers mark songs whose files are missing.
    bool Show(const CMusicList& entries, const std::vector<CSongPtr>& extraSongs = {},
              const std::function<void(CAppConfig&)>& configure = nullptr) {
        CSongList all;
        CollectAllSongs(all, entries);
        for (const auto& song : extraSongs) {
            all.AddTail(song);
        }
        const std::string root = dir.Path() + "/";
        for (const auto& song : all) {
            const std::string path = song->GetFullPath();
            if (path.compare(0, root.size(), root) == 0 && !std::filesystem::exists(path)) {
                dir.Write(path.substr(root.size()), "");
            }
        }
        WriteMusicListFile(dir.File("PlayList.stp"), entries);
        WriteSongStoreFile(dir.File("MusicList.ckp"), all);
        CAppConfig config;
        config.SetDefaults();
        config.WorkDirectory = dir.Path();
        if (configure) {
            configure(config);
        }
        WriteConfigFile(dir.File("Cricklet.ini"), config);
        frame = std::make_unique<CMainFrame>();
        frame->resize(1000, 700);
        frame->show();
        playList = frame->GetPlayListPane();
        songs = frame->GetSongPane();
        return QTest::qWaitForWindowExposed(frame.get());
    }
    std::string Root() const { return dir.Path(); }
    std::string Path(const std::string& relative) const { return dir.File(relative); }
    QString QPath(const std::string& relative) const {
        return QString::fromStdString(dir.File(relative));
    }
    CMusicManager& Manager() { return *frame->m_pManager; }
    QStringList Titles() const { return ColumnTexts(songs, 0); }
    // The texts of the messages and questions shown so far, the folder as "~".
    QStringList Messages() const {
        QStringList texts;
        for (const std::string& text : platform.MessageTexts()) {
            texts << QString::fromStdString(text).replace(QString::fromStdString(dir.Path()), "~");
        }
        return texts;
    }
    void Count(std::initializer_list<int> commandIds) {
        for (int commandId : commandIds) {
            frame->SetCommandHandler(commandId, [this, commandId] { ++runs[commandId]; });
        }
    }
    // "+" or "-" for each command, enabled or not after the update rules ran.
    QString Enabled(std::initializer_list<int> commandIds) {
        frame->UpdateCommandStates();
        QString states;
        for (int commandId : commandIds) {
            states += frame->IsCommandEnabled(commandId) ? '+' : '-';
        }
        return states;
    }

private:
    QString m_previous;
};
