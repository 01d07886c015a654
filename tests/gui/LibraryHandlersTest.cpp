// The library command handlers on the real window: what they ask, which
// rows they delete and select, what reaches the library and the player, and
// the import dialogs they open.
#include "GuiHelpers.h"

#include "app/CommandIds.h"
#include "app/Handlers.h"
#include "app/ImportMethodDlg.h"
#include "app/ImportProgressDlg.h"

#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest>

#include <sstream>

class LibraryHandlersTest : public QObject {
    Q_OBJECT
private slots:
    void ImportAsksToAppendOrReplace_data();
    void ImportAsksToAppendOrReplace();
    void PlaceholderChoiceOpensItsChooser_data();
    void PlaceholderChoiceOpensItsChooser();
    void StoppingAnImportAtOnceReportsTheInterruption();
    void ProgressDialogShowsTheTwoLinesAndStops();
    void RemoveEntriesDeletesShiftedRowsAndShowsTheRowAbove();
    void RemoveEntryAsksWithTheTitleAndStopsOnCancel();
    void PlaySendsOnlyTheEntryRowsAndArtistsTheirEntries();
    void AddSongPutsItLastAndSelectsIt();
    void RemoveSongsAndClearLibrary();
    void ExportAcceptingTheProposalWritesTheNewListInTheRecentFolder();
    void CancelledFileDialogsChangeNothing();
    void OpenPathAddsEachKindAsItsCommandDoes();
};

namespace {

const char* const kAppendQuestion =
    "第一步: 您是否将导入的音乐追加至当前音乐单？(选择\"否\" 则先清空当前后再导入)";
const char* const kImported = "导入音乐文件成功！共导入曲目1个, 音乐文件2个。";
const char* const kPlaceholder = "导入您的音乐(请双击)";

// Five m3u entries E1 to E5 with two songs each (files e<entry>s<song>.mp3);
// E1's artist is B, E2's A, the others C.
CMusicList FiveEntries(const std::string& root) {
    CMusicList entries;
    for (int i = 1; i <= 5; ++i) {
        const std::string title = "E" + std::to_string(i);
        std::vector<CSongPtr> songs;
        for (int j = 1; j <= 2; ++j) {
            const std::string file = "e" + std::to_string(i) + "s" + std::to_string(j) + ".mp3";
            songs.push_back(MakeSong(title + "-S" + std::to_string(j), "", 0, j, root, file, 0));
        }
        entries.AddTail(
            MakeEntry(title, std::string(1, "BACCC"[i - 1]), root, title + ".m3u", songs));
    }
    return entries;
}

void SelectRows(CReportListView* pane, std::initializer_list<int> rows) {
    pane->clearSelection();
    for (int row : rows) {
        pane->SelectRow(row, 0);
    }
}

// The song files of the playlist last played, by name, sorted (random play
// shuffles them).
QStringList PlayedFiles(const CShownLibrary& shown) {
    QStringList files;
    std::istringstream lines(shown.library.Dir().Read("Cache.m3u"));
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line[0] != '#') {
            files << QFileInfo(QString::fromStdString(line).trimmed()).fileName();
        }
    }
    files.sort();
    return files;
}

// A folder "Music" with two MIDI files (a type that the default settings
// import, read without decoding).
QString MakeMusicFolder(CShownLibrary& shown) {
    shown.library.Dir().Write("Music/first.mid", MidiBytes());
    shown.library.Dir().Write("Music/second.mid", MidiBytes());
    return shown.library.QPath("Music");
}

// Each file dialog asked for, as "kind|start folder|filter".
QStringList Requests(const CShownLibrary& shown) {
    QStringList requests;
    for (const CFileDialogRequest& request : shown.dialogs.requests) {
        requests << QString("%1|%2|%3").arg(request.kind).arg(request.startFolder, request.filter);
    }
    return requests;
}

void FinishImport(CMusicManager& manager) {
    if (manager.importThread) {
        manager.importThread->Join();
    }
    QCoreApplication::processEvents();
}

} // namespace

