#include "panes/SongListView.h"

#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "core/MusicManager.h"
#include "core/Sorting.h"
#include "formats/PathFunctions.h"
#include "panes/PlayListView.h"
#include "panes/ReportList.h"
#include "panes/SongRowModel.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

#include <algorithm>

namespace {

const int kColumnWidths[CSongListView::kColumnCount] = {180, 100, 60, 60, 60, 60, 60, 172};
// Sort key of the order column, by which an entry's songs are shown.
const int kOrderSortKey = 5;

} // namespace

CSongListView::CSongListView(CMainFrame* frame, QWidget* parent)
    : QTableView(parent), m_pFrame(frame), m_pModel(new CSongRowModel(this)) {
    setObjectName(QStringLiteral("SongListView"));
    setModel(m_pModel);
    SetUpReportList(this);
    for (int column = 0; column < kColumnCount; ++column) {
        horizontalHeader()->resizeSection(column, kColumnWidths[column]);
    }
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this,
            &CSongListView::OnHeaderClicked);
}

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
    rows.clear();
    for (const QModelIndex& index : selectionModel()->selectedRows()) {
        rows.push_back(index.row());
    }
    std::sort(rows.begin(), rows.end());
    count = static_cast<int>(rows.size());
    return rows.empty() ? -1 : rows.back();
}

int CSongListView::GetSelectedCount() const {
    return static_cast<int>(selectionModel()->selectedRows().size());
}

void CSongListView::SelectRow(int row, int clearMark) {
    if (clearMark != 0) {
        int mark = GetSelectionMark();
        if (mark >= 0) {
            selectionModel()->select(m_pModel->index(mark, 0),
                                     QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
        }
    }
    if (row < 0 || row >= GetItemCount()) {
        return;
    }
    selectionModel()->setCurrentIndex(m_pModel->index(row, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

int CSongListView::GetSelectionMark() const {
    QModelIndex current = selectionModel()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

int CSongListView::GetItemCount() const {
    return m_pModel->rowCount();
}

void CSongListView::EnsureVisible(int row) {
    if (row >= 0 && row < GetItemCount()) {
        scrollTo(m_pModel->index(row, 0));
    }
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
    QTableView::mousePressEvent(event);
    if (event->button() == Qt::RightButton) {
        m_pFrame->ShowPopupMenu(1);
    }
}

void CSongListView::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging == 0 || !(event->buttons() & Qt::LeftButton)) {
        QTableView::mouseMoveEvent(event);
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
    QTableView::mouseReleaseEvent(event);
}

void CSongListView::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && !IsLibraryEmpty(Manager())) {
        m_pFrame->RunCommand(ID_PLAY);
    }
}

void CSongListView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete) {
        m_pFrame->RunCommand(ID_REMOVE_SONGS);
        return;
    }
    QTableView::keyPressEvent(event);
}

void CSongListView::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void CSongListView::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void CSongListView::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasUrls()) {
        event->ignore();
        return;
    }
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            AddDroppedSong(url.toLocalFile().toStdString());
        }
    }
    event->acceptProposedAction();
}

void CSongListView::AddDroppedSong(const std::string& path) {
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
