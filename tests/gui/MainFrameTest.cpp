// The main window started on a library of store files: both panes, the
// status text, the caption, the size handler, the menus and the close
// question.
#include "GuiHelpers.h"

#include "app/CommandIds.h"
#include "app/CommandTable.h"
#include "app/ExitConfirmDlg.h"
#include "app/MainFrame.h"
#include "app/TunecaseDoc.h"
#include "core/MusicManager.h"
#include "panes/PlayListView.h"
#include "panes/SongListView.h"
#include "support/RecordingPlatform.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

#include <memory>

class MainFrameTest : public QObject {
    Q_OBJECT
private slots:
    void ShowsTheStoredLibraryInBothPanes();
    void ShowsThePlaceholderAndEmptyTextForAnEmptyLibrary();
    void SumsWholeMebibytesInTheStatusText();
    void CaptionJoinsDocumentAndApplicationTitles();
    void SizesColumnsFromTheSecondSizeMessageOn();
    void LeavesColumnsAloneBeforeTheDocumentIsInitialised();
    void CancelledExitKeepsTheWindowAndWritesNothing();
    void ConfirmedExitStoresTheCheckBoxAndSaves();
    void AFailedExitSaveAsksBeforeLosingTheChanges();
    void KeepsArtistMenuFilledAcrossMenuSwitches();
    void LaysOutTheToolbarAndMenuBar();
    void MinimisingWithoutTrayNeverHides();
};

namespace {

std::unique_ptr<CMainFrame> ShowFrame(int width = 1000, int height = 700) {
    auto frame = std::make_unique<CMainFrame>();
    frame->resize(width, height);
    frame->show();
    if (!QTest::qWaitForWindowExposed(frame.get())) {
        return nullptr;
    }
    return frame;
}

} // namespace

void MainFrameTest::ShowsTheStoredLibraryInBothPanes() {
    CGuiLibrary library;
    library.Write(SampleEntries(library.Dir().Path()));
    auto frame = ShowFrame();
    QVERIFY(frame);
    CPlayListView* playList = frame->GetPlayListPane();
    QCOMPARE(playList->GetItemCount(), 5);
    QCOMPARE(RowTexts(playList, 0), QStringList({"所有歌曲", "", "", "", "", "", "", ""}));
    QCOMPARE(RowTexts(playList, 1), QStringList({"周末的歌", "m3u", "陈奕迅", "流行", "2", "03:30",
                                                 "0", library.QPath("music/zhou/周末.m3u")}));
    QCOMPARE(RowTexts(playList, 2), QStringList({"老歌", "文件夹", "", "N/A", "2", "72:05", "0",
                                                 library.QPath("music/老歌")}));
    QCOMPARE(RowTexts(playList, 3),
             QStringList({"Party", "pls", "DJ", "N/A", "0", "Unknown", "7", "/music/party.pls"}));
    QCOMPARE(RowTexts(playList, 4),
             QStringList({"Other", "", "", "N/A", "0", "Unknown", "0", "/music/x.wpl"}));
    QCOMPARE(QList<int>({playList->ItemImage(0), playList->ItemImage(1), playList->ItemImage(2),
                         playList->ItemImage(3), playList->ItemImage(4)}),
             QList<int>({4, 0, 3, 0, 0}));
    QStringList headings;
    for (int column = 0; column < 8; ++column) {
        headings << playList->model()->headerData(column, Qt::Horizontal).toString();
    }
    QCOMPARE(headings, QStringList({"曲目标题", "类型", "艺术家", "风格", "曲数", "时间",
                                    "欣赏次数", "文件位置"}));

    CSongListView* songs = frame->GetSongPane();
    QCOMPARE(songs->GetItemCount(), 4);
    QCOMPARE(RowTexts(songs, 0), QStringList({"十年", "陈奕迅", "流行", "03:25", "", "mp3",
                                              "2960KB", library.QPath("music/zhou/十年.mp3")}));
    QCOMPARE(RowTexts(songs, 1), QStringList({"浮夸", "陈奕迅", "N/A", "00:05", "", "mp3", "0KB",
                                              library.QPath("music/zhou/浮夸.mp3")}));
    QCOMPARE(RowTexts(songs, 3), QStringList({"月亮代表我的心", "邓丽君", "N/A", "62:05", "", "wma",
                                              "1KB", library.QPath("music/老歌/月亮.wma")}));
    headings.clear();
    for (int column = 0; column < 8; ++column) {
        headings << songs->model()->headerData(column, Qt::Horizontal).toString();
    }
    QCOMPARE(headings, QStringList({"音乐标题", "艺术家", "风格", "时间", "次序", "文件类型",
                                    "文件大小", "文件位置"}));
    QCOMPARE(frame->StatusText(),
             QStringLiteral("曲目: 4  音乐: 4  文件总量: 6MB  总时间: 01:15:35"));
}