void LibraryHandlersTest::ImportAsksToAppendOrReplace_data() {
    QTest::addColumn<bool>("filled");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("songPane");
    const QStringList old = {"E1", "E2", "E3", "E4", "E5"};
    QStringList allSongs;
    for (const QString& entry : old) {
        allSongs << entry + "-S1" << entry + "-S2";
    }
    QTest::newRow("empty library: nothing asked")
        << false << 0 << "Music" << QStringList({kImported}) << QStringList({"Music"})
        << QStringList({"first", "second"});
    QTest::newRow("cancel") << true << int(CAnswer::Cancel) << "Music"
                            << QStringList({kAppendQuestion}) << old
                            << QStringList({"E3-S1", "E3-S2"});
    QTest::newRow("no replaces") << true << int(CAnswer::No) << "Music"
                                 << QStringList({kAppendQuestion, kImported})
                                 << QStringList({"Music"}) << QStringList({"first", "second"});
    // The all-songs list is shown, with the new songs at its end.
    QTest::newRow("yes appends") << true << int(CAnswer::Yes) << "Music"
                                 << QStringList({kAppendQuestion, kImported})
                                 << old + QStringList({"Music"})
                                 << allSongs + QStringList({"first", "second"});
    QTest::newRow("replace by no music")
        << true << int(CAnswer::No) << "Empty"
        << QStringList({kAppendQuestion, "导入音乐文件成功！共导入曲目0个, 音乐文件0个。"})
        << QStringList() << QStringList();
}

void LibraryHandlersTest::ImportAsksToAppendOrReplace() {
    QFETCH(bool, filled);
    QFETCH(int, answer);
    QFETCH(QString, folder);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, entries);
    QFETCH(QStringList, songPane);
    CShownLibrary shown;
    QVERIFY(shown.Show(filled ? FiveEntries(shown.library.Dir().Path()) : CMusicList()));
    MakeMusicFolder(shown);
    shown.library.Dir().Write("Empty/readme.txt", "nothing to import");
    ClickRow(shown.playList, 3);
    shown.dialogs.answers = {shown.library.QPath(folder.toStdString())};
    shown.platform.answers = {CAnswer(answer)};
    shown.frame->RunCommand(ID_IMPORT_FOLDER);
    FinishImport(shown.Manager());

    QCOMPARE(shown.Messages(), messages);
    QCOMPARE(shown.platform.messages[0].caption, std::string("Cricklet"));
    if (answer == int(CAnswer::Cancel)) {
        QVERIFY(shown.dialogs.requests.empty());
    } else {
        QCOMPARE(shown.dialogs.requests.size(), size_t(1));
        QCOMPARE(shown.dialogs.requests[0].kind, CFileDialogRequest::Folder);
        QCOMPARE(
            shown.dialogs.requests[0].caption,
            QString("请选择一个您存放音乐的文件夹，Cricklet将导入其中所有的音乐文件与播放列表。"));
    }
    QCOMPARE(ListTitles(shown.Manager().entries), entries);
    QCOMPARE(ColumnTexts(shown.playList, 0),
             entries.isEmpty() ? QStringList({kPlaceholder}) : QStringList({"所有歌曲"}) + entries);
    QCOMPARE(shown.Titles(), songPane);
    QCOMPARE(shown.Manager().songs.GetCount(),
             answer == int(CAnswer::Cancel) ? 10 : int(songPane.size()));
    QVERIFY(shown.frame->m_pImportDlg == nullptr);
}

void LibraryHandlersTest::PlaceholderChoiceOpensItsChooser_data() {
    QTest::addColumn<bool>("listFile");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("filter");
    QTest::newRow("folder") << false << int(CFileDialogRequest::Folder) << QString();
    QTest::newRow("list file") << true << int(CFileDialogRequest::OpenFile)
                               << "Cricklet音乐单 (*.stp)";
}

void LibraryHandlersTest::PlaceholderChoiceOpensItsChooser() {
    QFETCH(bool, listFile);
    QFETCH(int, kind);
    QFETCH(QString, filter);
    CShownLibrary shown;
    QVERIFY(shown.Show(CMusicList()));
    QCOMPARE(shown.playList->ItemText(0, 0), QString(kPlaceholder));
    // The folder is preselected: OK alone starts the folder import.
    WhenShown<CImportMethodDlg>([listFile](CImportMethodDlg* dialog) {
        if (listFile) {
            dialog->ListFileRadio()->setChecked(true);
        }
        dialog->accept();
    });
    // Empty space asks nothing; the placeholder row asks how to import.
    QWidget* viewport = shown.playList->viewport();
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, QPoint(5, viewport->height() - 3));
    QVERIFY(shown.dialogs.requests.empty());
    const QRect cell = shown.playList->visualRect(shown.playList->model()->index(0, 0));
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, cell.center());
    // The chooser came once (and was cancelled): nothing was asked.
    QCOMPARE(shown.dialogs.requests.size(), size_t(1));
    QCOMPARE(int(shown.dialogs.requests[0].kind), kind);
    QCOMPARE(shown.dialogs.requests[0].filter, filter);
    QVERIFY(shown.platform.messages.empty());
}

