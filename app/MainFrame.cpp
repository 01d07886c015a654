#include "app/MainFrame.h"

#include "app/AboutDlg.h"
#include "app/CommandIds.h"
#include "app/CommandTable.h"
#include "app/ExitConfirmDlg.h"
#include "app/ImportProgressDlg.h"
#include "app/LibraryHandlers.h"
#include "app/TunecaseDoc.h"
#include "app/UpdateRules.h"
#include "core/MusicManager.h"
#include "desktop/EyeReminder.h"
#include "desktop/SystemTray.h"
#include "formats/Format.h"
#include "panes/PlayListView.h"
#include "panes/RowTexts.h"
#include "panes/SongListView.h"
#include "platform/Platform.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QResizeEvent>
#include <QSplitter>
#include <QStatusBar>
#include <QThread>
#include <QTimer>
#include <QTimerEvent>
#include <QToolBar>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <thread>

// The images are compiled into this static library: register them before use.
static void InitResources() {
    Q_INIT_RESOURCE(cricklet);
}

namespace {

// The toolbar's buttons in order; 0 is a separator.
const int kToolBarButtons[] = {ID_IMPORT_LIST,
                               ID_EXPORT_LIST,
                               ID_IMPORT_FOLDER,
                               0,
                               ID_EDIT_INFO,
                               ID_ADD_ENTRY,
                               ID_REMOVE_ENTRY,
                               0,
                               ID_PLAY,
                               0,
                               ID_SETTINGS,
                               0,
                               ID_HELP,
                               ID_HOMEPAGE,
                               0,
                               ID_APP_EXIT};

QString ToolBarImage(int commandId) {
    switch (commandId) {
    case ID_IMPORT_LIST:
        return QStringLiteral(":/toolbar/import-list.svg");
    case ID_EXPORT_LIST:
        return QStringLiteral(":/toolbar/export-list.svg");
    case ID_IMPORT_FOLDER:
        return QStringLiteral(":/toolbar/import-folder.svg");
    case ID_EDIT_INFO:
        return QStringLiteral(":/toolbar/edit.svg");
    case ID_ADD_ENTRY:
        return QStringLiteral(":/toolbar/add.svg");
    case ID_REMOVE_ENTRY:
        return QStringLiteral(":/toolbar/remove.svg");
    case ID_PLAY:
        return QStringLiteral(":/toolbar/play.svg");
    case ID_SETTINGS:
        return QStringLiteral(":/toolbar/settings.svg");
    case ID_HELP:
        return QStringLiteral(":/toolbar/help.svg");
    case ID_HOMEPAGE:
        return QStringLiteral(":/toolbar/homepage.svg");
    case ID_APP_EXIT:
        return QStringLiteral(":/toolbar/exit.svg");
    default:
        return QString();
    }
}

const int kPlayListPaneHeight = 200;
const int kSongPaneHeight = 100;
const int kSummaryPaneWidth = 260;
// How often the toolbar's buttons follow the update rules while idle.
const int kIdleUpdateMs = 250;

} // namespace

CMainFrame::CMainFrame(CTunecaseDoc* doc, QWidget* parent) : QMainWindow(parent), m_pDoc(doc) {
    InitResources();
    m_pManager = new CMusicManager(this);
    m_pManager->Start();

    setWindowIcon(QIcon(QStringLiteral(":/icons/cricklet.svg")));
    CreateSplitter();
    CreateToolBar();
    CreateStatusBar();
    CreateMenus();
    RebuildArtistMenu();
    UpdateStatusText();
    CreateTrayIcon();
    m_pEyeReminder = new CEyeReminder(*this);
    StartEyeTimer();
    m_bMinimized = 0;

    InstallFrameHandlers();
    InstallLibraryHandlers(*this);

    m_pPlayListView->RefillEntries();
    m_pSongListView->Refill(0);
    UpdateCommandStates();

    qApp->installEventFilter(this);
    auto* idle = new QTimer(this);
    connect(idle, &QTimer::timeout, this, &CMainFrame::UpdateCommandStates);
    idle->start(kIdleUpdateMs);
}

