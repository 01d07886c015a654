// The library command handlers on the real window: what they ask, which
// rows they delete and select, what reaches the library and the player, the
// import dialogs they open, and paths handed to the program from outside.
#include "GuiHelpers.h"

#include "app/CommandIds.h"
#include "app/Handlers.h"
#include "app/ImportMethodDlg.h"
#include "app/ImportProgressDlg.h"

#include <QFileDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

class LibraryHandlersTest : public QObject {
    Q_OBJECT
private slots:
    void ImportAsksToAppendOrReplace();
    void PlaceholderChoiceOpensItsChooser();
    void StoppingAnImportAtOnceReportsTheInterruption();
    void ProgressDialogShowsTheTwoLines();
    void RemoveEntriesDeletesShiftedRowsAndShowsTheRowAbove();
    void CancelledDialogsChangeNothingArtistCommandsPlayTheirArtist();
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
        std::deque<CAnswer> answers;
        const char* folder;
        QString messages;
        QString panes; // the playlist pane's titles | the song pane's
    } cases[] = {
        {"empty library: nothing asked", false, {}, "Music", "I", "所有歌曲 Music|first second"},
        {"cancel", true, {CAnswer::Cancel}, "Music", "Q", "所有歌曲 E1 E2 E3 E4 E5|E3-S1 E3-S2"},
        {"no replaces", true, {CAnswer::No}, "Music", "Q I", "所有歌曲 Music|first second"},
        // The all-songs list is shown, with the new songs at its end.
        {"yes appends",
         true,
         {CAnswer::Yes},
         "Music",
         "Q I",
         "所有歌曲 E1 E2 E3 E4 E5 Music|E1-S1 E1-S2 E2-S1 E2-S2 E3-S1 E3-S2 E4-S1 E4-S2 E5-S1 "
         "E5-S2 "
         "first second"},
    };
    for (const auto& c : cases) {
        CShownLibrary shown;
        QVERIFY(shown.Show(c.filled ? FiveEntries(shown.Root()) : CMusicList()));
        shown.dir.Write("Music/first.mid", MidiBytes());
        shown.dir.Write("Music/second.mid", MidiBytes());
        ClickRow(shown.playList, 3);
        shown.dialogs.answers = {shown.QPath(c.folder)};
        shown.platform.answers = c.answers;
        shown.frame->RunCommand(ID_IMPORT_FOLDER);
        FinishImport(shown.Manager());
        QCOMPARE(Messages(shown), c.messages);
        QCOMPARE(shown.platform.messages[0].caption, std::string("Cricklet"));
        QCOMPARE(ColumnTexts(shown.playList, 0).join(' ') + "|" + shown.Titles().join(' '),
                 c.panes);
        const bool cancelled = !c.answers.empty() && c.answers[0] == CAnswer::Cancel;
        QCOMPARE(shown.Manager().songs.GetCount(), cancelled ? 10 : int(shown.Titles().size()));
        QCOMPARE(Requests(shown).size(), cancelled ? 0 : 1);
        QVERIFY(cancelled ||
                shown.dialogs.requests[0].caption ==
                    "请选择一个您存放音乐的文件夹，Cricklet将导入其中所有的音乐文件与播放列表。");
        QVERIFY(shown.frame->m_pImportDlg == nullptr);
    }
}

void LibraryHandlersTest::PlaceholderChoiceOpensItsChooser() {
    // The folder is preselected: OK alone starts the folder import.
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
        QWidget* viewport = shown.playList->viewport();
        const QRect cell = shown.playList->visualRect(shown.playList->model()->index(0, 0));
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, cell.center());
        QCOMPARE(Requests(shown).size(), 1);
        QCOMPARE(int(shown.dialogs.requests[0].kind),
                 int(listFile ? CFileDialogRequest::OpenFile : CFileDialogRequest::Folder));
    }
    QCOMPARE(shownChoice, QString("1 0 Cricklet 导入音乐方式|选择一个文件夹导入里面的音乐文件|"
                                  "导入一个现有的Cricklet音乐单(.stp)"));
}

void LibraryHandlersTest::StoppingAnImportAtOnceReportsTheInterruption() {
    CShownLibrary shown;
    QVERIFY(shown.Show(CMusicList()));
    // Far more folders and files than the worker gets through before the
    // stop button, pressed as soon as the dialog shows.
    FillFolders(shown.dir, "Music", 40, 1000, MidiBytes(), ".mid");
    shown.dialogs.answers = {shown.QPath("Music")};
    WhenShown<CImportProgressDlg>(
        [](CImportProgressDlg* dialog) { dialog->StopButton()->click(); });
    shown.frame->RunCommand(ID_IMPORT_FOLDER);
    QVERIFY(shown.frame->m_pImportDlg == nullptr);
    QVERIFY(shown.frame->m_bImportFinished);
    FinishImport(shown.Manager());
    const int entries = shown.Manager().entries.GetCount();
    const int songs = shown.Manager().songs.GetCount();
    QCOMPARE(shown.Messages(),
             QStringList({QString("导入音乐文件被中断。共导入曲目%1个, 音乐文件%2个。")
                              .arg(entries)
                              .arg(songs)}));
    // Whatever was imported before the stop is shown.
    QCOMPARE(shown.playList->GetItemCount(), entries + 1);
}

