// The library command handlers on the real window: what they ask, which
// rows they delete and select, and what reaches the library and the player.
#include "GuiHelpers.h"
#include "app/CommandIds.h"
#include "app/FileDialogs.h"
#include "app/MainFrame.h"
#include "core/MusicManager.h"
#include "panes/PlayListView.h"
#include "panes/SongListView.h"
#include "support/RecordingPlatform.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <sstream>

namespace {

const char* const kAppendQuestion =
    "第一步: 您是否将导入的音乐追加至当前音乐单？(选择\"否\" 则先清空当前后再导入)";

std::vector<std::string> Titles(const CMusicList& entries) {
    std::vector<std::string> titles;
    for (const CEntryPtr& entry : entries) {
        titles.push_back(entry->title);
    }
    return titles;
}

std::vector<std::string> Titles(const CSongList& songs) {
    std::vector<std::string> titles;
    for (const CSongPtr& song : songs) {
        titles.push_back(song->title);
    }
    return titles;
}

std::vector<std::string> PaneTitles(const CPlayListView* pane) {
    std::vector<std::string> titles;
    for (int row = 0; row < pane->GetItemCount(); ++row) {
        titles.push_back(pane->ItemText(row, 0).toStdString());
    }
    return titles;
}

std::vector<std::string> PaneTitles(const CSongListView* pane) {
    std::vector<std::string> titles;
    for (int row = 0; row < pane->GetItemCount(); ++row) {
        titles.push_back(pane->ItemText(row, 0).toStdString());
    }
    return titles;
}

std::vector<int> SelectedSongRows(const CSongListView* pane) {
    std::vector<int> rows;
    int count = 0;
    pane->GetSelectedRows(rows, count);
    rows.resize(count);
    return rows;
}

// The file lines of a written playlist, sorted (random play shuffles them).
std::vector<std::string> PlayedFiles(const std::string& m3uText) {
    std::vector<std::string> files;
    std::istringstream lines(m3uText);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty() && line[0] != '#') {
            files.push_back(line);
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// A window in a fresh working folder on a library of five m3u entries E1 to
// E5, each with two songs whose files exist, every song also in the flat
// list. E1's artist is B, E2's A, the others C. Questions and file dialogs
// are answered by the test.
class CWindow : public CTestWindow {
public:
    CPlayListView* PlayList() { return frame->GetPlayListPane(); }
    CSongListView* SongPane() { return frame->GetSongPane(); }

    void FillLibrary() {
        const char* const artists[] = {"B", "A", "C", "C", "C"};
        for (int i = 1; i <= 5; ++i) {
            auto entry = std::make_shared<CPlayListItem>();
            entry->title = "E" + std::to_string(i);
            entry->artist = artists[i - 1];
            entry->location = folder.Path();
            entry->fileName = entry->title + ".m3u";
            for (int j = 1; j <= 2; ++j) {
                auto song = std::make_shared<CSongItem>();
                song->title = entry->title + "-S" + std::to_string(j);
                song->fileName = "e" + std::to_string(i) + "s" + std::to_string(j) + ".mp3";
                song->location = folder.Path();
                song->fileType = "mp3";
                song->order = j;
                folder.Write(song->fileName, "");
                entry->songs.AddTail(song);
                Manager().songs.AddTail(song);
            }
            entry->UpdateTotals();
            Manager().entries.AddTail(entry);
        }
        Manager().RefreshArtists();
        frame->RefillPanes();
    }

    void ChooseEntryRow(int row) {
        PlayList()->clearSelection();
        PlayList()->SelectRow(row, 1);
        Manager().currentRow = row;
        SongPane()->Refill(row);
    }

    void SelectPlayListRows(const std::vector<int>& rows) {
        PlayList()->clearSelection();
        for (int row : rows) {
            PlayList()->SelectRow(row, 0);
        }
    }

    // Waits for the import worker and carries out its queued requests.
    void FinishImport() {
        if (Manager().importThread) {
            Manager().importThread->Join();
        }
        QCoreApplication::processEvents();
    }

    std::string Cache() { return folder.Read("Cache.m3u"); }
    std::string SongPath(int entry, int song) {
        return folder.File("e" + std::to_string(entry) + "s" + std::to_string(song) + ".mp3");
    }
};

// A folder "Music" inside the window's folder with two MIDI files (a type
// that the default settings import, read without decoding).
std::string MakeMusicFolder(CWindow& window) {
    window.folder.Write("Music/first.mid", MidiBytes());
    window.folder.Write("Music/second.mid", MidiBytes());
    return window.folder.File("Music");
}

} // namespace

class LibraryHandlersTest : public QObject {
    Q_OBJECT
private slots:
    void ImportIntoAnEmptyLibraryAsksNothing();
    void ImportIntoALibraryAsksToAppendOrReplace();
    void RemoveEntriesDeletesShiftedRowsAndRemovesThePositions();
    void RemoveEntriesAsksWithTheTitleAndStopsOnCancel();
    void PlaySendsOnlyTheEntryRows();
    void ArtistItemsPlayTheirArtist();
    void AddSongWithTheAllSongsRowPutsItLastAndSelectsIt();
    void AddSongToAnEntryAppendsAndSelectsItsLastRow();
    void RemoveSongsFromAnEntry();
    void ClearLibraryLeavesThePlaceholder();
    void ExportAcceptingTheProposalWritesTheNewListInTheRecentFolder();
    void CancelledFileDialogsChangeNothing();
};

void LibraryHandlersTest::ImportIntoAnEmptyLibraryAsksNothing() {
    CWindow window;
    window.dialogs.answers = {QString::fromStdString(MakeMusicFolder(window))};
    window.frame->RunCommand(ID_IMPORT_FOLDER);
    window.FinishImport();

    QCOMPARE(window.platform.MessageTexts(),
             std::vector<std::string>({"导入音乐文件成功！共导入曲目1个, 音乐文件2个。"}));
    QCOMPARE(window.dialogs.requests.size(), size_t(1));
    QCOMPARE(window.dialogs.requests[0].kind, CFileDialogRequest::Folder);
    QCOMPARE(window.dialogs.requests[0].caption,
             QString("请选择一个您存放音乐的文件夹，Cricklet将导入其中所有的音乐文件与播放列表。"));
    QCOMPARE(Titles(window.Manager().entries), std::vector<std::string>({"Music"}));
    QCOMPARE(Titles(window.Manager().songs), std::vector<std::string>({"first", "second"}));
    QCOMPARE(PaneTitles(window.PlayList()), std::vector<std::string>({"所有歌曲", "Music"}));
    QVERIFY(window.frame->m_pImportDlg == nullptr);
}

void LibraryHandlersTest::ImportIntoALibraryAsksToAppendOrReplace() {
    const std::vector<std::string> oldEntries = {"E1", "E2", "E3", "E4", "E5"};
    {
        CWindow window;
        window.FillLibrary();
        MakeMusicFolder(window);
        window.platform.answers = {CAnswer::Cancel};
        window.frame->RunCommand(ID_IMPORT_FOLDER);
        QCOMPARE(window.platform.MessageTexts(), std::vector<std::string>({kAppendQuestion}));
        QCOMPARE(window.platform.messages[0].caption, std::string("Cricklet"));
        QVERIFY(window.dialogs.requests.empty());
        QCOMPARE(Titles(window.Manager().entries), oldEntries);
        QCOMPARE(window.Manager().songs.GetCount(), 10);
        QCOMPARE(window.PlayList()->GetItemCount(), 6);
    }
    {
        CWindow window;
        window.FillLibrary();
        window.dialogs.answers = {QString::fromStdString(MakeMusicFolder(window))};
        window.platform.answers = {CAnswer::No};
        window.frame->RunCommand(ID_IMPORT_FOLDER);
        window.FinishImport();
        QCOMPARE(window.platform.MessageTexts(),
                 std::vector<std::string>(
                     {kAppendQuestion, "导入音乐文件成功！共导入曲目1个, 音乐文件2个。"}));
        QCOMPARE(Titles(window.Manager().entries), std::vector<std::string>({"Music"}));
        QCOMPARE(Titles(window.Manager().songs), std::vector<std::string>({"first", "second"}));
        QCOMPARE(PaneTitles(window.PlayList()), std::vector<std::string>({"所有歌曲", "Music"}));
    }
    {
        CWindow window;
        window.FillLibrary();
        window.ChooseEntryRow(3);
        window.dialogs.answers = {QString::fromStdString(MakeMusicFolder(window))};
        window.platform.answers = {CAnswer::Yes};
        window.frame->RunCommand(ID_IMPORT_FOLDER);
        window.FinishImport();
        QCOMPARE(window.platform.MessageTexts(),
                 std::vector<std::string>(
                     {kAppendQuestion, "导入音乐文件成功！共导入曲目1个, 音乐文件2个。"}));
        QCOMPARE(Titles(window.Manager().entries),
                 std::vector<std::string>({"E1", "E2", "E3", "E4", "E5", "Music"}));
        QCOMPARE(window.Manager().songs.GetCount(), 12);
        // The all-songs list is shown, and the new songs came in at its end.
        QCOMPARE(window.Manager().currentRow, 0);
        QCOMPARE(window.SongPane()->GetItemCount(), 12);
        QCOMPARE(window.SongPane()->ItemText(11, 0), QString("second"));
    }
    {
        // Replacing with a folder that holds no music leaves an empty library.
        CWindow window;
        window.FillLibrary();
        window.folder.Write("Empty/readme.txt", "nothing to import");
        window.dialogs.answers = {QString::fromStdString(window.folder.File("Empty"))};
        window.platform.answers = {CAnswer::No};
        window.frame->RunCommand(ID_IMPORT_FOLDER);
        window.FinishImport();
        QVERIFY(IsLibraryEmpty(&window.Manager()));
        QCOMPARE(PaneTitles(window.PlayList()), std::vector<std::string>({"导入您的音乐(请双击)"}));
    }
}

void LibraryHandlersTest::RemoveEntriesDeletesShiftedRowsAndRemovesThePositions() {
    CWindow window;
    window.FillLibrary();
    window.ChooseEntryRow(2);
    window.SelectPlayListRows({2, 3, 5});
    window.platform.answers = {CAnswer::Ok};
    std::vector<int> deletedRows;
    connect(window.PlayList()->model(), &QAbstractItemModel::rowsAboutToBeRemoved,
            [&deletedRows](const QModelIndex&, int first, int last) {
                for (int row = first; row <= last; ++row) {
                    deletedRows.push_back(first);
                }
            });

    window.frame->RunCommand(ID_REMOVE_ENTRY);

    QCOMPARE(
        window.platform.MessageTexts(),
        std::vector<std::string>({"确定要在当前音乐单中移去这3个曲目? (不会删除这些曲目文件)"}));
    QCOMPARE(deletedRows, std::vector<int>({2, 2, 3}));
    QCOMPARE(Titles(window.Manager().entries), std::vector<std::string>({"E1", "E4"}));
    QCOMPARE(window.Manager().songs.GetCount(), 10); // their songs stay
    QCOMPARE(PaneTitles(window.PlayList()), std::vector<std::string>({"所有歌曲", "E1", "E4"}));
    // The row above the first removed one is shown.
    QCOMPARE(window.PlayList()->SelectedRows(), std::vector<int>({1}));
    QCOMPARE(window.Manager().currentRow, 1);
    QCOMPARE(PaneTitles(window.SongPane()), std::vector<std::string>({"E1-S1", "E1-S2"}));
}

void LibraryHandlersTest::RemoveEntriesAsksWithTheTitleAndStopsOnCancel() {
    CWindow window;
    window.FillLibrary();
    window.ChooseEntryRow(4);
    window.platform.answers = {CAnswer::Cancel};
    window.frame->RunCommand(ID_REMOVE_ENTRY);
    QCOMPARE(window.platform.MessageTexts(),
             std::vector<std::string>({"确定要在当前音乐单中移去\"E4\"? (不会删除该曲目文件)"}));
    QCOMPARE(window.Manager().entries.GetCount(), 5);
    QCOMPARE(window.PlayList()->GetItemCount(), 6);

    // The all-songs row alone names no entry: nothing is asked or removed.
    window.platform.messages.clear();
    window.ChooseEntryRow(0);
    window.frame->RunCommand(ID_REMOVE_ENTRY);
    QVERIFY(window.platform.messages.empty());
    QCOMPARE(window.Manager().entries.GetCount(), 5);

    // With the all-songs row and one entry selected, only the entry counts.
    window.SelectPlayListRows({0, 5});
    window.platform.answers = {CAnswer::Ok};
    window.frame->RunCommand(ID_REMOVE_ENTRY);
    QCOMPARE(window.platform.MessageTexts(),
             std::vector<std::string>({"确定要在当前音乐单中移去\"E5\"? (不会删除该曲目文件)"}));
    QCOMPARE(Titles(window.Manager().entries), std::vector<std::string>({"E1", "E2", "E3", "E4"}));
    QCOMPARE(window.PlayList()->SelectedRows(), std::vector<int>({0}));
}

void LibraryHandlersTest::PlaySendsOnlyTheEntryRows() {
    CWindow window;
    window.FillLibrary();
    window.SelectPlayListRows({0});
    window.frame->RunCommand(ID_PLAY);
    QVERIFY(window.platform.openedPaths.empty());
    QVERIFY(window.Cache().empty());

    window.SelectPlayListRows({0, 2});
    window.frame->RunCommand(ID_PLAY);
    QCOMPARE(window.platform.openedPaths,
             std::vector<std::string>({window.folder.File("Cache.m3u")}));
    QCOMPARE(PlayedFiles(window.Cache()),
             std::vector<std::string>({window.SongPath(2, 1), window.SongPath(2, 2)}));
    QCOMPARE(window.Manager().entries.GetAt(2)->playCount, 1);
    QCOMPARE(window.Manager().entries.GetAt(1)->playCount, 0);
}

void LibraryHandlersTest::ArtistItemsPlayTheirArtist() {
    CWindow window;
    window.FillLibrary();
    QCOMPARE(window.Manager().artists.GetAt(1), std::string("A"));
    QVERIFY(window.frame->RunCommand(ArtistCommandId(1)));
    QCOMPARE(PlayedFiles(window.Cache()),
             std::vector<std::string>({window.SongPath(2, 1), window.SongPath(2, 2)}));
    QVERIFY(window.frame->RunCommand(ID_ARTIST_FIRST + 1));
    QCOMPARE(PlayedFiles(window.Cache()),
             std::vector<std::string>({window.SongPath(1, 1), window.SongPath(1, 2)}));
}

void LibraryHandlersTest::AddSongWithTheAllSongsRowPutsItLastAndSelectsIt() {
    CWindow window;
    window.FillLibrary();
    window.ChooseEntryRow(0);
    window.SongPane()->SelectRow(1, 0);
    window.SongPane()->SelectRow(4, 0);
    const std::string newSong = window.folder.Write("more/Added.mid", MidiBytes());
    window.dialogs.answers = {QString::fromStdString(newSong)};

    window.frame->RunCommand(ID_ADD_SONG);

    QCOMPARE(window.dialogs.requests.size(), size_t(1));
    const CFileDialogRequest& request = window.dialogs.requests[0];
    QCOMPARE(request.kind, CFileDialogRequest::OpenFile);
    QCOMPARE(request.startFolder, QDir::currentPath()); // no recent folder yet
    QCOMPARE(request.filter, QString::fromStdString(window.Manager().config.GetMusicFileFilter()));
    QCOMPARE(window.Manager().config.RecentDirectory, window.folder.File("more"));
    QCOMPARE(window.Manager().songs.GetCount(), 11);
    QCOMPARE(window.SongPane()->GetItemCount(), 11);
    QCOMPARE(window.SongPane()->ItemText(10, 0), QString("Added"));
    QCOMPARE(SelectedSongRows(window.SongPane()), std::vector<int>({10}));
    for (const CEntryPtr& entry : window.Manager().entries) {
        QCOMPARE(entry->count, 2);
    }
}

void LibraryHandlersTest::AddSongToAnEntryAppendsAndSelectsItsLastRow() {
    CWindow window;
    window.FillLibrary();
    window.ChooseEntryRow(3);
    window.Manager().config.RecentDirectory = window.folder.Path();
    window.dialogs.answers = {
        QString::fromStdString(window.folder.Write("Added.mid", MidiBytes()))};

    window.frame->RunCommand(ID_ADD_SONG);

    QCOMPARE(window.dialogs.requests[0].startFolder, QString::fromStdString(window.folder.Path()));
    QCOMPARE(PaneTitles(window.SongPane()), std::vector<std::string>({"E3-S1", "E3-S2", "Added"}));
    QCOMPARE(SelectedSongRows(window.SongPane()), std::vector<int>({2}));
    QCOMPARE(window.Manager().entries.GetAt(3)->songs.GetAt(3)->order, 3);
    QCOMPARE(window.PlayList()->ItemText(3, 4), QString("3")); // its song count
    QCOMPARE(window.Manager().songs.GetCount(), 11);
}

void LibraryHandlersTest::RemoveSongsFromAnEntry() {
    CWindow window;
    window.FillLibrary();
    window.ChooseEntryRow(2);
    window.SongPane()->SelectRow(1, 1);
    window.platform.answers = {CAnswer::Cancel};
    window.frame->RunCommand(ID_REMOVE_SONGS);
    QCOMPARE(window.platform.MessageTexts(),
             std::vector<std::string>({"确定要在当前曲目中移去\"E2-S2\"? (不会删除该音乐文件)"}));
    QCOMPARE(window.Manager().entries.GetAt(2)->count, 2);

    window.platform.messages.clear();
    window.SongPane()->SelectRow(0, 0);
    window.platform.answers = {CAnswer::Ok};
    window.frame->RunCommand(ID_REMOVE_SONGS);
    QCOMPARE(window.platform.MessageTexts(),
             std::vector<std::string>({"确定要在当前曲目中移去这2个歌曲? (不会删除这些音乐文件)"}));
    QCOMPARE(window.Manager().entries.GetAt(2)->count, 0);
    QCOMPARE(window.SongPane()->GetItemCount(), 0);
    QCOMPARE(window.PlayList()->ItemText(2, 4), QString("0"));
    QCOMPARE(window.Manager().songs.GetCount(), 10); // still in the flat list
}

void LibraryHandlersTest::ClearLibraryLeavesThePlaceholder() {
    CWindow window;
    window.FillLibrary();
    window.platform.answers = {CAnswer::Cancel, CAnswer::Ok};
    window.frame->RunCommand(ID_CLEAR_LIBRARY);
    QCOMPARE(window.Manager().entries.GetCount(), 5);
    window.frame->RunCommand(ID_CLEAR_LIBRARY);
    QCOMPARE(window.platform.MessageTexts(),
             std::vector<std::string>({"确认要清除所有曲目? (不会删除曲目文件)",
                                       "确认要清除所有曲目? (不会删除曲目文件)"}));
    QVERIFY(IsLibraryEmpty(&window.Manager()));
    QCOMPARE(PaneTitles(window.PlayList()), std::vector<std::string>({"导入您的音乐(请双击)"}));
    QCOMPARE(window.SongPane()->GetItemCount(), 0);
    QCOMPARE(window.frame->StatusText(), QString("音乐单为空，请选择导入曲目"));
}

void LibraryHandlersTest::ExportAcceptingTheProposalWritesTheNewListInTheRecentFolder() {
    CWindow window;
    window.FillLibrary();
    SetFileDialogs(nullptr); // Qt's own dialog
    const std::string recent = window.folder.File("lists");
    QDir().mkpath(QString::fromStdString(recent));
    window.Manager().config.RecentDirectory = recent;
    QString proposed;
    QTimer::singleShot(200, [&proposed] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog != nullptr) {
            proposed = dialog->selectedFiles().value(0);
            QMetaObject::invokeMethod(dialog, "accept");
        }
    });
    window.frame->RunCommand(ID_EXPORT_LIST);
    QCOMPARE(proposed, QString::fromStdString(recent + "/新建音乐单.stp"));
    const std::string written = window.folder.Read("lists/新建音乐单.stp");
    QVERIFY(written.find("E5-S2") != std::string::npos);
    QCOMPARE(window.Manager().config.RecentDirectory, recent);
}

