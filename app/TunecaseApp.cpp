#include "app/TunecaseApp.h"

#include "app/Handlers.h"
#include "app/InstanceChannel.h"
#include "app/MainFrame.h"
#include "app/QtPlatform.h"
#include "app/TunecaseDoc.h"

#include "platform/ExitSignals.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTimer>
#include <QTranslator>

#include <cstdio>

const char* const kAlreadyRunningText = "鸣蛩(Cricklet) 已经运行了。";

namespace {

const int kInitialWidth = 900;
const int kInitialHeight = 650;
// How often paths that wait for a dialog to close look again.
const int kPendingRetryMs = 300;

} // namespace

QString InstanceLockPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        folder = QDir::tempPath();
    }
    return QDir(folder).filePath(QStringLiteral("cricklet-PreventSecondInstance.lock"));
}

bool AcquireInstanceLock(QLockFile& lock) {
    // Only a living owner counts: the lock of a copy that crashed is taken over.
    lock.setStaleLockTime(0);
    return lock.tryLock(0);
}

CTunecaseApp::CTunecaseApp() = default;

CTunecaseApp::~CTunecaseApp() {
    m_pServer.reset();
    UninstallExitSignalPipe();
    m_pFrame.reset();
    SetPlatform(nullptr);
}

bool CTunecaseApp::InitInstance(const CCommandLine& line) {
    m_pPlatform = std::make_unique<CQtPlatform>();
    SetPlatform(m_pPlatform.get());
    // Relative paths mean the folder the user started from, which is left
    // for the working folder below.
    const QStringList paths = AbsolutePaths(line.paths);

    // Signals that arrive from here on wait in the pipe until the window can
    // save; the lock below is then the sign that the program is listening.
    m_bExitPipe = InstallExitSignalPipe();
    m_pInstanceLock = std::make_unique<QLockFile>(InstanceLockPath());
    if (!AcquireInstanceLock(*m_pInstanceLock)) {
        // The running copy comes to the front and adds the files. Without
        // files, or when it does not answer, the user learns why no second
        // window opens.
        if (!SendToRunningCopy(InstanceSocketPath(), paths) || paths.isEmpty()) {
            Platform().ShowMessage(kAlreadyRunningText, kAppTitle, CMessageIcon::Information);
        }
        return false;
    }
    if (!ChangeToWorkFolder(line)) {
        m_exitCode = 1;
        return false;
    }
    ListenForOtherCopies();

    m_pTranslator = std::make_unique<QTranslator>();
    if (m_pTranslator->load(QStringLiteral("qtbase_zh_CN"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(m_pTranslator.get());
    }

    m_pDoc = std::make_unique<CTunecaseDoc>();
    m_pFrame = std::make_unique<CMainFrame>(m_pDoc.get());
    m_pDoc->OnNewDocument();
    m_pFrame->setWindowTitle(FrameCaption(*m_pDoc));
    m_pFrame->resize(kInitialWidth, kInitialHeight);
    WatchExitRequests();
    m_pFrame->show();
    // Also what another copy handed over while the library was loading.
    if (!paths.isEmpty() || !m_pendingPaths.isEmpty()) {
        QTimer::singleShot(0, m_pFrame.get(), [this, paths] { OpenPaths(paths); });
    }
    return true;
}

bool CTunecaseApp::ChangeToWorkFolder(const CCommandLine& line) {
    const bool own = line.folder.isEmpty();
    const QString folder = own ? DefaultWorkFolder() : line.folder;
    QString error;
    if (EnterWorkFolder(folder, own, error)) {
        return true;
    }
    const QString text =
        QStringLiteral("无法使用工作文件夹\"") + folder + QStringLiteral("\": ") + error;
    std::fprintf(stderr, "cricklet: %s\n", text.toLocal8Bit().constData());
    if (own) {
        // Started from the desktop menu there is no terminal to read.
        Platform().ShowMessage(text.toStdString(), kAppTitle, CMessageIcon::Information);
    }
    return false;
}

void CTunecaseApp::ListenForOtherCopies() {
    m_pServer = std::make_unique<CInstanceServer>();
    if (!m_pServer->Listen(InstanceSocketPath())) {
        std::fprintf(stderr, "cricklet: a second copy cannot reach this one: %s\n",
                     InstanceSocketPath().toLocal8Bit().constData());
    }
    QObject::connect(m_pServer.get(), &CInstanceServer::PathsReceived, m_pServer.get(),
                     [this](const QStringList& paths) { OpenPaths(paths); });
}

void CTunecaseApp::OpenPaths(const QStringList& paths) {
    m_pendingPaths += paths;
    if (!m_pFrame) {
        return; // a message box while the library loads; the window takes them later
    }
    BringToFront();
    OpenPendingPaths();
}

void CTunecaseApp::BringToFront() {
    CMainFrame* frame = m_pFrame.get();
    if (frame->isHidden() || frame->isMinimized()) {
        frame->showNormal();
        frame->m_bMinimized = 0;
    }
    frame->raise();
    frame->activateWindow();
}

void CTunecaseApp::OpenPendingPaths() {
    // A command may not run while a dialog asks something or an import
    // appends to the library: the paths wait until the window is free.
    auto busy = [this] {
        return QApplication::activeModalWidget() != nullptr ||
               QApplication::activePopupWidget() != nullptr || m_pFrame->m_pImportDlg != nullptr;
    };
    while (!m_pendingPaths.isEmpty() && !busy()) {
        OnOpenPath(*m_pFrame, m_pendingPaths.takeFirst().toStdString());
    }
    if (!m_pendingPaths.isEmpty() && !m_bRetryScheduled) {
        m_bRetryScheduled = true;
        QTimer::singleShot(kPendingRetryMs, m_pFrame.get(), [this] {
            m_bRetryScheduled = false;
            OpenPendingPaths();
        });
    }
}

void CTunecaseApp::WatchExitRequests() {
    CMainFrame* frame = m_pFrame.get();
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    // The session's end gives no time for questions: save as things are.
    // The session may still be cancelled, so the exit save stays due.
    QObject::connect(app, &QGuiApplication::commitDataRequest, frame,
                     [frame](QSessionManager&) { frame->SaveLibrary(); });
    QObject::connect(app, &QCoreApplication::aboutToQuit, frame, [frame] { frame->SaveAtExit(); });
    if (m_bExitPipe) {
        auto* notifier = new QSocketNotifier(ExitSignalDescriptor(), QSocketNotifier::Read, frame);
        QObject::connect(notifier, &QSocketNotifier::activated, frame, [frame] {
            if (TakeExitSignal() != 0) {
                frame->SaveAtExit();
                QCoreApplication::quit();
            }
        });
    }
}