CMainFrame::~CMainFrame() {
    qApp->removeEventFilter(this);
    // The manager waits for a running import, whose queued calls then find
    // no frame; delete it before the panes go.
    delete m_pManager;
    m_pManager = nullptr;
}

void CMainFrame::CreateSplitter() {
    m_wndSplitter = new QSplitter(Qt::Vertical, this);
    m_wndSplitter->setChildrenCollapsible(false);
    m_pPlayListView = new CPlayListView(this, m_wndSplitter);
    m_pSongListView = new CSongListView(this, m_wndSplitter);
    m_wndSplitter->addWidget(m_pPlayListView);
    m_wndSplitter->addWidget(m_pSongListView);
    m_pSongListView->setMinimumHeight(20);
    // With only the two panes taking the focus, each key passes it across.
    connect(m_pPlayListView, &CReportListView::PaneSwitchRequested, m_pSongListView,
            [this] { m_pSongListView->setFocus(Qt::TabFocusReason); });
    connect(m_pSongListView, &CReportListView::PaneSwitchRequested, m_pPlayListView,
            [this] { m_pPlayListView->setFocus(Qt::BacktabFocusReason); });
    m_wndSplitter->setSizes({kPlayListPaneHeight, kSongPaneHeight});
    setCentralWidget(m_wndSplitter);
}

QAction* CMainFrame::Action(int commandId) {
    auto found = m_actions.find(commandId);
    if (found != m_actions.end()) {
        return found->second;
    }
    auto* action = new QAction(CommandText(commandId), this);
    action->setData(commandId);
    action->setStatusTip(CommandPrompt(commandId));
    action->setToolTip(CommandToolTip(commandId));
    QString image = ToolBarImage(commandId);
    if (!image.isEmpty()) {
        action->setIcon(QIcon(image));
    }
    QList<QKeySequence> keys = CommandShortcuts(commandId);
    if (!keys.isEmpty()) {
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }
    action->setEnabled(IsCommandEnabled(commandId));
    connect(action, &QAction::triggered, this, [this, commandId] { ExecuteCommand(commandId); });
    m_actions[commandId] = action;
    return action;
}

void CMainFrame::CreateToolBar() {
    m_wndToolBar = new QToolBar(QStringLiteral("Cricklet"), this);
    m_wndToolBar->setObjectName(QStringLiteral("ToolBar"));
    m_wndToolBar->setIconSize(QSize(24, 24));
    m_wndToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (int commandId : kToolBarButtons) {
        if (commandId == 0) {
            m_wndToolBar->addSeparator();
        } else {
            m_wndToolBar->addAction(Action(commandId));
        }
    }
    addToolBar(Qt::TopToolBarArea, m_wndToolBar);
    for (int commandId : AcceleratorCommands()) {
        Action(commandId);
    }
}

void CMainFrame::CreateStatusBar() {
    m_idleLabel = new QLabel(QStringLiteral("就绪"), this);
    m_summaryLabel = new QLabel(this);
    m_summaryLabel->setMinimumWidth(kSummaryPaneWidth);
    statusBar()->addWidget(m_idleLabel, 1);
    statusBar()->addPermanentWidget(m_summaryLabel);
}

void CMainFrame::CreateMenus() {
    FillMenuBar(menuBar(), *this);
    LoadPlayListMenu();
    m_menuSong = CreateMenuResource(IDR_SONG, *this, this);
}

void CMainFrame::LoadPlayListMenu() {
    delete m_menuPlayList;
    const int resource = m_pManager->config.MenuStatus == 0 ? IDR_PLAYLIST : IDR_PLAYLIST_SIMPLE;
    m_menuPlayList = CreateMenuResource(resource, *this, this);
    // The later of the two default items decides: editing.
    for (QAction* action : m_menuPlayList->actions()) {
        if (action->data().toInt() == ID_EDIT_INFO) {
            m_menuPlayList->setDefaultAction(action);
            break;
        }
    }
}