void LibraryHandlersTest::ProgressDialogShowsTheTwoLines() {
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
}

void LibraryHandlersTest::RemoveEntriesDeletesShiftedRowsAndShowsTheRowAbove() {
    CShownLibrary shown;
    QVERIFY(shown.Show(FiveEntries(shown.Root())));
    // Cancel removes nothing; the all-songs row beside entries does not count.
    ClickRow(shown.playList, 4);
    shown.frame->RunCommand(ID_REMOVE_ENTRY);
    SelectRows(shown.playList, {0, 5});
    shown.platform.answers = {CAnswer::Ok};
    shown.frame->RunCommand(ID_REMOVE_ENTRY);
    QCOMPARE(shown.playList->SelectedRows(), std::vector<int>({0}));

    ClickRow(shown.playList, 2);
    SelectRows(shown.playList, {2, 4});
    shown.platform.answers = {CAnswer::Ok};
    shown.frame->RunCommand(ID_REMOVE_ENTRY);
    QCOMPARE(shown.Messages(),
             QStringList({"确定要在当前音乐单中移去\"E4\"? (不会删除该曲目文件)",
                          "确定要在当前音乐单中移去\"E5\"? (不会删除该曲目文件)",
                          "确定要在当前音乐单中移去这2个曲目? (不会删除这些曲目文件)"}));
    QCOMPARE(ColumnTexts(shown.playList, 0), QStringList({"所有歌曲", "E1", "E3"}));
    QCOMPARE(shown.playList->SelectedRows(), std::vector<int>({1}));
    QCOMPARE(shown.Manager().currentRow, 1);
    QCOMPARE(shown.Titles(), QStringList({"E1-S1", "E1-S2"}));
}

void LibraryHandlersTest::CancelledDialogsChangeNothingArtistCommandsPlayTheirArtist() {
    CShownLibrary shown;
    QVERIFY(shown.Show(FiveEntries(shown.Root())));
    const std::string stored = shown.dir.Read("PlayList.stp");
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
    QCOMPARE(ListTitles(shown.Manager().entries).join(' '), QString("E1 E2 E3 E4 E5"));
    QCOMPARE(shown.dir.Read("PlayList.stp"), stored);

    // The artists sorted: A (E2), B (E1), C; the second one's item plays E1.
    QVERIFY(shown.frame->RunCommand(ID_ARTIST_FIRST + 1));
    const std::string played = shown.dir.Read("Cache.m3u");
    QVERIFY2(played.find("/e1s2.mp3") != std::string::npos &&
                 played.find("/e2s") == std::string::npos &&
                 played.find("/e3s") == std::string::npos,
             played.c_str());

    // Qt's own dialog: accepting the proposal writes the new list in the recent folder.
    SetFileDialogs(nullptr);
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

    ClickRow(shown.playList, 2);
    SelectRows(shown.songs, {1});
    shown.frame->RunCommand(ID_REMOVE_SONGS); // cancelled
    QCOMPARE(shown.Manager().entries.GetAt(2)->count, 2);
    SelectRows(shown.songs, {0, 1});
    shown.platform.answers = {CAnswer::Ok};
    shown.frame->RunCommand(ID_REMOVE_SONGS);
    QCOMPARE(shown.Manager().entries.GetAt(2)->count + shown.songs->GetItemCount(), 0);
    QCOMPARE(shown.playList->ItemText(2, 4), QString("0"));

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
        std::deque<CAnswer> answers;
        QString library; // entries | songs
        QString messages;
    } cases[] = {
        {"playlist, then a song", "精选.m3u Music/second.mid", {}, "精选|first second", "A"},
        {"folder into a library, cancelled",
         "精选.m3u Music",
         {CAnswer::Cancel},
         "精选|first",
         "A Q"},
        {"folder into a library, appended",
         "精选.m3u Music",
         {CAnswer::Yes},
         "精选 Music|first first second",
         "A Q I"},
        {"missing", "gone.m3u", {}, "|", "找不到文件\"~/gone.m3u\""},
        {"music type switched off", "take.wav", {}, "|", switchedOff},
    };
    for (const auto& c : cases) {
        CShownLibrary shown;
        shown.dir.Write("Music/first.mid", MidiBytes());
        shown.dir.Write("Music/second.mid", MidiBytes());
        shown.dir.Write("精选.m3u", "#EXTM3U\n#EXTINF:10,first\nMusic/first.mid\n");
        shown.dir.Write("take.wav", "RIFF");
        QVERIFY(shown.Show(CMusicList()));
        shown.platform.answers = c.answers;
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
