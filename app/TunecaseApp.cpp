#include "app/TunecaseApp.h"

#include "app/MainFrame.h"
#include "app/QtPlatform.h"
#include "app/TunecaseDoc.h"
#include "core/MusicManager.h"

#include "platform/ExitSignals.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTranslator>

const char* const kAlreadyRunningText = "鸣蛩(Cricklet) 已经运行了。";

namespace {

const int kInitialWidth = 900;
const int kInitialHeight = 650;

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
    UninstallExitSignalPipe();
    m_pFrame.reset();
    SetPlatform(nullptr);
}

bool CTunecaseApp::InitInstance() {
    m_pPlatform = std::make_unique<CQtPlatform>();
    SetPlatform(m_pPlatform.get());

    // Signals that arrive from here on wait in the pipe until the window can
    // save; the lock below is then the sign that the program is listening.
    m_bExitPipe = InstallExitSignalPipe();
    m_pInstanceLock = std::make_unique<QLockFile>(InstanceLockPath());
    if (!AcquireInstanceLock(*m_pInstanceLock)) {
        Platform().ShowMessage(kAlreadyRunningText, kAppTitle, CMessageIcon::Information);
        return false;
    }

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
    return true;
}

void CTunecaseApp::WatchExitRequests() {
    CMainFrame* frame = m_pFrame.get();
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    // The session's end gives no time for questions: save as things are.
    // The session may still be cancelled, so the exit save stays due.
    QObject::connect(app, &QGuiApplication::commitDataRequest, frame,
                     [frame](QSessionManager&) { frame->m_pManager->Save(); });
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