void CMainFrame::InstallFrameHandlers() {
    SetCommandHandler(ID_APP_EXIT, [this] { close(); });
    SetCommandHandler(ID_SHOW_WINDOW, [this] { OnShowWindow(); });
    SetCommandHandler(ID_HIDE_WINDOW, [this] { OnHideWindow(); });
    SetCommandHandler(ID_CANCEL_POPUP, [] {});
    SetCommandHandler(ID_MENU_FULL, [this] { OnSwitchPopupMenu(0); });
    SetCommandHandler(ID_MENU_SIMPLE, [this] { OnSwitchPopupMenu(1); });
    SetCommandHandler(ID_APP_ABOUT, [this] { OnAbout(); });
}

void CMainFrame::SetCommandHandler(int commandId, std::function<void()> handler) {
    if (handler) {
        m_handlers[commandId] = std::move(handler);
    } else {
        m_handlers.erase(commandId);
    }
    auto found = m_actions.find(commandId);
    if (found != m_actions.end()) {
        found->second->setEnabled(IsCommandEnabled(commandId));
    }
}

void CMainFrame::SetCommandUpdateRule(int commandId, std::function<bool()> rule) {
    if (rule) {
        m_rules[commandId] = std::move(rule);
    } else {
        m_rules.erase(commandId);
    }
}

bool CMainFrame::HasCommandHandler(int commandId) const {
    return m_handlers.count(commandId) != 0;
}

CUpdateState CMainFrame::CurrentUpdateState() const {
    CUpdateState state;
    state.manager = m_pManager;
    state.activePaneRow = GetActivePaneRow();
    state.mark = m_pPlayListView->GetSelectionMark();
    state.playListSelected = m_pPlayListView->GetSelectedCount();
    state.songSelected = m_pSongListView->GetSelectedCount();
    state.frameVisible = isVisible();
    state.frameMinimized = isMinimized();
    state.trayAvailable = m_TrayIcon != nullptr && m_TrayIcon->IsAvailable();
    return state;
}

bool CMainFrame::IsCommandEnabled(int commandId) const {
    return IsEnabledIn(commandId, CurrentUpdateState());
}

bool CMainFrame::IsEnabledIn(int commandId, const CUpdateState& state) const {
    if (!HasCommandHandler(commandId)) {
        return false;
    }
    auto rule = m_rules.find(commandId);
    if (rule != m_rules.end()) {
        return rule->second();
    }
    return CommandRuleHolds(commandId, state);
}

bool CMainFrame::IsCommandChecked(int commandId) const {
    return CommandChecked(commandId, CurrentUpdateState());
}

bool CMainFrame::ExecuteCommand(int commandId) {
    if (!IsCommandEnabled(commandId)) {
        return false;
    }
    return RunCommand(commandId);
}

bool CMainFrame::RunCommand(int commandId) {
    auto found = m_handlers.find(commandId);
    if (found == m_handlers.end()) {
        return false;
    }
    // A copy: the handler may replace itself (the popup-menu switch).
    std::function<void()> handler = found->second;
    handler();
    UpdateCommandStates();
    return true;
}

void CMainFrame::UpdateCommandStates() {
    if (m_pManager == nullptr) {
        return;
    }
    // One look at the panes' selections serves every command.
    const CUpdateState state = CurrentUpdateState();
    for (auto& [commandId, action] : m_actions) {
        action->setEnabled(IsEnabledIn(commandId, state));
    }
}

