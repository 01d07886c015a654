// The library command handlers on the real window: what they ask, which
// rows they delete and select, what reaches the library and the player, the
// import dialogs they open, and paths handed to the program from outside.
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
    void ImportAsksToAppendOrReplace();
    void PlaceholderChoiceOpensItsChooser();
    void StoppingAnImportAtOnceReportsTheInterruption();
    void ProgressDialogShowsTheTwoLinesAndStops();
    void RemoveEntriesDeletesShiftedRowsAndShowsTheRowAbove();
    void CancelledDialogsChangeNothingPlaySendsOnlyEntryRows();
    void AddSongPutsItLastAndSelectsIt();
    void OpenPathAddsEachKindAsItsCommandDoes();
};

namespace {

const char* const kAppendQuestion =
    "第一步: 您是否将导入的音乐追加至当前音乐单？(选择\"否\" 则先清空当前后再导入)";
const char* const kImported = "导入音乐文件成功！共导入曲目1个, 音乐文件2个。";

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
QString PlayedFiles(const CShownLibrary& shown) {
    QStringList files;
    std::istringstream lines(shown.dir.Read("Cache.m3u"));
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line[0] != '#') {
            files << QFileInfo(QString::fromStdString(line).trimmed()).fileName();
        }
    }
    files.sort();
    return files.join(' ');
}

// Each file dialog asked for, as "kind|start folder|filter|name|suffix".
QStringList Requests(const CShownLibrary& shown) {
    QStringList requests;
    for (const CFileDialogRequest& request : shown.dialogs.requests) {
        requests << QString("%1|%2|%3|%4|%5")
                        .arg(request.kind)
                        .arg(request.startFolder, request.filter, request.initialName,
                             request.defaultSuffix)
                        .replace(QString::fromStdString(shown.Root()), "~");
    }
    return requests;
}

// The messages shown, the common ones by a letter: Q the append question,
// I one entry of two songs imported, A the list added.
QString Messages(const CShownLibrary& shown) {
    return shown.Messages()
        .join(' ')
        .replace(kAppendQuestion, "Q")
        .replace(kImported, "I")
        .replace("添加曲目成功！标题:\"精选\" 音乐数:1首", "A");
}

// Answers by letter: Y yes, N no, C cancel.
std::deque<CAnswer> Answers(const char* letters) {
    std::deque<CAnswer> answers;
    for (const char* letter = letters; *letter != '\0'; ++letter) {
        answers.push_back(*letter == 'Y'   ? CAnswer::Yes
                          : *letter == 'N' ? CAnswer::No
                                           : CAnswer::Cancel);
    }
    return answers;
}

void FinishImport(CMusicManager& manager) {
    if (manager.importThread) {
        manager.importThread->Join();
    }
    QCoreApplication::processEvents();
}

} // namespace