void LibraryHandlersTest::CancelledFileDialogsChangeNothing() {
    CWindow window;
    window.FillLibrary();
    QSignalSpy resets(window.PlayList()->model(), &QAbstractItemModel::modelReset);
    for (int command : {ID_IMPORT_LIST, ID_ADD_ENTRY, ID_ADD_SONG, ID_EXPORT_LIST, ID_EXPORT_HTML,
                        ID_IMPORT_FOLDER}) {
        window.platform.answers = {CAnswer::Yes};
        window.frame->RunCommand(command);
    }
    QCOMPARE(window.dialogs.requests.size(), size_t(6));
    QCOMPARE(window.dialogs.requests[0].filter, QString("Cricklet音乐单 (*.stp)"));
    QCOMPARE(window.dialogs.requests[1].filter,
             QString("Winamp Playlist File (*.m3u *.m3u8 *.pls)"));
    QCOMPARE(window.dialogs.requests[3].initialName, QString("新建音乐单"));
    QCOMPARE(window.dialogs.requests[3].defaultSuffix, QString("stp"));
    QCOMPARE(window.dialogs.requests[4].filter, QString("网页文件 (*.htm)"));
    QCOMPARE(window.dialogs.requests[4].defaultSuffix, QString("htm"));
    QCOMPARE(resets.count(), 0);
    QCOMPARE(window.Manager().entries.GetCount(), 5);
    QCOMPARE(window.Manager().songs.GetCount(), 10);
    QVERIFY(window.folder.Read("PlayList.stp").empty());
    QCOMPARE(window.Manager().config.RecentDirectory, std::string());
}

QTEST_MAIN(LibraryHandlersTest)
#include "LibraryHandlersTest.moc"