void CMainFrame::UpdateMenuItems(QMenu* menu) {
    const CUpdateState state = CurrentUpdateState();
    for (QAction* action : menu->actions()) {
        if (action->menu() != nullptr || action->isSeparator()) {
            continue;
        }
        const int commandId = action->data().toInt();
        action->setEnabled(IsEnabledIn(commandId, state));
        if (CommandHasCheck(commandId)) {
            action->setCheckable(true);
            action->setChecked(CommandChecked(commandId, state));
        }
    }
}

void CMainFrame::SendCommand(const CMusicCommand& command) {
    m_pManager->Execute(command);
}

int CMainFrame::GetActivePaneRow() const {
    return m_activePaneRow;
}

void CMainFrame::CallOnUiThread(std::function<void()> call) {
    if (QThread::currentThread() == thread()) {
        call();
    } else {
        QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
    }
}

void CMainFrame::ClearPanes(int kind) {
    CallOnUiThread([this, kind] {
        m_pPlayListView->ClearRows(kind);
        m_pSongListView->DeleteAllRows();
    });
}

void CMainFrame::RefillEntryRows() {
    CallOnUiThread([this] { m_pPlayListView->RefillEntries(); });
}

void CMainFrame::RefillPanes() {
    m_pPlayListView->RefillEntries();
    m_pSongListView->Refill(m_pPlayListView->GetSelectionMark());
}

QString CMainFrame::StatusText() const {
    return m_summaryLabel->text();
}

void CMainFrame::UpdateStatusText() {
    CallOnUiThread([this] {
        if (IsLibraryEmpty(m_pManager)) {
            m_summaryLabel->setText(QStringLiteral("音乐单为空，请选择导入曲目"));
            return;
        }
        // 64-bit sums: a library of more than 4 GB shows its real size.
        std::int64_t bytes = 0;
        for (const CSongPtr& song : m_pManager->songs) {
            bytes += song->size;
        }
        std::int64_t seconds = 0;
        for (const CEntryPtr& entry : m_pManager->entries) {
            seconds += entry->time;
        }
        const int totalTime = static_cast<int>(std::min<std::int64_t>(seconds, INT32_MAX));
        m_summaryLabel->setText(QStringLiteral("曲目: %1  音乐: %2  文件总量: %3MB  总时间: %4")
                                    .arg(m_pManager->entries.GetCount())
                                    .arg(m_pManager->songs.GetCount())
                                    .arg(bytes >> 20)
                                    .arg(QString::fromStdString(FormatLongDuration(totalTime))));
    });
}

QMenu* CMainFrame::ArtistSubmenu(QMenu* menu) {
    if (menu == nullptr) {
        return nullptr;
    }
    return menu->findChild<QMenu*>(QString::fromUtf8(kArtistMenuName));
}

void CMainFrame::RebuildArtistMenu() {
    CallOnUiThread([this] { FillArtistMenu(ArtistSubmenu(m_menuPlayList)); });
}

void CMainFrame::FillArtistMenu(QMenu* menu) {
    if (menu == nullptr) {
        return;
    }
    menu->clear();
    int k = 1;
    for (const std::string& artist : m_pManager->artists) {
        const int commandId = ArtistCommandId(k++);
        QString text = QString::fromStdString(artist);
        text.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* action = menu->addAction(text);
        action->setData(commandId);
        connect(action, &QAction::triggered, this,
                [this, commandId] { ExecuteCommand(commandId); });
    }
}

void CMainFrame::ShowPopupMenu(int pane) {
    ShowPopupMenu(pane, QCursor::pos());
}

void CMainFrame::ShowPopupMenu(int pane, const QPoint& globalPos) {
    QMenu* menu = pane == 0 ? m_menuPlayList : pane == 1 ? m_menuSong : nullptr;
    if (menu != nullptr) {
        menu->popup(globalPos);
    }
}

