// The folder-import worker: walks a folder tree on its own thread, appending
// songs and entries to the library and reporting to the frame.
#pragma once

#include <atomic>
#include <string>
#include <thread>

class CMusicManager;

class CImportThread {
public:
    CImportThread(CMusicManager* manager, const std::string& folder);
    virtual ~CImportThread(); // joins the thread

    // Starts InitInstance on a new thread.
    void Start();
    // Waits for the thread to end.
    void Join();
    // The whole import: scan, close the dialog, report, refresh.
    void InitInstance();

    CMusicManager* manager;
    std::string folder;
    std::atomic<bool> cancelled{false};

private:
    std::thread m_thread;
};
