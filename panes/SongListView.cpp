#include "panes/SongListView.h"

#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "core/MusicManager.h"
#include "core/Sorting.h"
#include "formats/PathFunctions.h"
#include "panes/PlayListView.h"
#include "panes/ReportList.h"
#include "panes/SongRowModel.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>

namespace {

const int kColumnWidths[CSongListView::kColumnCount] = {180, 100, 60, 60, 60, 60, 60, 172};
// The widest normal value of each fixed column.
const char* const kWidestTexts[CSongListView::kColumnCount] = {
    nullptr, nullptr, "电影原声", "Unknown", "99999", "mpga", "999999KB", nullptr};
// Sort key of the order column, by which an entry's songs are shown.
const int kOrderSortKey = 5;

} // namespace

CSongListView::CSongListView(CMainFrame* frame, QWidget* parent)
    : CReportListView(new CSongRowModel, "SongListView", kColumnWidths, kWidestTexts, kColumnCount,
                      parent),
      m_pFrame(frame), m_pModel(static_cast<CSongRowModel*>(model())) {}

CMusicManager* CSongListView::Manager() const {
    return m_pFrame->m_pManager;
}

namespace {

std::vector<CSongRowModel::Row> RowsOf(const CSongList& songs, bool showOrder, int image) {
    std::vector<CSongRowModel::Row> rows;
    rows.reserve(songs.GetCount());
    for (const CSongPtr& song : songs) {
        rows.push_back(CSongRowModel::Row{song, showOrder, image, nullptr});
    }
    return rows;
}

} // namespace

void CSongListView::Refill(int row) {
    CMusicManager* manager = Manager();
    if (row == kSelectedEntryRow) {
        row = m_pFrame->GetPlayListPane()->GetSelectionMark();
    }
    row = std::max(row, 0);
    const int image = SongRowImage(manager->config.IconMusicID);
    if (row == 0) {
        ShowList(nullptr);
        m_pModel->Reset(RowsOf(manager->songs, false, image));
        return;
    }
    CEntryPtr entry = manager->entries.GetAt(row);
    if (!entry) {
        DeleteAllRows();
        return;
    }
    SortSongs(entry->songs, kOrderSortKey, true);
    ShowList(entry);
    m_pModel->Reset(RowsOf(entry->songs, true, image));
}

void CSongListView::FillFromEntry(const CEntryPtr& entry) {
    if (!entry) {
        DeleteAllRows();
        return;
    }
    ShowList(entry);
    m_pModel->Reset(RowsOf(entry->songs, true, SongRowImage(Manager()->config.IconMusicID)));
}

void CSongListView::ShowList(const CEntryPtr& entry) {
    m_shownEntry = entry;
    m_bShowsEntry = entry != nullptr;
    m_bShowsList = true;
}

bool CSongListView::ShowsSongsOf(int row) const {
    if (!m_bShowsList) {
        return false;
    }
    if (row <= 0) {
        return !m_shownEntry;
    }
    return m_shownEntry && m_shownEntry == Manager()->entries.GetAt(row);
}

void CSongListView::RefreshRowTexts() {
    m_pModel->Thaw();
}

void CSongListView::InsertSongRow(const CSongPtr& song, int row) {
    if (!song) {
        return;
    }
    m_bShowsList = m_bShowsList || GetItemCount() == 0;
    m_pModel->Insert(row, CSongRowModel::Row{song, m_bShowsEntry,
                                             SongRowImage(Manager()->config.IconMusicID), nullptr});
}

void CSongListView::InsertImportedSongRow(const CSongPtr& song, int row, CMusicManager* manager,
                                          std::shared_ptr<const CRowTexts> texts) {
    if (!song) {
        return;
    }
    // Rows of the flat list: an empty pane starts showing it.
    m_bShowsList = m_bShowsList || GetItemCount() == 0;
    const bool showOrder = m_bShowsEntry;
    const int image = SongRowImage(manager->config.IconMusicID);
    if (!texts) {
        texts = std::make_shared<CRowTexts>(SongRowTexts(*song, showOrder, image));
    }
    m_pModel->Insert(row, CSongRowModel::Row{song, showOrder, image, std::move(texts)});
}

void CSongListView::UpdateSongRow(const CSongPtr& song, int row) {
    if (!song) {
        return;
    }
    m_pModel->Update(row, CSongRowModel::Row{song, m_bShowsEntry,
                                             SongRowImage(Manager()->config.IconMusicID), nullptr});
}

void CSongListView::DeleteRow(int row) {
    m_pModel->Remove(row);
}

void CSongListView::DeleteAllRows() {
    m_bShowsEntry = false;
    m_bShowsList = false;
    m_shownEntry.reset();
    if (m_pModel->rowCount() > 0) {
        m_pModel->Reset({});
    }
}

int CSongListView::GetSelectedRows(std::vector<int>& rows, int& count) const {
    rows = SelectedRows();
    count = static_cast<int>(rows.size());
    return rows.empty() ? -1 : rows.back();
}