void LibraryHandlersTest::ImportAsksToAppendOrReplace() {
    const struct {
        const char* name;
        bool filled;
        const char* answer;
        const char* folder;
        QString messages;
        QString panes; // the playlist pane's titles | the song pane's
    } cases[] = {
        {"empty library: nothing asked", false, "", "Music", "I", "所有歌曲 Music|first second"},
        {"cancel", true, "C", "Music", "Q", "所有歌曲 E1 E2 E3 E4 E5|E3-S1 E3-S2"},
        {"no replaces", true, "N", "Music", "Q I", "所有歌曲 Music|first second"},
        // The all-songs list is shown, with the new songs at its end.
        {"yes appends", true, "Y", "Music", "Q I",
         "所有歌曲 E1 E2 E3 E4 E5 Music|E1-S1 E1-S2 E2-S1 E2-S2 E3-S1 E3-S2 E4-S1 E4-S2 E5-S1 "
         "E5-S2 "
         "first second"},
        {"replace by no music", true, "N", "Empty",
         "Q 导入音乐文件成功！共导入曲目0个, 音乐文件0个。", "导入您的音乐(请双击)|"},
    };
    for (const auto& c : cases) {
        CShownLibrary shown;
        QVERIFY(shown.Show(c.filled ? FiveEntries(shown.Root()) : CMusicList()));
        shown.dir.Write("Music/first.mid", MidiBytes());
        shown.dir.Write("Music/second.mid", MidiBytes());
        shown.dir.Write("Empty/readme.txt", "nothing to import");
        ClickRow(shown.playList, 3);
        shown.dialogs.answers = {shown.QPath(c.folder)};
        shown.platform.answers = Answers(c.answer);
        shown.frame->RunCommand(ID_IMPORT_FOLDER);
        FinishImport(shown.Manager());
        QCOMPARE(Messages(shown), c.messages);
        QCOMPARE(shown.platform.messages[0].caption, std::string("Cricklet"));
        QCOMPARE(ColumnTexts(shown.playList, 0).join(' ') + "|" + shown.Titles().join(' '),
                 c.panes);
        const bool cancelled = QByteArray(c.answer) == "C";
        QCOMPARE(shown.Manager().songs.GetCount(), cancelled ? 10 : int(shown.Titles().size()));
        QCOMPARE(Requests(shown).size(), cancelled ? 0 : 1);
        QVERIFY(cancelled ||
                shown.dialogs.requests[0].caption ==
                    "请选择一个您存放音乐的文件夹，Cricklet将导入其中所有的音乐文件与播放列表。");
        QVERIFY(shown.frame->m_pImportDlg == nullptr);
    }
}

void LibraryHandlersTest::PlaceholderChoiceOpensItsChooser() {
    // The folder is preselected: OK alone starts the folder import; Cancel
    // keeps the caller's choice.
    QString shownChoice;
    for (bool listFile : {false, true}) {
        CShownLibrary shown;
        QVERIFY(shown.Show(CMusicList()));
        WhenShown<CImportMethodDlg>([listFile, &shownChoice](CImportMethodDlg* dialog) {
            shownChoice = QString("%1 %2 %3|%4|%5")
                              .arg(dialog->FolderRadio()->isChecked())
                              .arg(dialog->ListFileRadio()->isChecked())
                              .arg(dialog->windowTitle(), dialog->FolderRadio()->text(),
                                   dialog->ListFileRadio()->text());
            dialog->ListFileRadio()->setChecked(listFile);
            dialog->accept();
        });
        // Empty space asks nothing; the placeholder row asks how to import.
        QWidget* viewport = shown.playList->viewport();
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, QPoint(5, viewport->height() - 3));
        QVERIFY(shown.dialogs.requests.empty());
        const QRect cell = shown.playList->visualRect(shown.playList->model()->index(0, 0));
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, cell.center());
        // The chooser came once (and was cancelled): nothing was asked.
        QCOMPARE(Requests(shown).size(), 1);
        QCOMPARE(int(shown.dialogs.requests[0].kind),
                 int(listFile ? CFileDialogRequest::OpenFile : CFileDialogRequest::Folder));
        QVERIFY(shown.platform.messages.empty());
    }
    QCOMPARE(shownChoice, QString("1 0 Cricklet 导入音乐方式|选择一个文件夹导入里面的音乐文件|"
                                  "导入一个现有的Cricklet音乐单(.stp)"));
    CImportMethodDlg dialog;
    dialog.choice = CImportMethodDlg::ChooseFolder;
    WhenShown<CImportMethodDlg>([](CImportMethodDlg* shown) {
        shown->ListFileRadio()->click();
        shown->reject();
    });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QCOMPARE(dialog.choice, int(CImportMethodDlg::ChooseFolder));
}