void CMainFrame::ImportInsertEntryRow(const CEntryPtr& entry, int row) {
    if (!entry) {
        return;
    }
    // The texts are taken here, on the worker's thread, while the record is
    // still the worker's alone.
    auto texts =
        std::make_shared<const CRowTexts>(EntryRowTexts(*entry, m_pManager->config.IconPlaylistID));
    CallOnUiThread([this, entry, row, texts] {
        m_pPlayListView->InsertImportedEntryRow(m_pManager, entry, row, texts);
    });
}

void CMainFrame::ImportInsertSongRow(const CSongPtr& song, int row) {
    if (!song) {
        return;
    }
    auto texts = std::make_shared<const CRowTexts>(
        SongRowTexts(*song, false, m_pManager->config.IconMusicID));
    CallOnUiThread([this, song, row, texts] {
        // Rows of the all-songs list; an entry shown in the pane gains none.
        if (m_pManager->currentRow <= 0) {
            m_pSongListView->InsertImportedSongRow(song, row, m_pManager, texts);
        }
        if (m_pImportDlg != nullptr) {
            m_pImportDlg->CountImportedFile();
        }
    });
}

void CMainFrame::ImportShowProgress(const std::string& folder, const std::string& fileName) {
    QString folderText = QString::fromStdString(folder);
    QString nameText = QString::fromStdString(fileName);
    CallOnUiThread([this, folderText, nameText] {
        if (m_pImportDlg != nullptr) {
            m_pImportDlg->ShowProgress(folderText, nameText);
        }
    });
}

void CMainFrame::ImportCloseDialog(int resultCode) {
    CallOnUiThread([this, resultCode] {
        m_bImportFinished = true;
        if (m_pImportDlg != nullptr) {
            m_pImportDlg->done(resultCode);
        }
    });
}

void CMainFrame::ColumnWidthsForWidth(int clientWidth, int& titleWidth, int& locationWidth) {
    titleWidth = std::clamp((clientWidth - 400) / 2, 120, 230);
    locationWidth = std::max(clientWidth - titleWidth - 424, 170);
}

void CMainFrame::OnSizeChanged(int clientWidth, int clientHeight) {
    int titleWidth = 0;
    int locationWidth = 0;
    ColumnWidthsForWidth(clientWidth, titleWidth, locationWidth);
    for (QTableView* pane :
         {static_cast<QTableView*>(m_pPlayListView), static_cast<QTableView*>(m_pSongListView)}) {
        QHeaderView* header = pane->horizontalHeader();
        header->resizeSection(0, titleWidth);
        // The middle columns were widened where a normal value needed it:
        // the location column gives that room back.
        int middle = 0;
        for (int column = 1; column < 7; ++column) {
            middle += header->sectionSize(column);
        }
        header->resizeSection(7, std::max(locationWidth - std::max(middle - 400, 0), 170));
    }
    const int rowHeight = std::max((clientHeight - 100) / 2, 0);
    m_wndSplitter->setSizes({rowHeight, std::max(rowHeight, 20)});
}

void CMainFrame::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // The first layout is the window system's own.
    if (++m_sizeMessages > 1 && (m_pDoc == nullptr || m_pDoc->m_bInitialized == 1)) {
        OnSizeChanged(event->size().width(), event->size().height());
    }
}