QString CSongListView::ItemText(int row, int column) const {
    return m_pModel->Text(row, column);
}

int CSongListView::ItemImage(int row) const {
    return m_pModel->Image(row);
}

// Sorts the list the rows stand for, which is the list of the manager's
// currentRow.
void CSongListView::OnHeaderClicked(int column) {
    CSongList* list = ShownList();
    if (list == nullptr) {
        return;
    }
    const CEntryPtr entry = m_shownEntry;
    SortSongs(*list, column + 1, m_songSortAscending);
    ShowSortIndicator(column, m_songSortAscending);
    m_songSortAscending = !m_songSortAscending;
    if (entry) {
        FillFromEntry(entry);
    } else {
        Refill(0);
    }
}

CSongList* CSongListView::ShownList() const {
    if (!m_bShowsList) {
        return nullptr;
    }
    return m_shownEntry ? &m_shownEntry->songs : &Manager()->songs;
}

void CSongListView::DragTo(int row) {
    const CEntryPtr entry = m_shownEntry;
    CSongList* list = ShownList();
    // Only while the rows still stand for the list's positions: never move
    // songs of a list the pane is not showing.
    if (list == nullptr || list->GetCount() != GetItemCount() || m_dragRow < 0) {
        return;
    }
    list->Exchange(m_dragRow + 1, row + 1);
    if (entry) {
        entry->Renumber();
    }
    UpdateSongRow(list->GetAt(m_dragRow + 1), m_dragRow);
    UpdateSongRow(list->GetAt(row + 1), row);
    SelectRow(row, 1);
    m_dragRow = row;
}

void CSongListView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_dragging = 1;
        int row = RowAt(this, event->position().toPoint());
        if (row >= 0) {
            m_dragRow = row;
        }
    }
    CReportListView::mousePressEvent(event);
    if (event->button() == Qt::RightButton) {
        m_pFrame->ShowPopupMenu(1);
    }
}

void CSongListView::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging == 0 || !(event->buttons() & Qt::LeftButton)) {
        CReportListView::mouseMoveEvent(event);
        return;
    }
    int row = RowAt(this, event->position().toPoint());
    if (row >= 0 && row != m_dragRow) {
        DragTo(row);
    }
}

void CSongListView::mouseReleaseEvent(QMouseEvent* event) {
    m_dragging = 0;
    m_dragRow = -1;
    CReportListView::mouseReleaseEvent(event);
}

void CSongListView::mouseDoubleClickEvent(QMouseEvent* event) {
    CReportListView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && !IsLibraryEmpty(Manager())) {
        m_pFrame->RunCommand(ID_PLAY);
    }
}

// Besides the arrows: Enter plays the selection (the current row when none
// is selected), Delete removes it, the menu key opens the song menu.
void CSongListView::keyPressEvent(QKeyEvent* event) {
    const bool shiftF10 = event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier;
    switch (event->key()) {
    case Qt::Key_Delete:
        m_pFrame->RunCommand(ID_REMOVE_SONGS);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (GetSelectionMark() >= 0 && GetSelectedCount() == 0) {
            SelectRow(GetSelectionMark(), 0);
        }
        if (!IsLibraryEmpty(Manager())) {
            m_pFrame->RunCommand(ID_PLAY);
        }
        return;
    case Qt::Key_Menu:
        m_pFrame->ShowPopupMenu(1, PopupPosition());
        return;
    default:
        break;
    }
    if (shiftF10) {
        m_pFrame->ShowPopupMenu(1, PopupPosition());
        return;
    }
    CReportListView::keyPressEvent(event);
}

void CSongListView::AddDroppedFile(const std::string& path) {
    CMusicManager* manager = Manager();
    if (!manager->config.IsSupportedExtension(ExtensionOf(path))) {
        return;
    }
    CPlayListView* playList = m_pFrame->GetPlayListPane();
    const int entryRow = playList->GetSelectionMark();
    const int songsBefore = manager->songs.GetCount();
    CMusicCommand command(MCMD_ADD_SONG, 4, 4);
    command.SetInt(entryRow, 0);
    command.SetString(path, 0);
    m_pFrame->SendCommand(command);
    if (entryRow < 1) {
        // A refused file adds no song, and so no row.
        if (manager->songs.GetCount() > songsBefore) {
            InsertSongRow(manager->songs.GetAt(manager->songs.GetCount()), GetItemCount());
            SelectRow(GetItemCount() - 1, 1);
            scrollToBottom();
        }
    } else if (CEntryPtr entry = manager->entries.GetAt(entryRow)) {
        playList->UpdateEntryRow(entry, entryRow);
        Refill(entryRow);
        SelectRow(entry->songs.GetCount() - 1, 1);
        scrollToBottom();
    }
    m_pFrame->UpdateStatusText();
}
