// Handler of the folder import, with its modal progress dialog.
#include "app/Handlers.h"

#include "app/FileDialogs.h"
#include "app/ImportProgressDlg.h"
#include "app/MainFrame.h"
#include "core/MusicManager.h"
#include "panes/PlayListView.h"
#include "panes/SongListView.h"
#include "platform/Platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Handlers;

namespace {

const char* const kAppendQuestion = "第一步: 您是否将导入的音乐追加至当前音乐单？(选择\"否\" "
                                    "则先清空当前后再导入)";
const char* const kFolderInstruction =
    "请选择一个您存放音乐的文件夹，Cricklet将导入其中所有的音乐文件与播放列表。";

} // namespace

int AskAppend(const CMainFrame& frame) {
    if (IsLibraryEmpty(frame.m_pManager)) {
        return 0;
    }
    switch (Platform().AskYesNoCancel(kAppendQuestion, kAppTitle)) {
    case CAnswer::Yes:
        return 1;
    case CAnswer::No:
        return 0;
    default:
        return -1;
    }
}

namespace {

// The folder imported last, else the user's music folder, else home: the
// first of them that is still there.
QString ImportStartFolder(const CMainFrame& frame) {
    const QStringList candidates = {
        QString::fromStdString(frame.m_pManager->config.RecentDirectory),
        QStandardPaths::writableLocation(QStandardPaths::MusicLocation)};
    for (const QString& folder : candidates) {
        if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
            return folder;
        }
    }
    return QDir::homePath();
}

// The worker is done: rows read their records again, and the panes show the
// entry the window works on.
void ShowImportResult(CMainFrame& frame) {
    CPlayListView* playList = frame.GetPlayListPane();
    playList->RefreshRowTexts();
    frame.GetSongPane()->RefreshRowTexts();
    int row = frame.m_pManager->currentRow;
    if (row < 0 || row >= playList->GetItemCount()) {
        row = 0;
    }
    playList->ShowEntrySongs(row, false);
    playList->HighlightRow(row);
}

// The dialog is made and recorded before the worker starts, so the worker
// reports to it from its first file on and its closing request always finds
// it; it is forgotten before it is deleted, so a late report finds none. All
// of this and the frame's forwarding of the worker's requests run on the
// user-interface thread, one after the other.
void RunImport(CMainFrame& frame, const CMusicCommand& command) {
    CMusicManager& manager = *frame.m_pManager;
    frame.m_bImportFinished = false;
    auto* dialog = new CImportProgressDlg(&manager, &frame);
    frame.m_pImportDlg = dialog;
    const CImportThread* previousWorker = manager.importThread.get();
    frame.SendCommand(command);
    const bool started = manager.importThread && manager.importThread.get() != previousWorker;
    if (started && !frame.m_bImportFinished) {
        dialog->exec();
    }
    // After the stop button the worker still runs up to its next directory
    // item. Until it asks to close, only its own requests are carried out:
    // no user command may reach the library it appends to.
    while (started && !frame.m_bImportFinished) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                        QEventLoop::WaitForMoreEvents);
    }
    frame.m_pImportDlg = nullptr;
    delete dialog;
}

} // namespace

void OnImportFolder(CMainFrame& frame) {
    RestoreIfHidden(frame);
    const int append = AskAppend(frame);
    if (append < 0) {
        return;
    }
    CFileDialogRequest request;
    request.kind = CFileDialogRequest::Folder;
    request.caption = QString::fromUtf8(kFolderInstruction);
    request.startFolder = ImportStartFolder(frame);
    const QString folder = FileDialogs().Choose(&frame, request);
    if (folder.isEmpty()) {
        return;
    }
    frame.m_pManager->config.RecentDirectory = folder.toStdString();
    ImportFolder(frame, folder.toStdString(), append);
}

void ImportFolder(CMainFrame& frame, const std::string& folder, int append) {
    CMusicCommand command(MCMD_IMPORT_FOLDER, 4, 4);
    command.SetString(folder, 0);
    command.SetInt(append, 0);
    if (append == 1) {
        ShowEntryRow(frame, 0); // new songs go to the end of the all-songs list
    } else {
        frame.m_pManager->currentRow = 0; // the manager empties the panes
    }
    RunImport(frame, command);
    // A replacing import that found nothing leaves an empty library, whose
    // first row invites the next import.
    if (IsLibraryEmpty(frame.m_pManager)) {
        frame.ClearPanes(2);
    }
    ShowImportResult(frame);
}