void LibraryHandlersTest::StoppingAnImportAtOnceReportsTheInterruption() {
    CShownLibrary shown;
    QVERIFY(shown.Show(CMusicList()));
    // Far more folders and files than the worker gets through before the
    // stop button, pressed as soon as the dialog shows.
    FillFolders(shown.library.Dir(), "Music", 40, 1000, MidiBytes(), ".mid");
    shown.dialogs.answers = {shown.library.QPath("Music")};
    bool dialogRecorded = false;
    WhenShown<CImportProgressDlg>([&shown, &dialogRecorded](CImportProgressDlg* dialog) {
        dialogRecorded = shown.frame->m_pImportDlg == dialog;
        dialog->StopButton()->click();
    });
    shown.frame->RunCommand(ID_IMPORT_FOLDER);
    QVERIFY(dialogRecorded);
    QVERIFY(shown.frame->m_pImportDlg == nullptr);
    QVERIFY(shown.frame->m_bImportFinished);
    FinishImport(shown.Manager());
    const int entries = shown.Manager().entries.GetCount();
    const int songs = shown.Manager().songs.GetCount();
    QCOMPARE(shown.Messages(),
             QStringList({QString("导入音乐文件被中断。共导入曲目%1个, 音乐文件%2个。")
                              .arg(entries)
                              .arg(songs)}));
    QVERIFY(songs < 40000);
    // Whatever was imported before the stop is shown.
    QCOMPARE(shown.playList->GetItemCount(), entries + 1);
}

void LibraryHandlersTest::ProgressDialogShowsTheTwoLinesAndStops() {
    CImportProgressDlg dialog(nullptr);
    QCOMPARE(QStringList({dialog.windowTitle(), dialog.LocationText(), dialog.FileNameText(),
                          dialog.StopButton()->text()}),
             QStringList({"Cricklet 导入音乐", "导入音乐文件中...", "", "取消"}));
    dialog.ShowProgress("/home/me/Music/Live", "");
    QCOMPARE(dialog.LocationText(), QString("当前位置: /home/me/Music/Live"));
    QCOMPARE(dialog.FileNameText(), QString("文件名  : "));
    dialog.ShowProgress("/home/me/Music/Live", "01 夜曲.mp3");
    QCOMPARE(dialog.FileNameText(), QString("文件名  : 01 夜曲.mp3"));
    // A path far wider than the dialog is shortened on screen, not the dialog
    // widened.
    dialog.show();
    const int width = dialog.width();
    dialog.ShowProgress(QString("/very/long/folder/name").repeated(30), "song.mp3");
    QCoreApplication::processEvents();
    QCOMPARE(dialog.width(), width);
    const QString shownLocation = dialog.findChild<QLabel*>("progressLocation")->text();
    QVERIFY(shownLocation != dialog.LocationText());
    QVERIFY(shownLocation.startsWith(QString("当前位置: /very")));
    QVERIFY(shownLocation.endsWith(QString("folder/name")));

    // The stop button and Escape both cancel the import and close with 1010.
    for (bool escape : {false, true}) {
        CMusicManager manager(nullptr);
        manager.importThread = std::make_unique<CImportThread>(&manager, "/nowhere");
        CImportProgressDlg running(&manager);
        WhenShown<CImportProgressDlg>([escape](CImportProgressDlg* shown) {
            escape ? QTest::keyClick(shown, Qt::Key_Escape) : shown->StopButton()->click();
        });
        QCOMPARE(running.exec(), 1010);
        QVERIFY2(manager.importThread->cancelled, escape ? "escape" : "stop button");
    }
}

