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
// Sort key of the order column, by which an entry's songs are shown.
const int kOrderSortKey = 5;

} // namespace

CSongListView::CSongListView(CMainFrame* frame, QWidget* parent)
    : CReportListView(new CSongRowModel, "SongListView", kColumnWidths, kColumnCount, parent),
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
    m_bShowsEntry = row >= 1;
    if (row == 0) {
        m_pModel->Reset(RowsOf(manager->songs, false, image));
        return;
    }
    CEntryPtr entry = manager->entries.GetAt(row);
    if (!entry) {
        DeleteAllRows();
        return;
    }
    SortSongs(entry->songs, kOrderSortKey, true);
    m_pModel->Reset(RowsOf(entry->songs, true, image));
}

void CSongListView::FillFromEntry(const CEntryPtr& entry) {
    if (!entry) {
        DeleteAllRows();
        return;
    }
    m_bShowsEntry = true;
    m_pModel->Reset(RowsOf(entry->songs, true, SongRowImage(Manager()->config.IconMusicID)));
}

void CSongListView::InsertSongRow(const CSongPtr& song, int row) {
    if (!song) {
        return;
    }
    m_pModel->Insert(row, CSongRowModel::Row{song, m_bShowsEntry,
                                             SongRowImage(Manager()->config.IconMusicID), nullptr});
}

void CSongListView::InsertImportedSongRow(const CSongPtr& song, int row, CMusicManager* manager,
                                          std::shared_ptr<const CRowTexts> texts) {
    if (!song) {
        return;
    }
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

void CSongListView::OnHeaderClicked(int column) {
    CMusicManager* manager = Manager();
    const int entryRow = manager->currentRow;
    CEntryPtr entry = entryRow >= 1 ? manager->entries.GetAt(entryRow) : nullptr;
    if (entryRow >= 1 && !entry) {
        return;
    }
    SortSongs(entry ? entry->songs : manager->songs, column + 1, m_songSortAscending);
    m_songSortAscending = !m_songSortAscending;
    if (entry) {
        FillFromEntry(entry);
    } else {
        Refill(0);
    }
}

CSongList* CSongListView::ShownList(CEntryPtr& entry) const {
    CMusicManager* manager = Manager();
    const int mark = m_pFrame->GetPlayListPane()->GetSelectionMark();
    entry = mark >= 1 ? manager->entries.GetAt(mark) : nullptr;
    if (mark >= 1 && !entry) {
        return nullptr;
    }
    return entry ? &entry->songs : &manager->songs;
}

void CSongListView::DragTo(int row) {
    CEntryPtr entry;
    CSongList* list = ShownList(entry);
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

void CSongListView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete) {
        m_pFrame->RunCommand(ID_REMOVE_SONGS);
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
