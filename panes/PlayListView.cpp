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

namespace {

const int kColumnWidths[CPlayListView::kColumnCount] = {180, 60, 100, 60, 60, 60, 60, 172};

} // namespace

CPlayListView::CPlayListView(CMainFrame* frame, QWidget* parent)
    : CReportListView(new CEntryRowModel, "PlayListView", kColumnWidths, kColumnCount, parent),
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
}

void CPlayListView::ClearRows(int kind) {
    m_pModel->Reset({});
    if (kind == 1) {
        InsertEntryRow(nullptr, -1);
    } else if (kind == 2) {
        InsertEntryRow(nullptr, -2);
    }
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

void CPlayListView::ShowSongsForRow(int row) {
    m_pFrame->GetSongPane()->Refill(row);
}

void CPlayListView::OnLeftClick(int mark) {
    Manager()->currentRow = mark;
    if (mark >= 0 && mark != m_lastClickRow) {
        ShowSongsForRow(mark);
    }
    m_lastClickRow = mark;
}

void CPlayListView::OnRightClick(int mark) {
    Manager()->currentRow = mark;
    if (mark >= 0 && mark != m_lastRightClickRow) {
        ShowSongsForRow(mark);
    }
    m_lastRightClickRow = mark;
    m_pFrame->ShowPopupMenu(0);
}

void CPlayListView::mousePressEvent(QMouseEvent* event) {
    CReportListView::mousePressEvent(event);
    int mark = RowAt(this, event->position().toPoint());
    if (mark < 0) {
        SetSelectionMark(-1);
    }
    if (event->button() == Qt::LeftButton) {
        OnLeftClick(mark);
    } else if (event->button() == Qt::RightButton) {
        OnRightClick(mark);
    }
}

void CPlayListView::mouseDoubleClickEvent(QMouseEvent* event) {
    CReportListView::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton) {
        return;
    }
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

void CPlayListView::keyPressEvent(QKeyEvent* event) {
    const int mark = GetSelectionMark();
    switch (event->key()) {
    case Qt::Key_Delete:
        if (mark > 0) {
            m_pFrame->RunCommand(ID_REMOVE_ENTRY);
        }
        return;
    case Qt::Key_Up:
        if (mark >= 1) {
            Manager()->currentRow = mark - 1;
            ShowSongsForRow(mark - 1);
        }
        break;
    case Qt::Key_Down:
        if (mark < Manager()->entries.GetCount()) {
            Manager()->currentRow = mark + 1;
            ShowSongsForRow(mark + 1);
        }
        break;
    default:
        break;
    }
    CReportListView::keyPressEvent(event);
}

void CPlayListView::OnHeaderClicked(int column) {
    SortEntries(Manager()->entries, column + 1, m_entrySortAscending);
    m_entrySortAscending = !m_entrySortAscending;
    RefillEntries();
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
    SelectRow(entryCount, 1);
    scrollToBottom();
    m_pFrame->GetSongPane()->FillFromEntry(manager->entries.GetAt(entryCount));
    m_pFrame->UpdateStatusText();
}