void MainFrameTest::ShowsThePlaceholderAndEmptyTextForAnEmptyLibrary() {
    CGuiLibrary library;
    auto frame = ShowFrame();
    QVERIFY(frame);
    QCOMPARE(frame->GetPlayListPane()->GetItemCount(), 1);
    QCOMPARE(RowTexts(frame->GetPlayListPane(), 0),
             QStringList({"导入您的音乐(请双击)", "", "", "", "", "", "", ""}));
    QCOMPARE(frame->GetPlayListPane()->ItemImage(0), 4);
    QCOMPARE(frame->GetSongPane()->GetItemCount(), 0);
    QCOMPARE(frame->StatusText(), QStringLiteral("音乐单为空，请选择导入曲目"));
}

void MainFrameTest::SumsWholeMebibytesInTheStatusText() {
    CGuiLibrary library;
    CMusicList entries;
    const std::string folder = library.Path("m");
    entries.AddTail(MakeEntry("a", "", folder, "a.m3u",
                              {MakeSong("x", "", 0, 1, folder, "x.mp3", 1048575),
                               MakeSong("y", "", 0, 2, folder, "y.mp3", 1)}));
    entries.AddTail(MakeEntry("b", "", "/m", "b.m3u", {}));
    entries.AddTail(MakeEntry("c", "", "/m", "c.m3u", {}));
    library.Write(entries);
    auto frame = ShowFrame();
    QVERIFY(frame);
    QCOMPARE(frame->StatusText(),
             QStringLiteral("曲目: 3  音乐: 2  文件总量: 1MB  总时间: Unknown"));

    CMusicManager* manager = frame->m_pManager;
    manager->songs.RemoveAt(2);
    frame->UpdateStatusText();
    QCOMPARE(frame->StatusText(),
             QStringLiteral("曲目: 3  音乐: 1  文件总量: 0MB  总时间: Unknown"));

    // More than 4 GB of music is counted whole, not modulo 2^32.
    manager->songs.AddTail(MakeSong("big", "", 0, 0, "/m", "big.wav", 5LL << 30));
    frame->UpdateStatusText();
    QCOMPARE(frame->StatusText(),
             QStringLiteral("曲目: 3  音乐: 2  文件总量: 5120MB  总时间: Unknown"));
}

void MainFrameTest::CaptionJoinsDocumentAndApplicationTitles() {
    CTunecaseDoc doc;
    QCOMPARE(doc.m_bInitialized, 0);
    QVERIFY(doc.OnNewDocument());
    QCOMPARE(doc.m_bInitialized, 1);
    QCOMPARE(FrameCaption(doc), QStringLiteral("鸣蛩 (Cricklet)   -   一切音乐尽在掌握中 !"));
}

void MainFrameTest::SizesColumnsFromTheSecondSizeMessageOn() {
    int title = 0;
    int location = 0;
    CMainFrame::ColumnWidthsForWidth(600, title, location);
    QCOMPARE(QList<int>({title, location}), QList<int>({120, 170}));
    CMainFrame::ColumnWidthsForWidth(1000, title, location);
    QCOMPARE(QList<int>({title, location}), QList<int>({230, 346}));
    CMainFrame::ColumnWidthsForWidth(150, title, location); // (150 - 400) / 2 truncates to -125
    QCOMPARE(QList<int>({title, location}), QList<int>({120, 170}));

    CGuiLibrary library;
    CTunecaseDoc doc;
    doc.OnNewDocument();
    CMainFrame frame(&doc);
    QHeaderView* header = frame.GetPlayListPane()->horizontalHeader();
    frame.resize(1000, 700);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    // However wide the window, its first size message leaves the title
    // column; the last column fills the pane's width whatever its size.
    auto fillsThePane = [](QTableView* pane) {
        return pane->horizontalHeader()->length() == pane->viewport()->width();
    };
    QCOMPARE(header->sectionSize(0), 180);
    QVERIFY(fillsThePane(frame.GetPlayListPane()));
    QVERIFY(header->sectionSize(7) > 172);
    frame.resize(600, 500);
    QTRY_COMPARE(header->sectionSize(0), 120);
    QCOMPARE(header->sectionSize(7), 170);
    QCOMPARE(frame.GetSongPane()->horizontalHeader()->sectionSize(0), 120);
    frame.resize(1000, 700);
    QTRY_COMPARE(header->sectionSize(0), 230);
    QVERIFY(fillsThePane(frame.GetPlayListPane()));
    QVERIFY(fillsThePane(frame.GetSongPane()));
}

