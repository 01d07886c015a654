// The library command handlers of the main frame, grouped by what they work
// on, and the few steps they share: reading the panes' selections, asking
// for a file in the recent folder, building a command.
#pragma once

#include "core/MusicCommand.h"

#include <QString>

#include <string>
#include <vector>

class CMainFrame;

// Shared steps.
namespace Handlers {

// Restores the main window when it sits hidden in the tray.
void RestoreIfHidden(CMainFrame& frame);
// The playlist pane's selected rows, ascending, and those that are entries
// (row 0, the special row, left out).
std::vector<int> SelectedPlayListRows(const CMainFrame& frame);
std::vector<int> EntryRowsOf(const std::vector<int>& rows);
std::vector<int> SelectedSongRows(const CMainFrame& frame);
// Deletes one row of the playlist pane, leaving the others as they are.
void DeletePlayListRow(CMainFrame& frame, int row);
// A command with one int per value and four strings.
CMusicCommand ListCommand(int code, const std::vector<int>& values);
// Shows the given playlist-pane row as the chosen one: selected, current,
// remembered by the manager, its songs in the song pane.
void ShowEntryRow(CMainFrame& frame, int row);

// File dialogs starting in the RecentDirectory setting; a chosen path makes
// its folder the new RecentDirectory. The empty string when cancelled.
// A save dialog proposes proposedName and adds defaultSuffix to a name
// chosen without an extension.
std::string AskOpenFile(CMainFrame& frame, const QString& filter);
std::string AskSaveFile(CMainFrame& frame, const QString& filter, const std::string& defaultSuffix,
                        const std::string& proposedName);
// The filters of the commands in Qt's form.
QString PlaylistFilter();
QString ListFileFilter();
QString HtmlFilter();

} // namespace Handlers

// Entries: add, remove, clear, save as M3U, explore, folder conversion.
void OnAddEntry(CMainFrame& frame);
// The steps of OnAddEntry after its dialog.
void AddEntryFile(CMainFrame& frame, const std::string& path);
void OnRemoveEntries(CMainFrame& frame);
void OnClearLibrary(CMainFrame& frame);
void OnSaveEntryM3u(CMainFrame& frame);
void OnExploreEntry(CMainFrame& frame);
void OnFolderToM3u(CMainFrame& frame);
void OnAllFoldersToM3u(CMainFrame& frame);
void OnWriteTags(CMainFrame& frame);

// The whole library: list files and the HTML page.
void OnImportList(CMainFrame& frame);
void OnExportList(CMainFrame& frame);
void OnExportHtml(CMainFrame& frame);

// Songs of the shown list.
void OnAddSong(CMainFrame& frame);
// The steps of OnAddSong after its dialog: the song joins the entry shown.
void AddSongFile(CMainFrame& frame, const std::string& path);
void OnRemoveSongs(CMainFrame& frame);
void OnExploreSong(CMainFrame& frame);

// Playing.
void OnPlay(CMainFrame& frame);
void OnPlayEntriesShuffled(CMainFrame& frame);
void OnPlaySongsShuffled(CMainFrame& frame);
void OnPlayRandomEntries(CMainFrame& frame, int count, int shuffleSongs);
void OnPlayRandomSongs(CMainFrame& frame, int count);
void OnPlayArtist(CMainFrame& frame, int commandId);

// Help, web pages and the feedback mail.
void OnOpenHelp(CMainFrame& frame);
void OnOpenHomePage(CMainFrame& frame);
void OnOpenDownloadPage(CMainFrame& frame);
void OnFeedback(CMainFrame& frame);

// Folder import with its progress dialog.
void OnImportFolder(CMainFrame& frame);
// Append (1), replace (0), or -1 when the user cancelled. An empty library
// has nothing to keep, so nothing is asked.
int AskAppend(const CMainFrame& frame);
// The steps of OnImportFolder after its question and folder chooser.
void ImportFolder(CMainFrame& frame, const std::string& folder, int append);

// A file or folder given on the command line or by a second copy, added as
// the matching command adds it: a playlist as an entry, a music file as a
// song, a folder by a folder import. Anything else is refused with a message.
void OnOpenPath(CMainFrame& frame, const std::string& path);

// The settings dialog and what its changes redraw.
void OnSettings(CMainFrame& frame);

// Editing the information of an entry or a song, and an MP3 file's tag.
void OnEditInfo(CMainFrame& frame);
void OnEditTag(CMainFrame& frame);
// The tag editor's rule: the song pane's marked song is an MP3 file.
bool IsEditTagEnabled(const CMainFrame& frame);