void LibraryHandlersTest::RemoveEntriesDeletesShiftedRowsAndShowsTheRowAbove() {
    CShownLibrary shown;
    QVERIFY(shown.Show(FiveEntries(shown.library.Dir().Path())));
    ClickRow(shown.playList, 2);
    SelectRows(shown.playList, {2, 3, 5});
    shown.platform.answers = {CAnswer::Ok};
    QList<int> deletedRows;
    connect(shown.playList->model(), &QAbstractItemModel::rowsAboutToBeRemoved,
            [&deletedRows](const QModelIndex&, int first, int last) {
                for (int row = first; row <= last; ++row) {
                    deletedRows << first;
                }
            });
    shown.frame->RunCommand(ID_REMOVE_ENTRY);
    QCOMPARE(shown.Messages(),
             QStringList({"确定要在当前音乐单中移去这3个曲目? (不会删除这些曲目文件)"}));
    QCOMPARE(deletedRows, QList<int>({2, 2, 3}));
    QCOMPARE(ListTitles(shown.Manager().entries), QStringList({"E1", "E4"}));
    QCOMPARE(shown.Manager().songs.GetCount(), 10); // their songs stay
    QCOMPARE(ColumnTexts(shown.playList, 0), QStringList({"所有歌曲", "E1", "E4"}));
    QCOMPARE(shown.playList->SelectedRows(), std::vector<int>({1}));
    QCOMPARE(shown.Manager().currentRow, 1);
    QCOMPARE(shown.Titles(), QStringList({"E1-S1", "E1-S2"}));
}

void LibraryHandlersTest::RemoveEntryAsksWithTheTitleAndStopsOnCancel() {
    CShownLibrary shown;
    QVERIFY(shown.Show(FiveEntries(shown.library.Dir().Path())));
    ClickRow(shown.playList, 4);
    shown.platform.answers = {CAnswer::Cancel};
    shown.frame->RunCommand(ID_REMOVE_ENTRY);
    // The all-songs row alone names no entry: nothing is asked or removed.
    ClickRow(shown.playList, 0);
    shown.frame->RunCommand(ID_REMOVE_ENTRY);
    QCOMPARE(shown.playList->GetItemCount(), 6);
    // With the all-songs row and one entry selected, only the entry counts.
    SelectRows(shown.playList, {0, 5});
    shown.platform.answers = {CAnswer::Ok};
    shown.frame->RunCommand(ID_REMOVE_ENTRY);
    QCOMPARE(shown.Messages(),
             QStringList({"确定要在当前音乐单中移去\"E4\"? (不会删除该曲目文件)",
                          "确定要在当前音乐单中移去\"E5\"? (不会删除该曲目文件)"}));
    QCOMPARE(ListTitles(shown.Manager().entries), QStringList({"E1", "E2", "E3", "E4"}));
    QCOMPARE(shown.playList->SelectedRows(), std::vector<int>({0}));
}

void LibraryHandlersTest::PlaySendsOnlyTheEntryRowsAndArtistsTheirEntries() {
    CShownLibrary shown;
    QVERIFY(shown.Show(FiveEntries(shown.library.Dir().Path())));
    SelectRows(shown.playList, {0});
    shown.frame->RunCommand(ID_PLAY);
    QVERIFY(shown.platform.openedPaths.empty());
    QCOMPARE(PlayedFiles(shown), QStringList());

    SelectRows(shown.playList, {0, 2});
    shown.frame->RunCommand(ID_PLAY);
    QCOMPARE(shown.platform.openedPaths,
             std::vector<std::string>({shown.library.Path("Cache.m3u")}));
    QCOMPARE(PlayedFiles(shown), QStringList({"e2s1.mp3", "e2s2.mp3"}));
    QCOMPARE(shown.Manager().entries.GetAt(2)->playCount, 1);
    QCOMPARE(shown.Manager().entries.GetAt(1)->playCount, 0);

    // Artist k of the sorted list is command ArtistCommandId(k).
    QVERIFY(shown.frame->RunCommand(ArtistCommandId(1)));
    QCOMPARE(PlayedFiles(shown), QStringList({"e2s1.mp3", "e2s2.mp3"}));
    QVERIFY(shown.frame->RunCommand(ID_ARTIST_FIRST + 1));
    QCOMPARE(PlayedFiles(shown), QStringList({"e1s1.mp3", "e1s2.mp3"}));
}

