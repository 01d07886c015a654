// The application: refuses a second copy, loads Qt's Chinese texts, makes
// the document and the main frame and shows the window. The frame saves the
// library when it closes, when the desktop session ends and on SIGTERM,
// SIGINT or SIGHUP.
#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

class CMainFrame;
class CTunecaseDoc;
class CQtPlatform;
class QTranslator;

class CTunecaseApp {
public:
    CTunecaseApp();
    virtual ~CTunecaseApp();

    // False when the process should end at once (a copy already runs).
    bool InitInstance();

    CMainFrame* Frame() const { return m_pFrame.get(); }
    CTunecaseDoc* Document() const { return m_pDoc.get(); }

private:
    void WatchExitRequests();

    std::unique_ptr<CQtPlatform> m_pPlatform;
    std::unique_ptr<QTranslator> m_pTranslator;
    std::unique_ptr<QLockFile> m_pInstanceLock;
    std::unique_ptr<CTunecaseDoc> m_pDoc;
    std::unique_ptr<CMainFrame> m_pFrame;
    bool m_bExitPipe = false;
};

// The per-user lock file that marks a running copy.
QString InstanceLockPath();
// Takes the lock; false when another living process holds it.
bool AcquireInstanceLock(QLockFile& lock);
// The message a second copy shows before it ends.
extern const char* const kAlreadyRunningText;
