#include "panes/PlayListView.h"

#include "app/CommandIds.h"
#include "app/ImportMethodDlg.h"
#include "app/MainFrame.h"
#include "core/MusicManager.h"
#include "core/Sorting.h"
#include "formats/PathFunctions.h"
#include "formats/PlsFile.h"
#include "panes/EntryRowModel.h"
#include "panes/ReportList.h"
#include "panes/SongListView.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include <unordered_set>

namespace {

const int kColumnWidths[CPlayListView::kColumnCount] = {180, 60, 100, 60, 60, 60, 60, 172};
// The widest normal value of each fixed column.
const char* const kWidestTexts[CPlayListView::kColumnCount] = {
    nullptr, "文件夹", nullptr, "电影原声", "99999", "Unknown", "99999", nullptr};

} // namespace

CPlayListView::CPlayListView(CMainFrame* frame, QWidget* parent)
    : CReportListView(new CEntryRowModel, "PlayListView", kColumnWidths, kWidestTexts, kColumnCount,
                      parent),
      m_pFrame(frame), m_pModel(static_cast<CEntryRowModel*>(model())) {}

CMusicManager* CPlayListView::Manager() const {
    return m_pFrame->m_pManager;
}

void CPlayListView::RefillEntries() {
    CMusicManager* manager = Manager();
    const int entryCount = manager->entries.GetCount();
    std::vector<CEntryRowModel::Row> rows;
    rows.reserve(entryCount + 1);
    CEntryRowModel::Row special;
    special.special =
        IsLibraryEmpty(manager) ? CEntryRowModel::kPlaceholderRow : CEntryRowModel::kAllSongsRow;
    rows.push_back(special);
    for (const CEntryPtr& entry : manager->entries) {
        CEntryRowModel::Row row;
        row.entry = entry;
        row.iconPlaylistID = manager->config.IconPlaylistID;
        rows.push_back(std::move(row));
    }
    m_pModel->Reset(std::move(rows));
    // A redraw keeps the entry the window works on highlighted, with its
    // songs in the song pane.
    const int row = manager->currentRow;
    ShowEntrySongs(row >= 0 && row < GetItemCount() ? row : 0, false);
    HighlightRow(manager->currentRow);
}

void CPlayListView::ClearRows(int kind) {
    m_pModel->Reset({});
    if (kind == 1) {
        InsertEntryRow(nullptr, -1);
    } else if (kind == 2) {
        InsertEntryRow(nullptr, -2);
    }
    if (kind != 0) {
        // Only the special row is left: it is the one shown.
        Manager()->currentRow = 0;
        HighlightRow(0);
    }
}

void CPlayListView::HighlightRow(int row) {
    if (row < 0 || row >= GetItemCount()) {
        return;
    }
    clearSelection();
    SelectRow(row, 0);
    SetSelectionMark(row);
}

void CPlayListView::RefreshRowTexts() {
    m_pModel->Thaw();
}

void CPlayListView::InsertEntryRow(const CEntryPtr& entry, int row) {
    CEntryRowModel::Row value;
    if (!entry) {
        value.special = row == -2 ? CEntryRowModel::kPlaceholderRow : CEntryRowModel::kAllSongsRow;
        m_pModel->Insert(0, std::move(value));
        return;
    }
    value.entry = entry;
    value.iconPlaylistID = Manager()->config.IconPlaylistID;
    m_pModel->Insert(row, std::move(value));
}

void CPlayListView::InsertImportedEntryRow(CMusicManager* manager, const CEntryPtr& entry, int row,
                                           std::shared_ptr<const CRowTexts> texts) {
    if (!entry) {
        InsertEntryRow(entry, row);
        return;
    }
    CEntryRowModel::Row value;
    value.entry = entry;
    value.iconPlaylistID = manager->config.IconPlaylistID;
    value.frozen = texts ? std::move(texts)
                         : std::make_shared<CRowTexts>(EntryRowTexts(*entry, value.iconPlaylistID));
    m_pModel->Insert(row, std::move(value));
}

void CPlayListView::UpdateEntryRow(const CEntryPtr& entry, int row) {
    if (!entry) {
        return;
    }
    CEntryRowModel::Row value;
    value.entry = entry;
    value.iconPlaylistID = Manager()->config.IconPlaylistID;
    m_pModel->Update(row, std::move(value));
}

int CPlayListView::GetSelectedRows(int* buffer, int capacity) const {
    std::vector<int> rows = SelectedRows();
    if (static_cast<int>(rows.size()) > capacity) {
        return capacity;
    }
    int last = -1;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        buffer[i] = rows[i];
        last = rows[i];
    }
    return last;
}

QString CPlayListView::ItemText(int row, int column) const {
    return m_pModel->Text(row, column);
}

int CPlayListView::ItemImage(int row) const {
    return m_pModel->Image(row);
}

void CPlayListView::ShowEntrySongs(int row, bool refill) {
    Manager()->currentRow = row;
    CSongListView* songs = m_pFrame->GetSongPane();
    if (songs != nullptr && row >= 0 && (refill || !songs->ShowsSongsOf(row))) {
        songs->Refill(row);
    }
}

void CPlayListView::OnLeftClick(int mark) {
    ShowEntrySongs(mark, mark != m_lastClickRow);
    m_lastClickRow = mark;
}

void CPlayListView::OnRightClick(int mark) {
    if (mark >= 0) {
        ShowEntrySongs(mark, mark != m_lastRightClickRow);
        m_lastRightClickRow = mark;
    }
    m_pFrame->ShowPopupMenu(0);
}