void MainFrameTest::LeavesColumnsAloneBeforeTheDocumentIsInitialised() {
    CGuiLibrary library;
    CTunecaseDoc doc;
    CMainFrame frame(&doc);
    frame.resize(1000, 700);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    frame.resize(600, 500);
    QTest::qWait(50);
    QCOMPARE(frame.GetPlayListPane()->horizontalHeader()->sectionSize(0), 180);
    QCOMPARE(frame.GetPlayListPane()->horizontalHeader()->sectionSize(7), 172);
}

void MainFrameTest::CancelledExitKeepsTheWindowAndWritesNothing() {
    CGuiLibrary library;
    library.Write(SampleEntries(library.Dir().Path()));
    const std::string before = library.Dir().Read("PlayList.stp");
    auto frame = ShowFrame();
    QVERIFY(frame);
    frame->m_pManager->entries.RemoveAt(1);
    bool asked = false;
    QTimer::singleShot(0, [&asked] {
        auto* dialog = qobject_cast<CExitConfirmDlg*>(QApplication::activeModalWidget());
        if (dialog != nullptr) {
            asked = dialog->ShowAtExitBox()->isChecked() &&
                    dialog->windowTitle() == QStringLiteral("Cricklet");
            dialog->reject();
        }
    });
    QVERIFY(!frame->close());
    QVERIFY(asked);
    QVERIFY(frame->isVisible());
    QCOMPARE(frame->m_pManager->entries.GetCount(), 3);
    QCOMPARE(frame->m_pManager->config.IsExitAlert, 1);
    QCOMPARE(library.Dir().Read("PlayList.stp"), before);
}

void MainFrameTest::ConfirmedExitStoresTheCheckBoxAndSaves() {
    CGuiLibrary library;
    library.Write(SampleEntries(library.Dir().Path()));
    auto frame = ShowFrame();
    QVERIFY(frame);
    frame->m_pManager->entries.RemoveAt(1);
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<CExitConfirmDlg*>(QApplication::activeModalWidget());
        if (dialog != nullptr) {
            dialog->ShowAtExitBox()->setChecked(false);
            dialog->accept();
        }
    });
    QVERIFY(frame->close());
    QCOMPARE(frame->m_pManager->config.IsExitAlert, 0);
    CMusicList saved;
    QVERIFY(ReadMusicListFile(library.Dir().File("PlayList.stp"), saved));
    QCOMPARE(saved.GetCount(), 3);
    QCOMPARE(QString::fromStdString(saved.GetAt(1)->title), QStringLiteral("老歌"));

    // The next run exits without asking.
    auto next = ShowFrame();
    QVERIFY(next);
    QCOMPARE(next->m_pManager->config.IsExitAlert, 0);
    QVERIFY(next->close());
}

void MainFrameTest::AFailedExitSaveAsksBeforeLosingTheChanges() {
    CGuiLibrary library;
    library.Write(SampleEntries(library.Dir().Path()));
    auto frame = ShowFrame();
    QVERIFY(frame);
    frame->m_pManager->config.IsExitAlert = 0;
    // A file where the work folder should be: nothing can be written there.
    frame->m_pManager->config.WorkDirectory = library.Dir().Write("blocked", "a file");
    CScopedRecordingPlatform recording;
    recording.platform.answers = {CAnswer::Cancel};

    QVERIFY(!frame->close());
    QVERIFY(frame->isVisible());
    auto texts = recording.platform.MessageTexts();
    QCOMPARE(texts.size(), std::size_t(4)); // three write errors, then the question
    QCOMPARE(QString::fromStdString(texts.back()),
             QString::fromUtf8(CMainFrame::kSaveFailedQuestion));

    // The user frees the way and closes again: saved, no question.
    frame->m_pManager->config.WorkDirectory = library.Dir().Path();
    recording.platform.messages.clear();
    frame->m_pManager->entries.RemoveAt(1);
    QVERIFY(frame->close());
    QVERIFY(recording.platform.messages.empty());
    CMusicList saved;
    QVERIFY(ReadMusicListFile(library.Dir().File("PlayList.stp"), saved));
    QCOMPARE(saved.GetCount(), 3);
}

