#include "core/ImportThread.h"

// Placeholder; the folder import replaces it.
CImportThread::CImportThread(CMusicManager* owner, const std::string& root)
    : manager(owner), folder(root) {}

CImportThread::~CImportThread() {
    Join();
}

void CImportThread::Start() {
    m_thread = std::thread([this] { InitInstance(); });
}

void CImportThread::Join() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void CImportThread::InitInstance() {}
