#include "app/Handlers.h"

#include "app/FileDialogs.h"
#include "app/MainFrame.h"
#include "core/MusicManager.h"
#include "formats/PathFunctions.h"
#include "panes/EntryRowModel.h"
#include "panes/PlayListView.h"
#include "panes/SongListView.h"

#include <QDir>

namespace Handlers {

namespace {

// Without a recent folder, the working folder, where the library lives: Qt
// would otherwise start in whatever folder any dialog showed last.
std::string StartFolder(const CMainFrame& frame) {
    const std::string& recent = frame.m_pManager->config.RecentDirectory;
    return recent.empty() ? QDir::currentPath().toStdString() : recent;
}

void RememberFolder(CMainFrame& frame, const std::string& path) {
    frame.m_pManager->config.RecentDirectory = FolderPart(path);
}

// A title may hold characters that a file name cannot.
std::string FileNameFrom(std::string title) {
    for (char& c : title) {
        if (c == '/') {
            c = '_';
        }
    }
    return title;
}

} // namespace

void RestoreIfHidden(CMainFrame& frame) {
    if (frame.isHidden()) {
        frame.showNormal();
        frame.m_bMinimized = 0;
    }
}

std::vector<int> SelectedPlayListRows(const CMainFrame& frame) {
    return frame.GetPlayListPane()->SelectedRows();
}

std::vector<int> EntryRowsOf(const std::vector<int>& rows) {
    std::vector<int> entryRows;
    for (int row : rows) {
        if (row >= 1) {
            entryRows.push_back(row);
        }
    }
    return entryRows;
}

std::vector<int> SelectedSongRows(const CMainFrame& frame) {
    std::vector<int> rows;
    int count = 0;
    frame.GetSongPane()->GetSelectedRows(rows, count);
    rows.resize(count > 0 ? static_cast<size_t>(count) : 0);
    return rows;
}

void DeletePlayListRow(CMainFrame& frame, int row) {
    auto* rows = qobject_cast<CEntryRowModel*>(frame.GetPlayListPane()->model());
    if (rows != nullptr && row >= 0 && row < rows->rowCount()) {
        rows->Remove(row);
    }
}

CMusicCommand ListCommand(int code, const std::vector<int>& values) {
    CMusicCommand command(code, static_cast<int>(values.size()), 4);
    for (size_t i = 0; i < values.size(); ++i) {
        command.SetInt(values[i], static_cast<int>(i));
    }
    return command;
}

void ShowEntryRow(CMainFrame& frame, int row) {
    CPlayListView* pane = frame.GetPlayListPane();
    if (row < 0 || row >= pane->GetItemCount()) {
        row = 0;
    }
    pane->clearSelection();
    pane->SelectRow(row, 1);
    pane->SetSelectionMark(row);
    pane->EnsureVisible(row);
    frame.m_pManager->currentRow = row;
    frame.GetSongPane()->Refill(row);
}

std::string AskOpenFile(CMainFrame& frame, const QString& filter) {
    CFileDialogRequest request;
    request.kind = CFileDialogRequest::OpenFile;
    request.filter = filter;
    request.startFolder = QString::fromStdString(StartFolder(frame));
    const std::string path = FileDialogs().Choose(&frame, request).toStdString();
    if (!path.empty()) {
        RememberFolder(frame, path);
    }
    return path;
}

std::string AskSaveFile(CMainFrame& frame, const QString& filter, const std::string& defaultSuffix,
                        const std::string& proposedName) {
    CFileDialogRequest request;
    request.kind = CFileDialogRequest::SaveFile;
    request.filter = filter;
    request.defaultSuffix = QString::fromStdString(defaultSuffix);
    request.initialName = QString::fromStdString(FileNameFrom(proposedName));
    request.startFolder = QString::fromStdString(StartFolder(frame));
    const std::string path = FileDialogs().Choose(&frame, request).toStdString();
    if (!path.empty()) {
        RememberFolder(frame, path);
    }
    return path;
}

QString PlaylistFilter() {
    return QStringLiteral("Winamp Playlist File (*.m3u *.m3u8 *.pls)");
}

QString ListFileFilter() {
    return QStringLiteral("Cricklet音乐单 (*.stp)");
}

QString HtmlFilter() {
    return QStringLiteral("网页文件 (*.htm)");
}

} // namespace Handlers
