// Handlers of the commands on playlist entries and on the whole library's
// files: add, remove and clear entries, save and convert them to M3U files,
// write their tags, import and export list files and the HTML page.
#include "app/Handlers.h"

#include "app/MainFrame.h"
#include "core/MusicManager.h"
#include "panes/PlayListView.h"
#include "panes/SongListView.h"
#include "platform/Platform.h"

#include <cstdio>

using namespace Handlers;

namespace {

std::string RemoveEntriesQuestion(const CMainFrame& frame, const std::vector<int>& entryRows) {
    if (entryRows.size() == 1) {
        const CEntryPtr entry = frame.m_pManager->entries.GetAt(entryRows[0]);
        return "确定要在当前音乐单中移去\"" + (entry ? entry->title : std::string()) +
               "\"? (不会删除该曲目文件)";
    }
    char text[160];
    std::snprintf(text, sizeof text, "确定要在当前音乐单中移去这%d个曲目? (不会删除这些曲目文件)",
                  static_cast<int>(entryRows.size()));
    return text;
}

CMusicCommand PathCommand(int code, const std::string& path) {
    CMusicCommand command(code, 4, 4);
    command.SetString(path, 0);
    return command;
}

} // namespace

void OnAddEntry(CMainFrame& frame) {
    const std::string path = AskOpenFile(frame, PlaylistFilter());
    if (!path.empty()) {
        AddEntryFile(frame, path);
    }
}

void AddEntryFile(CMainFrame& frame, const std::string& path) {
    CMusicManager& manager = *frame.m_pManager;
    const bool wasEmpty = IsLibraryEmpty(&manager);
    const int before = manager.entries.GetCount();
    frame.SendCommand(PathCommand(MCMD_ADD_M3U, path));
    const int count = manager.entries.GetCount();
    if (count == before) {
        return; // the manager rejected the file and said why
    }
    CPlayListView* pane = frame.GetPlayListPane();
    if (wasEmpty) {
        pane->RefillEntries(); // the placeholder row becomes "所有歌曲"
    } else {
        pane->InsertEntryRow(manager.entries.GetAt(count), count);
    }
    pane->clearSelection();
    pane->SelectRow(count, 1);
    pane->SetSelectionMark(count);
    pane->EnsureVisible(count);
    manager.currentRow = count;
    frame.GetSongPane()->FillFromEntry(manager.entries.GetAt(count));
    frame.UpdateStatusText();
}

void OnRemoveEntries(CMainFrame& frame) {
    const std::vector<int> rows = SelectedPlayListRows(frame);
    const std::vector<int> entryRows = EntryRowsOf(rows);
    // The all-songs row alone names no entry: there is nothing to remove.
    if (entryRows.empty()) {
        return;
    }
    if (Platform().AskOkCancel(RemoveEntriesQuestion(frame, entryRows), kAppTitle) ==
        CAnswer::Cancel) {
        return;
    }
    // Each deletion moves the later rows up by one.
    for (size_t j = 0; j < entryRows.size(); ++j) {
        DeletePlayListRow(frame, entryRows[j] - static_cast<int>(j));
    }
    frame.SendCommand(ListCommand(MCMD_REMOVE_ENTRIES, entryRows));
    if (IsLibraryEmpty(frame.m_pManager)) {
        frame.ClearPanes(2);
        frame.m_pManager->currentRow = 0;
    } else {
        // The row above the first removed one; the all-songs row when the
        // selection started there.
        ShowEntryRow(frame, rows[0] >= 1 ? rows[0] - 1 : 0);
    }
    frame.UpdateStatusText();
}

void OnClearLibrary(CMainFrame& frame) {
    if (Platform().AskOkCancel("确认要清除所有曲目? (不会删除曲目文件)", kAppTitle) ==
        CAnswer::Cancel) {
        return;
    }
    frame.SendCommand(CMusicCommand(MCMD_CLEAR_LIBRARY, 4, 4));
    frame.ClearPanes(2);
    frame.m_pManager->currentRow = 0;
    frame.UpdateStatusText();
}

void OnSaveEntryM3u(CMainFrame& frame) {
    const int row = frame.m_pManager->currentRow;
    const CEntryPtr entry = frame.m_pManager->entries.GetAt(row);
    if (!entry) {
        return;
    }
    const std::string path =
        AskSaveFile(frame, QStringLiteral("Winamp Playlist File (*.m3u)"), "m3u", entry->title);
    if (path.empty()) {
        return;
    }
    CMusicCommand command = PathCommand(MCMD_SAVE_ENTRY_M3U, path);
    command.SetInt(row, 0);
    frame.SendCommand(command);
}

void OnExploreEntry(CMainFrame& frame) {
    CMusicCommand command(MCMD_EXPLORE_ENTRY, 4, 4);
    command.SetInt(frame.GetPlayListPane()->GetSelectionMark(), 0);
    frame.SendCommand(command);
}

void OnFolderToM3u(CMainFrame& frame) {
    CMusicCommand command(MCMD_FOLDER_TO_M3U, 4, 4);
    command.SetInt(frame.GetPlayListPane()->GetSelectionMark(), 0);
    frame.SendCommand(command); // ints[1] 0: the manager redraws the pane
}

void OnAllFoldersToM3u(CMainFrame& frame) {
    frame.SendCommand(CMusicCommand(MCMD_ALL_FOLDERS_TO_M3U, 4, 4));
}

void OnWriteTags(CMainFrame& frame) {
    const std::vector<int> rows = SelectedPlayListRows(frame);
    if (rows.size() == 1 && rows[0] == 0) {
        return;
    }
    if (Platform().AskOkCancel("您确定要将该曲目中音乐资料应用到音乐文件中吗？", kAppTitle) ==
        CAnswer::Cancel) {
        return;
    }
    frame.SendCommand(ListCommand(MCMD_WRITE_TAGS, EntryRowsOf(rows)));
}

void OnImportList(CMainFrame& frame) {
    RestoreIfHidden(frame);
    const std::string path = AskOpenFile(frame, ListFileFilter());
    if (path.empty()) {
        return;
    }
    frame.ClearPanes(0);
    frame.SendCommand(PathCommand(MCMD_IMPORT_LIST, path));
    frame.m_pManager->currentRow = 0; // the old entry rows are gone
    frame.RefillPanes();
    frame.UpdateStatusText();
}

void OnExportList(CMainFrame& frame) {
    const std::string path = AskSaveFile(frame, ListFileFilter(), "stp", "新建音乐单");
    if (!path.empty()) {
        frame.SendCommand(PathCommand(MCMD_EXPORT_LIST, path));
    }
}

void OnExportHtml(CMainFrame& frame) {
    const std::string path = AskSaveFile(frame, HtmlFilter(), "htm", "新建音乐单");
    if (!path.empty()) {
        frame.SendCommand(PathCommand(MCMD_EXPORT_HTML, path));
    }
}