void LibraryHandlersTest::StoppingAnImportAtOnceReportsTheInterruption() {
    CShownLibrary shown;
    QVERIFY(shown.Show(CMusicList()));
    // Far more folders and files than the worker gets through before the
    // stop button, pressed as soon as the dialog shows.
    FillFolders(shown.dir, "Music", 40, 1000, MidiBytes(), ".mid");
    shown.dialogs.answers = {shown.QPath("Music")};
    bool dialogRecorded = false;
    WhenShown<CImportProgressDlg>([&shown, &dialogRecorded](CImportProgressDlg* dialog) {
        dialogRecorded = shown.frame->m_pImportDlg == dialog;
        dialog->StopButton()->click();
    });
    shown.frame->RunCommand(ID_IMPORT_FOLDER);
    QVERIFY(dialogRecorded && shown.frame->m_pImportDlg == nullptr);
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
    QStringList texts = {dialog.windowTitle(), dialog.LocationText(), dialog.FileNameText(),
                         dialog.StopButton()->text()};
    for (const char* file : {"", "01 夜曲.mp3"}) {
        dialog.ShowProgress("/home/me/Live", file);
        texts << dialog.LocationText() << dialog.FileNameText();
    }
    QCOMPARE(texts.join('|'), QString("Cricklet 导入音乐|导入音乐文件中...||取消|当前位置: "
                                      "/home/me/Live|文件名  : |当前位置: /home/me/Live|文件名  "
                                      ": 01 夜曲.mp3"));

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
    QVERIFY(shown.Show(FiveEntries(shown.Root())));
    // Cancel removes nothing; the all-songs row alone names no entry, and
    // beside entries it does not count.
    ClickRow(shown.playList, 4);
    shown.frame->RunCommand(ID_REMOVE_ENTRY);
    ClickRow(shown.playList, 0);
    shown.frame->RunCommand(ID_REMOVE_ENTRY);
    SelectRows(shown.playList, {0, 5});
    shown.platform.answers = {CAnswer::Ok};
    shown.frame->RunCommand(ID_REMOVE_ENTRY);
    QCOMPARE(shown.playList->SelectedRows(), std::vector<int>({0}));

    ClickRow(shown.playList, 2);
    SelectRows(shown.playList, {2, 4});
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
             QStringList({"确定要在当前音乐单中移去\"E4\"? (不会删除该曲目文件)",
                          "确定要在当前音乐单中移去\"E5\"? (不会删除该曲目文件)",
                          "确定要在当前音乐单中移去这2个曲目? (不会删除这些曲目文件)"}));
    QCOMPARE(deletedRows, QList<int>({2, 3}));
    QCOMPARE(ColumnTexts(shown.playList, 0), QStringList({"所有歌曲", "E1", "E3"}));
    QCOMPARE(shown.Manager().songs.GetCount(), 10); // their songs stay
    QCOMPARE(shown.playList->SelectedRows(), std::vector<int>({1}));
    QCOMPARE(shown.Manager().currentRow, 1);
    QCOMPARE(shown.Titles(), QStringList({"E1-S1", "E1-S2"}));
}