void MainFrameTest::KeepsArtistMenuFilledAcrossMenuSwitches() {
    CGuiLibrary library;
    library.Write(SampleEntries(library.Dir().Path()));
    auto frame = ShowFrame();
    QVERIFY(frame);
    auto artistTexts = [&frame] {
        QStringList texts;
        QMenu* menu = CMainFrame::ArtistSubmenu(frame->PlayListMenu());
        for (QAction* action : menu->actions()) {
            texts << action->text() + QLatin1Char('=') + QString::number(action->data().toInt());
        }
        return texts;
    };
    const QStringList expected({"DJ=40000", "陈奕迅=40001", "<未命名>=40002"});
    QCOMPARE(artistTexts(), expected);
    QCOMPARE(frame->PlayListMenu()->actions().size(), 25);

    QVERIFY(frame->ExecuteCommand(ID_MENU_SIMPLE));
    QCOMPARE(frame->m_pManager->config.MenuStatus, 1);
    QCOMPARE(frame->PlayListMenu()->actions().size(), 12);
    QCOMPARE(artistTexts(), expected);
    QVERIFY(frame->IsCommandChecked(ID_MENU_SIMPLE));
    QVERIFY(!frame->IsCommandChecked(ID_MENU_FULL));

    QVERIFY(frame->ExecuteCommand(ID_MENU_FULL));
    QCOMPARE(frame->m_pManager->config.MenuStatus, 0);
    QCOMPARE(frame->PlayListMenu()->actions().size(), 25);
    QCOMPARE(artistTexts(), expected);
    QCOMPARE(frame->PlayListMenu()->defaultAction()->data().toInt(), int(ID_EDIT_INFO));
}

void MainFrameTest::LaysOutTheToolbarAndMenuBar() {
    CGuiLibrary library;
    auto frame = ShowFrame();
    QVERIFY(frame);
    auto* toolBar = frame->findChild<QToolBar*>(QStringLiteral("ToolBar"));
    QVERIFY(toolBar);
    QCOMPARE(toolBar->iconSize(), QSize(24, 24));
    QList<int> buttons;
    for (QAction* action : toolBar->actions()) {
        buttons << (action->isSeparator() ? 0 : action->data().toInt());
    }
    QCOMPARE(buttons, QList<int>({32790, 32791, 32809, 0, 32784, 32785, 32786, 0, 32773, 0, 32793,
                                  0, 32804, 32807, 0, 32778}));
    QCOMPARE(frame->Action(ID_PLAY)->toolTip(), QStringLiteral("播放所选的曲目或音乐"));
    QCOMPARE(frame->Action(ID_CLEAR_LIBRARY)->statusTip(),
             QStringLiteral("清除所有曲目，不会删除曲目文件"));

    QStringList titles;
    for (QAction* action : frame->menuBar()->actions()) {
        titles << action->text();
    }
    QCOMPARE(titles, QStringList({"文件(&F)", "曲目(&M)", "播放(&P)", "帮助(&H)"}));
    QStringList fileItems;
    for (QAction* action : frame->menuBar()->actions().at(0)->menu()->actions()) {
        fileItems << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    QCOMPARE(fileItems,
             QStringList({"导入音乐单..\tCtrl+O", "导出音乐单..\tCtrl+S", "导出音乐单为网页..", "-",
                          "功能设置..\tCtrl+T", "弹出菜单", "-", "退出..\tAlt+F4"}));
}

void MainFrameTest::MinimisingWithoutTrayNeverHides() {
    CGuiLibrary library;
    library.Write(SampleEntries(library.Dir().Path()), {},
                  [](CAppConfig& config) { config.IsHideWhenMin = 1; });
    auto frame = ShowFrame();
    QVERIFY(frame);
    QCOMPARE(frame->m_bMinimized, 0);
    frame->setWindowState(Qt::WindowMinimized);
    QTRY_COMPARE(frame->m_bMinimized, 1);
    QTest::qWait(20);
    // The offscreen desktop has no notification area to find a hidden window in.
    QVERIFY(!frame->isHidden());
    QVERIFY(frame->ExecuteCommand(ID_SHOW_WINDOW) || !frame->IsCommandEnabled(ID_SHOW_WINDOW));
}

QTEST_MAIN(MainFrameTest)
#include "MainFrameTest.moc"