void LibraryHandlersTest::AddSongPutsItLastAndSelectsIt() {
    CShownLibrary shown;
    QVERIFY(shown.Show(FiveEntries(shown.library.Dir().Path())));
    CMusicManager& manager = shown.Manager();
    // With the all-songs row shown: the flat list's end, no entry changed.
    ClickRow(shown.playList, 0);
    SelectRows(shown.songs, {1, 4});
    shown.dialogs.answers = {
        QString::fromStdString(shown.library.Dir().Write("more/Added.mid", MidiBytes()))};
    shown.frame->RunCommand(ID_ADD_SONG);
    // No recent folder yet: the current one.
    QCOMPARE(Requests(shown), QStringList({"0|" + QDir::currentPath() + "|" +
                                           manager.config.GetMusicFileFilter().c_str()}));
    QCOMPARE(manager.config.RecentDirectory, shown.library.Path("more"));
    QCOMPARE(manager.songs.GetCount(), 11);
    QCOMPARE(shown.Titles().mid(9), QStringList({"E5-S2", "Added"}));
    QCOMPARE(shown.songs->SelectedRows(), std::vector<int>({10}));
    for (const CEntryPtr& entry : manager.entries) {
        QCOMPARE(entry->count, 2);
    }

    // With an entry shown: the entry's end, numbered next.
    ClickRow(shown.playList, 3);
    shown.dialogs.answers = {
        QString::fromStdString(shown.library.Dir().Write("more/Next.mid", MidiBytes()))};
    shown.frame->RunCommand(ID_ADD_SONG);
    QCOMPARE(Requests(shown).value(1).section('|', 0, 1), "0|" + shown.library.QPath("more"));
    QCOMPARE(shown.Titles(), QStringList({"E3-S1", "E3-S2", "Next"}));
    QCOMPARE(shown.songs->SelectedRows(), std::vector<int>({2}));
    QCOMPARE(manager.entries.GetAt(3)->songs.GetAt(3)->order, 3);
    QCOMPARE(shown.playList->ItemText(3, 4), QString("3")); // its song count
    QCOMPARE(manager.songs.GetCount(), 12);
}

void LibraryHandlersTest::RemoveSongsAndClearLibrary() {
    CShownLibrary shown;
    QVERIFY(shown.Show(FiveEntries(shown.library.Dir().Path())));
    ClickRow(shown.playList, 2);
    SelectRows(shown.songs, {1});
    shown.platform.answers = {CAnswer::Cancel};
    shown.frame->RunCommand(ID_REMOVE_SONGS);
    QCOMPARE(shown.Manager().entries.GetAt(2)->count, 2);
    SelectRows(shown.songs, {0, 1});
    shown.platform.answers = {CAnswer::Ok};
    shown.frame->RunCommand(ID_REMOVE_SONGS);
    QCOMPARE(shown.Manager().entries.GetAt(2)->count, 0);
    QCOMPARE(shown.songs->GetItemCount(), 0);
    QCOMPARE(shown.playList->ItemText(2, 4), QString("0"));
    QCOMPARE(shown.Manager().songs.GetCount(), 10); // still in the flat list

    shown.platform.answers = {CAnswer::Cancel, CAnswer::Ok};
    shown.frame->RunCommand(ID_CLEAR_LIBRARY);
    QCOMPARE(shown.Manager().entries.GetCount(), 5);
    shown.frame->RunCommand(ID_CLEAR_LIBRARY);
    const QString clear = "确认要清除所有曲目? (不会删除曲目文件)";
    QCOMPARE(
        shown.Messages(),
        QStringList({"确定要在当前曲目中移去\"E2-S2\"? (不会删除该音乐文件)",
                     "确定要在当前曲目中移去这2个歌曲? (不会删除这些音乐文件)", clear, clear}));
    QVERIFY(IsLibraryEmpty(&shown.Manager()));
    QCOMPARE(ColumnTexts(shown.playList, 0), QStringList({kPlaceholder}));
    QCOMPARE(shown.songs->GetItemCount(), 0);
    QCOMPARE(shown.frame->StatusText(), QString("音乐单为空，请选择导入曲目"));
}

