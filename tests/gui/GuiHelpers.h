// Mouse and keyboard steps on the panes of a shown window, the window
// fixture and dialog answering, and the sample library that the window tests
// share.
#pragma once

#include "GuiLibrary.h"
#include "app/FileDialogs.h"
#include "app/MainFrame.h"
#include "core/MusicManager.h"
#include "panes/PlayListView.h"
#include "panes/SongListView.h"
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

inline void ClickRow(QTableView* view, int row, Qt::MouseButton button = Qt::LeftButton,
                     Qt::KeyboardModifiers modifiers = {}) {
    QRect cell = view->visualRect(view->model()->index(row, 1));
    QTest::mouseClick(view->viewport(), button, modifiers, cell.center());
}

inline void ClickEmptySpace(QTableView* view) {
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      QPoint(5, view->viewport()->height() - 3));
}

inline void ClickHeader(QTableView* view, int column) {
    QHeaderView* header = view->horizontalHeader();
    QPoint point(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                 header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, point);
}

// The eight texts of a row, through the pane's own accessor.
template <typename Pane> QStringList RowTexts(const Pane* pane, int row) {
    QStringList texts;
    for (int column = 0; column < 8; ++column) {
        texts << pane->ItemText(row, column);
    }
    return texts;
}

template <typename Pane> QStringList ColumnTexts(const Pane* pane, int column) {
    QStringList texts;
    for (int row = 0; row < pane->GetItemCount(); ++row) {
        texts << pane->ItemText(row, column);
    }
    return texts;
}

// The titles of a list of entries or songs.
template <typename List> QStringList ListTitles(const List& list) {
    QStringList titles;
    for (const auto& item : list) {
        titles << QString::fromStdString(item->title);
    }
    return titles;
}

// Four entries: an m3u file with two songs, a folder with two (one without
// an order number), a pls file and a playlist of another type, both empty.
// root: the library's folder, where the songs' files are made.
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

// The bytes of a MIDI file, long enough to be read for its title (the reader
// leaves tiny files untitled).
inline std::string MidiBytes() {
    return "MThd" + std::string(400, '\0');
}

// folders x files music files under folder; hard links to one file, which
// are far quicker to make than files.
inline void FillFolders(const CTempDir& dir, const std::string& folder, int folders, int files,
                        const std::string& bytes, const std::string& extension) {
    const std::string first = dir.Write(folder + "/0/0" + extension, bytes);
    for (int f = 0; f < folders; ++f) {
        std::filesystem::create_directories(dir.File(folder + "/" + std::to_string(f)));
        for (int file = f == 0 ? 1 : 0; file < files; ++file) {
            std::filesystem::create_hard_link(first,
                                              dir.File(folder + "/" + std::to_string(f) + "/" +
                                                       std::to_string(file) + extension));
        }
    }
}

// Runs action on the modal dialog of type Dialog as soon as it shows. A
// dialog that a failed check left open is closed, and if none shows within
// two seconds whatever is modal is closed, so no test hangs.
template <typename Dialog> void WhenShown(std::function<void(Dialog*)> action) {
    auto* poll = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, tries, action] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (dialog != nullptr && dialog->isVisible()) {
            poll->stop();
            poll->deleteLater();
            action(dialog);
            if (dialog->isVisible()) {
                dialog->reject();
            }
        } else if (++*tries > 200) {
            poll->stop();
            poll->deleteLater();
            if (QWidget* other = QApplication::activeModalWidget()) {
                other->close();
            }
        }
    });
    poll->start(10);
}

// The real window on an empty library in a fresh working folder, with
// questions and file dialogs answered by the test.
class CTestWindow {
public:
    CTestWindow() : m_oldFolder(QDir::currentPath()) {
        SetPlatform(&platform);
        SetFileDialogs(&dialogs);
        QDir::setCurrent(QString::fromStdString(folder.Path()));
        frame = std::make_unique<CMainFrame>();
    }
    ~CTestWindow() {
        frame.reset();
        QDir::setCurrent(m_oldFolder);
        SetFileDialogs(nullptr);
        SetPlatform(nullptr);
    }
    CTestWindow(const CTestWindow&) = delete;
    CTestWindow& operator=(const CTestWindow&) = delete;

    CMusicManager& Manager() { return *frame->m_pManager; }

    CTempDir folder;
    CRecordingPlatform platform;
    CScriptedFileDialogs dialogs;
    std::unique_ptr<CMainFrame> frame;

private:
    QString m_oldFolder;
};

// A window started on a library written to its own folder, with both panes,
// questions and file dialogs answered by the test, and a counting handler on
// every command given to Count.
struct CShownLibrary {
    CGuiLibrary library;
    CRecordingPlatform platform;
    CScriptedFileDialogs dialogs;
    std::unique_ptr<CMainFrame> frame;
    CPlayListView* playList = nullptr;
    CSongListView* songs = nullptr;
    std::map<int, int> runs;

    ~CShownLibrary() {
        frame.reset();
        SetFileDialogs(nullptr);
        SetPlatform(nullptr);
    }
    bool Show(const CMusicList& entries, const std::vector<CSongPtr>& extraSongs = {},
              const std::function<void(CAppConfig&)>& configure = nullptr) {
        SetPlatform(&platform);
        SetFileDialogs(&dialogs);
        library.Write(entries, extraSongs, configure);
        frame = std::make_unique<CMainFrame>();
        frame->resize(1000, 700);
        frame->show();
        playList = frame->GetPlayListPane();
        songs = frame->GetSongPane();
        return QTest::qWaitForWindowExposed(frame.get());
    }
    CMusicManager& Manager() { return *frame->m_pManager; }
    // The song pane's titles, top to bottom.
    QStringList Titles() const { return ColumnTexts(songs, 0); }
    // The texts of the messages and questions shown so far.
    QStringList Messages() const {
        QStringList texts;
        for (const std::string& text : platform.MessageTexts()) {
            texts << QString::fromStdString(text);
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
};