void CMainFrame::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !isMinimized()) {
        return;
    }
    // Without a notification area a hidden window could not be found again.
    if (m_TrayIcon == nullptr) {
        return;
    }
    m_TrayIcon->CheckAvailability();
    if (m_pManager->config.IsHideWhenMin != 0 && m_TrayIcon->IsAvailable()) {
        QTimer::singleShot(0, this, [this] { hide(); });
    }
    m_bMinimized = 1;
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        // Accelerators of commands follow the rules of this very moment.
        UpdateCommandStates();
    } else if (event->type() == QEvent::FocusIn) {
        if (watched == m_pPlayListView) {
            m_activePaneRow = 0;
        } else if (watched == m_pSongListView) {
            m_activePaneRow = 1;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::OnShowWindow() {
    if (isMinimized()) {
        showNormal();
    } else {
        show();
    }
    raise();
    activateWindow();
    m_bMinimized = 0;
}

void CMainFrame::OnHideWindow() {
    hide();
    m_bMinimized = 1;
}

void CMainFrame::CreateTrayIcon() {
    // The program ends when this window closes, and then only: a message or
    // a reminder closed while the window sits in the tray is no last window.
    QApplication::setQuitOnLastWindowClosed(false);
    m_TrayIcon = new CSystemTray(this);
    connect(m_TrayIcon, &CSystemTray::AvailabilityChanged, this,
            &CMainFrame::OnTrayAvailabilityChanged);
    m_TrayIcon->Create(this, QStringLiteral("鸣蛩 一切音乐尽在掌握中! 请点击右键"), windowIcon(),
                       IDR_TRAY);
}

// A window hidden in a tray that went away (its panel ended) would be lost.
void CMainFrame::OnTrayAvailabilityChanged(bool available) {
    if (!available && isHidden() && m_bMinimized == 1 && !m_bSavedAtExit) {
        OnShowWindow();
    }
    UpdateCommandStates();
}

void CMainFrame::OnSwitchPopupMenu(int menuStatus) {
    m_pManager->config.MenuStatus = menuStatus;
    LoadPlayListMenu();
    RebuildArtistMenu();
}

void CMainFrame::OnAbout() {
    CAboutDlg dialog(this);
    dialog.exec();
}

bool CMainFrame::ConfirmExit() {
    if (m_pManager->config.IsExitAlert == 0) {
        return true;
    }
    if (isHidden() || isMinimized()) {
        OnShowWindow();
    }
    QApplication::beep();
    CExitConfirmDlg dialog(this);
    dialog.showAtExit = 1;
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    m_pManager->config.IsExitAlert = dialog.showAtExit;
    return true;
}

const char* const CMainFrame::kSaveFailedQuestion =
    "音乐单没有保存成功，现在退出将丢失这次的更改。仍然退出吗？";

void CMainFrame::StopEyeTimer() {
    if (m_nEyeTimerID != 0) {
        killTimer(m_nEyeTimerID);
        m_nEyeTimerID = 0;
    }
}

void CMainFrame::StartEyeTimer() {
    m_pEyeReminder->Arm();
}

void CMainFrame::timerEvent(QTimerEvent* event) {
    if (m_nEyeTimerID != 0 && event->timerId() == m_nEyeTimerID) {
        m_pEyeReminder->OnTimer();
        return;
    }
    QMainWindow::timerEvent(event);
}

void CMainFrame::FinishImport() {
    if (!m_pManager->importThread) {
        return;
    }
    m_pManager->CancelImport();
    // The worker may be waiting for this thread (a message box, its rows):
    // keep serving it until it has ended.
    std::atomic<bool> joined{false};
    std::thread waiter([this, &joined] {
        m_pManager->importThread->Join();
        joined = true;
    });
    while (!joined) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    waiter.join();
    QCoreApplication::processEvents();
}

bool CMainFrame::SaveLibrary() {
    // Never write the lists while the worker still appends to them.
    FinishImport();
    return m_pManager->Save();
}

bool CMainFrame::SaveAtExit() {
    if (m_bSavedAtExit) {
        return true;
    }
    m_bSavedAtExit = true;
    StopEyeTimer();
    return SaveLibrary();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!m_bSavedAtExit && !ConfirmExit()) {
        event->ignore();
        return;
    }
    // The failure itself has been shown; closing now would lose every change
    // since start-up, so the user may stay and free the disk or the folder.
    if (!SaveAtExit() && Platform().AskOkCancel(kSaveFailedQuestion, kAppTitle) != CAnswer::Ok) {
        m_bSavedAtExit = false;
        event->ignore();
        return;
    }
    m_TrayIcon->RemoveIcon();
    event->accept();
    QCoreApplication::quit();
}