// A click below the last row leaves the shown entry as it is: it would
// otherwise lose its highlight while its songs stay in the song pane.
void CPlayListView::mousePressEvent(QMouseEvent* event) {
    const int mark = RowAt(this, event->position().toPoint());
    if (mark < 0) {
        setFocus(Qt::MouseFocusReason);
    } else {
        CReportListView::mousePressEvent(event);
    }
    if (event->button() == Qt::LeftButton && mark >= 0) {
        OnLeftClick(GetSelectionMark());
    } else if (event->button() == Qt::RightButton) {
        OnRightClick(mark >= 0 ? GetSelectionMark() : -1);
    }
}

// Dragging over the rows moves the current row with the pointer.
void CPlayListView::mouseMoveEvent(QMouseEvent* event) {
    const int before = GetSelectionMark();
    CReportListView::mouseMoveEvent(event);
    const int after = GetSelectionMark();
    if (after >= 0 && after != before) {
        ShowEntrySongs(after, false);
    }
}

void CPlayListView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (RowAt(this, event->position().toPoint()) < 0) {
        return;
    }
    CReportListView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) {
        Activate();
    }
}

// A double click or Enter: play, or on an empty library offer the import.
void CPlayListView::Activate() {
    if (!IsLibraryEmpty(Manager())) {
        m_pFrame->RunCommand(ID_PLAY);
        return;
    }
    if (GetSelectionMark() != 0) {
        return;
    }
    CImportMethodDlg dialog(m_pFrame);
    dialog.choice = CImportMethodDlg::ChooseFolder;
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    if (dialog.choice == CImportMethodDlg::ChooseFolder) {
        m_pFrame->RunCommand(ID_IMPORT_FOLDER);
    } else if (dialog.choice == CImportMethodDlg::ChooseListFile) {
        m_pFrame->RunCommand(ID_IMPORT_LIST);
    }
}

// Every key that moves the current row (arrows, Page Up/Down, Home, End)
// shows the songs of the row it reaches.
void CPlayListView::keyPressEvent(QKeyEvent* event) {
    const int mark = GetSelectionMark();
    switch (event->key()) {
    case Qt::Key_Delete:
        if (mark > 0) {
            m_pFrame->RunCommand(ID_REMOVE_ENTRY);
        }
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (mark >= 0 && GetSelectedCount() == 0) {
            SelectRow(mark, 0);
        }
        Activate();
        return;
    case Qt::Key_Menu:
        m_pFrame->ShowPopupMenu(0, PopupPosition());
        return;
    default:
        break;
    }
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        m_pFrame->ShowPopupMenu(0, PopupPosition());
        return;
    }
    CReportListView::keyPressEvent(event);
    const int after = GetSelectionMark();
    if (after >= 0 && after != mark) {
        ShowEntrySongs(after, true);
    }
}

// The sorted entries keep the rows they had selected, each in its new row,
// and the song pane keeps its songs.
void CPlayListView::OnHeaderClicked(int column) {
    CMusicManager* manager = Manager();
    const std::vector<int> rows = SelectedRows();
    std::unordered_set<const CPlayListItem*> selected;
    for (int row : rows) {
        if (CEntryPtr entry = manager->entries.GetAt(row)) {
            selected.insert(entry.get());
        }
    }
    const CEntryPtr current = manager->entries.GetAt(manager->currentRow);
    SortEntries(manager->entries, column + 1, m_entrySortAscending);
    ShowSortIndicator(column, m_entrySortAscending);
    m_entrySortAscending = !m_entrySortAscending;

    std::vector<int> newRows;
    if (!rows.empty() && rows.front() == 0) {
        newRows.push_back(0);
    }
    int position = 0;
    for (const CEntryPtr& entry : manager->entries) {
        ++position;
        if (entry == current) {
            manager->currentRow = position;
        }
        if (selected.count(entry.get()) != 0) {
            newRows.push_back(position);
        }
    }
    RefillEntries();
    for (int row : newRows) {
        selectionModel()->select(model()->index(row, 0),
                                 QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

void CPlayListView::AddDroppedFile(const std::string& path) {
    if (!IsM3uExtension(ExtensionOf(path)) && !IsPlsExtension(ExtensionOf(path))) {
        return;
    }
    CMusicManager* manager = Manager();
    const int before = manager->entries.GetCount();
    CMusicCommand command(MCMD_ADD_M3U, 4, 4);
    command.SetString(path, 0);
    m_pFrame->SendCommand(command);
    const int entryCount = manager->entries.GetCount();
    // A file the manager refused adds no entry, and so no row.
    if (entryCount <= before) {
        return;
    }
    if (GetItemCount() == before + 1) {
        if (before == 0) {
            // The library has something now: the placeholder becomes "所有歌曲".
            CEntryRowModel::Row allSongs;
            allSongs.special = CEntryRowModel::kAllSongsRow;
            m_pModel->Update(0, std::move(allSongs));
        }
        InsertEntryRow(manager->entries.GetAt(entryCount), entryCount);
    } else if (GetItemCount() != entryCount + 1) {
        RefillEntries();
    }
    HighlightRow(entryCount);
    scrollToBottom();
    manager->currentRow = entryCount;
    m_pFrame->GetSongPane()->FillFromEntry(manager->entries.GetAt(entryCount));
    m_pFrame->UpdateStatusText();
}
