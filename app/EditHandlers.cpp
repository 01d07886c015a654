// Handlers of the editing commands: the information of an entry or a song
// (with the rename after the title, the tag write and the pass-on to an
// entry's songs) and the ID3v1 tag editor of one MP3 file.
#include "app/Handlers.h"

#include "app/MainFrame.h"
#include "audio/Mp3Info.h"
#include "core/InfoEdit.h"
#include "core/MusicManager.h"
#include "core/TagEdit.h"
#include "formats/Format.h"
#include "panes/Id3TagDlg.h"
#include "panes/MusicInfoDlg.h"
#include "panes/PlayListInfoDlg.h"
#include "panes/PlayListView.h"
#include "panes/SongListView.h"

namespace {

// The song at the song pane's selection mark, of the list shown for the
// playlist pane's selection mark; null when there is none.
CSongPtr MarkedSong(const CMainFrame& frame) {
    CSongList* shown = frame.m_pManager->ShownList(frame.GetPlayListPane()->GetSelectionMark());
    return shown ? shown->GetAt(frame.GetSongPane()->GetSelectionMark() + 1) : nullptr;
}

void EditSong(CMainFrame& frame) {
    CMusicManager& manager = *frame.m_pManager;
    const int songRow = frame.GetSongPane()->GetSelectionMark();
    const int entryRow = frame.GetPlayListPane()->GetSelectionMark();
    const CSongPtr song = MarkedSong(frame);
    if (!song) {
        return;
    }
    const CEntryPtr entry = entryRow >= 1 ? manager.entries.GetAt(entryRow) : nullptr;
    CMusicInfoDlg dialog(&frame);
    dialog.title = song->title;
    dialog.artist = song->artist;
    dialog.styleIndex = song->style - kFirstStyleCode;
    dialog.entryTitle = entry ? entry->title : std::string();
    dialog.time = FormatDuration(song->time);
    dialog.location = song->GetFullPath();
    dialog.updateFile = manager.config.DlgEditMusicUF;
    const int result = dialog.exec();
    manager.config.DlgEditMusicUF = dialog.updateFile;
    if (result != QDialog::Accepted) {
        return;
    }
    CSongEdit edit;
    edit.title = dialog.title;
    edit.artist = dialog.artist;
    edit.style = dialog.styleIndex + kFirstStyleCode;
    edit.updateFile = dialog.updateFile != 0;
    ApplySongEdit(manager, entryRow, song, edit);
    frame.GetSongPane()->UpdateSongRow(song, songRow);
    // Other rows may show a copy of the renamed file.
    frame.GetSongPane()->viewport()->update();
}

// One run of the entry dialog, whose 上一个 and 下一个 save the entry shown
// and move the playlist pane's selection to its neighbour.
class CEntryEdit {
public:
    CEntryEdit(CMainFrame& frame, CPlayListInfoDlg& dialog)
        : m_frame(frame), m_manager(*frame.m_pManager), m_dialog(dialog) {}

    int Mark() const { return m_frame.GetPlayListPane()->GetSelectionMark(); }

    void Load(int row) {
        const CEntryPtr entry = m_manager.entries.GetAt(row);
        if (!entry) {
            return;
        }
        m_dialog.title = entry->title;
        m_dialog.artist = entry->artist;
        m_dialog.styleIndex = entry->style - kFirstStyleCode;
        m_dialog.songCount = entry->count;
        m_dialog.time = FormatDuration(entry->time);
        m_dialog.location = entry->GetFullPath();
        m_dialog.EnableMoves(row > 1, row < m_manager.entries.GetCount());
    }

    // The dialog's members into the entry at row.
    void Store(int row) {
        const CEntryPtr entry = m_manager.entries.GetAt(row);
        if (!entry) {
            return;
        }
        entry->title = m_dialog.title;
        entry->artist = m_dialog.artist;
        entry->style = m_dialog.styleIndex + kFirstStyleCode;
        if (m_dialog.updateSongs != 0) {
            PassOnToSongs(m_manager.songs, *entry);
        }
    }

    void Move(int step) {
        const int row = Mark();
        m_dialog.ReadControls();
        Store(row);
        const int neighbour = row + step;
        CPlayListView* pane = m_frame.GetPlayListPane();
        if (neighbour >= 1 && neighbour <= m_manager.entries.GetCount()) {
            pane->UpdateEntryRow(m_manager.entries.GetAt(row), row);
            pane->clearSelection();
            pane->SelectRow(neighbour, 1);
            pane->SetSelectionMark(neighbour);
            pane->EnsureVisible(neighbour);
            m_manager.currentRow = neighbour;
        }
        m_frame.GetSongPane()->Refill(CSongListView::kSelectedEntryRow);
        Load(Mark());
        m_dialog.ShowEntry();
    }

private:
    CMainFrame& m_frame;
    CMusicManager& m_manager;
    CPlayListInfoDlg& m_dialog;
};

void EditEntry(CMainFrame& frame) {
    CMusicManager& manager = *frame.m_pManager;
    const int row = frame.GetPlayListPane()->GetSelectionMark();
    if (row < 1 || !manager.entries.GetAt(row)) {
        return;
    }
    CPlayListInfoDlg dialog(&frame);
    CEntryEdit edit(frame, dialog);
    edit.Load(row);
    dialog.updateSongs = manager.config.DlgEditPlaylistUF;
    QObject::connect(&dialog, &CPlayListInfoDlg::previousClicked, [&edit] { edit.Move(-1); });
    QObject::connect(&dialog, &CPlayListInfoDlg::nextClicked, [&edit] { edit.Move(1); });
    const int result = dialog.exec();
    manager.config.DlgEditPlaylistUF = dialog.updateSongs;
    if (result == QDialog::Accepted) {
        const int mark = edit.Mark();
        edit.Store(mark);
        if (CEntryPtr entry = manager.entries.GetAt(mark)) {
            frame.GetPlayListPane()->UpdateEntryRow(entry, mark);
        }
        if (dialog.updateSongs != 0) {
            frame.GetSongPane()->Refill(CSongListView::kSelectedEntryRow);
        }
    }
    manager.RefreshArtists();
}

} // namespace

void OnEditInfo(CMainFrame& frame) {
    if (frame.GetActivePaneRow() == 0) {
        EditEntry(frame);
    } else {
        EditSong(frame);
    }
}

void OnEditTag(CMainFrame& frame) {
    const CSongPtr song = MarkedSong(frame);
    if (!song) {
        return;
    }
    Mp3Info info;
    // A file that cannot be read gets no dialog; Open has said why.
    if (info.Open(song->GetFullPath()) != MP3_OK) {
        return;
    }
    const int entryRow = frame.GetPlayListPane()->GetSelectionMark();
    CId3TagDlg dialog(&frame);
    dialog.song = song;
    dialog.entry = entryRow >= 1 ? frame.m_pManager->entries.GetAt(entryRow) : nullptr;
    dialog.SetFields(TagFieldsOf(info));
    if (dialog.exec() == QDialog::Accepted) {
        WriteTagFields(info, dialog.Fields());
    }
}

bool IsEditTagEnabled(const CMainFrame& frame) {
    if (frame.GetSongPane()->GetSelectedCount() < 1) {
        return false;
    }
    const CSongPtr song = MarkedSong(frame);
    return song && song->fileType == "mp3";
}