void LibraryHandlersTest::CancelledDialogsChangeNothingPlaySendsOnlyEntryRows() {
    CShownLibrary shown;
    QVERIFY(shown.Show(FiveEntries(shown.Root())));
    // Cancelled file dialogs change nothing.
    const std::string stored = shown.dir.Read("PlayList.stp");
    QSignalSpy resets(shown.playList->model(), &QAbstractItemModel::modelReset);
    for (int command :
         {ID_IMPORT_LIST, ID_ADD_ENTRY, ID_EXPORT_LIST, ID_EXPORT_HTML, ID_IMPORT_FOLDER}) {
        shown.platform.answers = {CAnswer::Yes};
        shown.frame->RunCommand(command);
    }
    QCOMPARE(Requests(shown),
             QStringList({"0|~|Cricklet音乐单 (*.stp)||",
                          "0|~|Winamp Playlist File (*.m3u *.m3u8 *.pls)||",
                          "1|~|Cricklet音乐单 (*.stp)|新建音乐单|stp",
                          "1|~|网页文件 (*.htm)|新建音乐单|htm",
                          "2|" + shown.dialogs.requests.back().startFolder + "|||"}));
    QCOMPARE(resets.count(), 0);
    QCOMPARE(shown.Manager().songs.GetCount(), 10);
    QCOMPARE(shown.dir.Read("PlayList.stp"), stored);
    QCOMPARE(shown.Manager().config.RecentDirectory, std::string());

    SelectRows(shown.playList, {0});
    shown.frame->RunCommand(ID_PLAY);
    QVERIFY(shown.platform.openedPaths.empty());
    QCOMPARE(PlayedFiles(shown), QString());

    SelectRows(shown.playList, {0, 2});
    shown.frame->RunCommand(ID_PLAY);
    QCOMPARE(shown.platform.openedPaths, std::vector<std::string>({shown.Path("Cache.m3u")}));
    QStringList played = {PlayedFiles(shown)};
    QCOMPARE(shown.Manager().entries.GetAt(2)->playCount, 1);
    QCOMPARE(shown.Manager().entries.GetAt(1)->playCount, 0);
    // Artist k of the sorted list is command ArtistCommandId(k).
    for (int command : {ArtistCommandId(1), ID_ARTIST_FIRST + 1}) {
        QVERIFY(shown.frame->RunCommand(command));
        played << PlayedFiles(shown);
    }
    QCOMPARE(played, QStringList({"e2s1.mp3 e2s2.mp3", "e2s1.mp3 e2s2.mp3", "e1s1.mp3 e1s2.mp3"}));

    // Qt's own dialog: accepting the proposal writes the new list in the recent folder.
    SetFileDialogs(nullptr); // Qt's own dialog
    const std::string recent = shown.Path("lists");
    QDir().mkpath(QString::fromStdString(recent));
    shown.Manager().config.RecentDirectory = recent;
    QString proposed;
    WhenShown<QFileDialog>([&proposed](QFileDialog* dialog) {
        proposed = dialog->selectedFiles().value(0);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    shown.frame->RunCommand(ID_EXPORT_LIST);
    QCOMPARE(proposed, QString::fromStdString(recent + "/新建音乐单.stp"));
    QVERIFY(shown.dir.Read("lists/新建音乐单.stp").find("E5-S2") != std::string::npos);
    QCOMPARE(shown.Manager().config.RecentDirectory, recent);
}

void LibraryHandlersTest::AddSongPutsItLastAndSelectsIt() {
    CShownLibrary shown;
    QVERIFY(shown.Show(FiveEntries(shown.Root())));
    CMusicManager& manager = shown.Manager();
    // With the all-songs row shown: the flat list's end, no entry changed.
    ClickRow(shown.playList, 0);
    SelectRows(shown.songs, {1, 4});
    shown.dialogs.answers = {
        QString::fromStdString(shown.dir.Write("more/Added.mid", MidiBytes()))};
    shown.frame->RunCommand(ID_ADD_SONG);
    QCOMPARE(manager.config.RecentDirectory, shown.Path("more"));
    QCOMPARE(shown.Titles().mid(9), QStringList({"E5-S2", "Added"}));
    QCOMPARE(shown.songs->SelectedRows(), std::vector<int>({10}));
    QCOMPARE(manager.entries.GetAt(1)->count + manager.entries.GetAt(5)->count, 4);

    // With an entry shown: the entry's end, numbered next.
    ClickRow(shown.playList, 3);
    shown.dialogs.answers = {QString::fromStdString(shown.dir.Write("more/Next.mid", MidiBytes()))};
    shown.frame->RunCommand(ID_ADD_SONG);
    // No recent folder yet: the current one; then the folder of the song added.
    const QString filter = QString::fromStdString(manager.config.GetMusicFileFilter());
    QCOMPARE(Requests(shown), QStringList({"0|~|" + filter + "||", "0|~/more|" + filter + "||"}));
    QCOMPARE(shown.Titles(), QStringList({"E3-S1", "E3-S2", "Next"}));
    QCOMPARE(shown.songs->SelectedRows(), std::vector<int>({2}));
    QCOMPARE(manager.entries.GetAt(3)->songs.GetAt(3)->order, 3);
    QCOMPARE(shown.playList->ItemText(3, 4), QString("3")); // its song count
    QCOMPARE(manager.songs.GetCount(), 12);

    // Removing songs, then clearing the library.
    ClickRow(shown.playList, 2);
    SelectRows(shown.songs, {1});
    shown.frame->RunCommand(ID_REMOVE_SONGS); // cancelled
    QCOMPARE(shown.Manager().entries.GetAt(2)->count, 2);
    SelectRows(shown.songs, {0, 1});
    shown.platform.answers = {CAnswer::Ok};
    shown.frame->RunCommand(ID_REMOVE_SONGS);
    QCOMPARE(shown.Manager().entries.GetAt(2)->count + shown.songs->GetItemCount(), 0);
    QCOMPARE(shown.playList->ItemText(2, 4), QString("0"));
    QCOMPARE(shown.Manager().songs.GetCount(), 12); // still in the flat list

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
    QCOMPARE(ColumnTexts(shown.playList, 0), QStringList({"导入您的音乐(请双击)"}));
    QCOMPARE(shown.songs->GetItemCount(), 0);
    QCOMPARE(shown.frame->StatusText(), QString("音乐单为空，请选择导入曲目"));
}

// Files and folders handed to the program from outside (its command line, a
// second copy, a file manager's "open with") join the library as the
// matching command adds them.
void LibraryHandlersTest::OpenPathAddsEachKindAsItsCommandDoes() {
    const char* switchedOff =
        "Cricklet 不能添加\"~/take.wav\": 它既不是播放列表, 也不是已启用的音乐文件类型。";
    const struct {
        const char* name;
        QString paths; // opened in turn, relative to the window's folder
        const char* answers;
        QString library; // entries | songs
        QString messages;
    } cases[] = {
        {"playlist", "精选.m3u", "", "精选|first", "A"},
        {"music file", "Music/first.mid", "", "|first", ""},
        {"folder", "Music", "", "Music|first second", "I"},
        {"playlist, then a song", "精选.m3u Music/second.mid", "", "精选|first second", "A"},
        {"folder into a library, cancelled", "精选.m3u Music", "C", "精选|first", "A Q"},
        {"folder into a library, appended", "精选.m3u Music", "Y", "精选 Music|first first second",
         "A Q I"},
        {"missing", "gone.m3u", "", "|", "找不到文件\"~/gone.m3u\""},
        {"music type switched off", "take.wav", "", "|", switchedOff},
    };
    for (const auto& c : cases) {
        CShownLibrary shown;
        shown.dir.Write("Music/first.mid", MidiBytes());
        shown.dir.Write("Music/second.mid", MidiBytes());
        shown.dir.Write("精选.m3u", "#EXTM3U\n#EXTINF:10,first\nMusic/first.mid\n");
        shown.dir.Write("take.wav", "RIFF");
        QVERIFY(shown.Show(CMusicList()));
        shown.platform.answers = Answers(c.answers);
        for (const QString& path : c.paths.split(' ')) {
            OnOpenPath(*shown.frame, shown.Path(path.toStdString()));
            FinishImport(shown.Manager());
        }
        const QString library = ListTitles(shown.Manager().entries).join(' ') + "|" +
                                ListTitles(shown.Manager().songs).join(' ');
        QVERIFY2(library == c.library && Messages(shown) == c.messages, c.name);
        // The panes show what the library holds: the placeholder row only
        // when it is empty.
        QVERIFY2(shown.playList->GetItemCount() == shown.Manager().entries.GetCount() + 1, c.name);
    }
}

QTEST_MAIN(LibraryHandlersTest)
#include "LibraryHandlersTest.moc"
