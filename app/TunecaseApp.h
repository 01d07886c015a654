// The application: hands a second copy's files to the running copy, enters
// the working folder, loads Qt's Chinese texts, makes the document and the
// main frame and shows the window. The frame saves the library when it
// closes, when the desktop session ends and on SIGTERM, SIGINT or SIGHUP.
#pragma once

#include "app/CommandLine.h"

#include <QLockFile>
#include <QString>
#include <QStringList>

#include <memory>

class CMainFrame;
class CTunecaseDoc;
class CInstanceServer;
class CQtPlatform;
class QTranslator;

class CTunecaseApp {
public:
    CTunecaseApp();
    virtual ~CTunecaseApp();

    // False when the process should end at once (a copy already runs, or
    // the working folder cannot be entered); ExitCode() is then its status.
    bool InitInstance(const CCommandLine& line = CCommandLine());
    int ExitCode() const { return m_exitCode; }
    // Adds the paths to the library and brings the window to the front. While
    // a dialog or an import holds the window they wait for it to finish.
    void OpenPaths(const QStringList& paths);

    CMainFrame* Frame() const { return m_pFrame.get(); }
    CTunecaseDoc* Document() const { return m_pDoc.get(); }

private:
    bool ChangeToWorkFolder(const CCommandLine& line);
    void ListenForOtherCopies();
    void BringToFront();
    void OpenPendingPaths();
    void WatchExitRequests();

    std::unique_ptr<CQtPlatform> m_pPlatform;
    std::unique_ptr<QTranslator> m_pTranslator;
    std::unique_ptr<QLockFile> m_pInstanceLock;
    std::unique_ptr<CTunecaseDoc> m_pDoc;
    std::unique_ptr<CMainFrame> m_pFrame;
    std::unique_ptr<CInstanceServer> m_pServer;
    QStringList m_pendingPaths;
    bool m_bRetryScheduled = false;
    bool m_bExitPipe = false;
    int m_exitCode = 0;
};

// The per-user lock file that marks a running copy.
QString InstanceLockPath();
// Takes the lock; false when another living process holds it.
bool AcquireInstanceLock(QLockFile& lock);
// The message a second copy shows before it ends.
extern const char* const kAlreadyRunningText;
