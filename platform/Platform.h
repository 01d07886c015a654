// The desktop services the library calls: message boxes and questions,
// opening files and folders with the desktop, starting a program. The Qt
// window, the command runner and the tests each install their own.
#pragma once

#include <string>

enum class CMessageIcon { Information, Question, Warning, Error, None };

enum class CAnswer { Ok, Cancel, Yes, No };

class CPlatform {
public:
    virtual ~CPlatform() = default;

    // A message box with one OK button; returns when it is dismissed.
    virtual void ShowMessage(const std::string& text, const std::string& caption,
                             CMessageIcon icon) = 0;
    // A question with the question icon; buttons are OK/Cancel, Yes/No or
    // Yes/No/Cancel. Returns the button chosen.
    virtual CAnswer AskOkCancel(const std::string& text, const std::string& caption) = 0;
    virtual CAnswer AskYesNo(const std::string& text, const std::string& caption) = 0;
    virtual CAnswer AskYesNoCancel(const std::string& text, const std::string& caption) = 0;

    // The desktop's handler for a file, folder, web page or mailto link.
    virtual void OpenPath(const std::string& pathOrUrl) = 0;
    // A local file opened with the desktop's handler for its type; false
    // when the desktop could not open it. A platform that cannot tell
    // reports success.
    virtual bool OpenFile(const std::string& path) {
        OpenPath(path);
        return true;
    }
    // A file-manager window on a folder.
    virtual void ExploreFolder(const std::string& folder) = 0;
    // Starts a program detached with one argument, no shell in between.
    // On failure returns false with the system's error text.
    virtual bool StartProgram(const std::string& program, const std::string& argument,
                              std::string& error) = 0;
};

// The platform the library talks to. Until one is installed, a console
// platform that prints messages and answers questions with "change nothing".
CPlatform& Platform();
// Installs a platform (not owned); nullptr restores the console platform.
void SetPlatform(CPlatform* platform);

// The application title used as caption of information messages.
extern const char* const kAppTitle;