void LibraryHandlersTest::ExportAcceptingTheProposalWritesTheNewListInTheRecentFolder() {
    CShownLibrary shown;
    QVERIFY(shown.Show(FiveEntries(shown.library.Dir().Path())));
    SetFileDialogs(nullptr); // Qt's own dialog
    const std::string recent = shown.library.Path("lists");
    QDir().mkpath(QString::fromStdString(recent));
    shown.Manager().config.RecentDirectory = recent;
    QString proposed;
    WhenShown<QFileDialog>([&proposed](QFileDialog* dialog) {
        proposed = dialog->selectedFiles().value(0);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    shown.frame->RunCommand(ID_EXPORT_LIST);
    QCOMPARE(proposed, QString::fromStdString(recent + "/新建音乐单.stp"));
    QVERIFY(shown.library.Dir().Read("lists/新建音乐单.stp").find("E5-S2") != std::string::npos);
    QCOMPARE(shown.Manager().config.RecentDirectory, recent);
}

void LibraryHandlersTest::CancelledFileDialogsChangeNothing() {
    CShownLibrary shown;
    QVERIFY(shown.Show(FiveEntries(shown.library.Dir().Path())));
    const std::string stored = shown.library.Dir().Read("PlayList.stp");
    QSignalSpy resets(shown.playList->model(), &QAbstractItemModel::modelReset);
    for (int command : {ID_IMPORT_LIST, ID_ADD_ENTRY, ID_ADD_SONG, ID_EXPORT_LIST, ID_EXPORT_HTML,
                        ID_IMPORT_FOLDER}) {
        shown.platform.answers = {CAnswer::Yes};
        shown.frame->RunCommand(command);
    }
    QStringList requests;
    for (const CFileDialogRequest& request : shown.dialogs.requests) {
        requests << request.filter + "|" + request.initialName + "|" + request.defaultSuffix;
    }
    const QString music = QString::fromStdString(shown.Manager().config.GetMusicFileFilter());
    QCOMPARE(requests,
             QStringList({"Cricklet音乐单 (*.stp)||", "Winamp Playlist File (*.m3u *.m3u8 *.pls)||",
                          music + "||", "Cricklet音乐单 (*.stp)|新建音乐单|stp",
                          "网页文件 (*.htm)|新建音乐单|htm", "||"}));
    QCOMPARE(resets.count(), 0);
    QCOMPARE(shown.Manager().entries.GetCount(), 5);
    QCOMPARE(shown.Manager().songs.GetCount(), 10);
    QCOMPARE(shown.library.Dir().Read("PlayList.stp"), stored);
    QCOMPARE(shown.Manager().config.RecentDirectory, std::string());
}

// Files and folders handed to the program from outside (its command line, a
// second copy, a file manager's "open with") join the library as the
// matching command adds them.
void LibraryHandlersTest::OpenPathAddsEachKindAsItsCommandDoes() {
    const QString added = "添加曲目成功！标题:\"精选\" 音乐数:1首";
    const struct {
        const char* name;
        QStringList paths; // opened in turn, relative to the window's folder
        std::deque<CAnswer> answers;
        QStringList entries;
        QStringList songs;
        QStringList messages; // "~" stands for the window's folder
    } cases[] = {
        {"playlist", {"精选.m3u"}, {}, {"精选"}, {"first"}, {added}},
        {"music file", {"Music/first.mid"}, {}, {}, {"first"}, {}},
        {"folder", {"Music"}, {}, {"Music"}, {"first", "second"}, {kImported}},
        {"playlist, then a song",
         {"精选.m3u", "Music/second.mid"},
         {},
         {"精选"},
         {"first", "second"},
         {added}},
        {"folder into a library, cancelled",
         {"精选.m3u", "Music"},
         {CAnswer::Cancel},
         {"精选"},
         {"first"},
         {added, kAppendQuestion}},
        {"folder into a library, appended",
         {"精选.m3u", "Music"},
         {CAnswer::Yes},
         {"精选", "Music"},
         {"first", "first", "second"},
         {added, kAppendQuestion, kImported}},
        {"missing", {"gone.m3u"}, {}, {}, {}, {"找不到文件\"~/gone.m3u\""}},
        {"music type switched off",
         {"take.wav"},
         {},
         {},
         {},
         {"Cricklet 不能添加\"~/take.wav\": 它既不是播放列表, 也不是已启用的音乐文件类型。"}},
    };
    for (const auto& c : cases) {
        CTestWindow window;
        const CTempDir& folder = window.folder;
        folder.Write("Music/first.mid", MidiBytes());
        folder.Write("Music/second.mid", MidiBytes());
        folder.Write("精选.m3u", "#EXTM3U\n#EXTINF:10,first\nMusic/first.mid\n");
        folder.Write("take.wav", "RIFF");
        window.platform.answers = c.answers;
        for (const QString& path : c.paths) {
            OnOpenPath(*window.frame, folder.File(path.toStdString()));
            FinishImport(window.Manager());
        }
        QStringList messages;
        for (const std::string& text : window.platform.MessageTexts()) {
            messages << QString::fromStdString(text).replace(QString::fromStdString(folder.Path()),
                                                             "~");
        }
        QVERIFY2(ListTitles(window.Manager().entries) == c.entries, c.name);
        QVERIFY2(ListTitles(window.Manager().songs) == c.songs, c.name);
        QVERIFY2(messages == c.messages, c.name);
        // The panes show what the library holds: the placeholder row only
        // when it is empty.
        QVERIFY2(window.frame->GetPlayListPane()->GetItemCount() == c.entries.size() + 1, c.name);
    }
}

QTEST_MAIN(LibraryHandlersTest)
#include "LibraryHandlersTest.moc"
