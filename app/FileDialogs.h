// The file and folder choosers that the window's commands open. The program
// uses Qt's dialogs; window tests install scripted answers and read back what
// each command asked for.
#pragma once

#include <QString>

#include <deque>
#include <string>
#include <vector>

class QWidget;

// One request to a chooser. The filter is in Qt's form, "Text (*.a *.b)",
// several joined by ";;".
struct CFileDialogRequest {
    enum Kind { OpenFile, SaveFile, Folder };

    Kind kind = OpenFile;
    QString caption; // the title; for the folder chooser the instruction
    QString filter;
    QString defaultSuffix; // added to a name chosen without an extension
    QString initialName;   // the proposed file name
    QString startFolder;
};

class CFileDialogs {
public:
    virtual ~CFileDialogs() = default;
    // The chosen path (a save dialog's name with its default suffix), or the
    // empty string when the user cancelled. A save dialog has asked before
    // an existing file is replaced.
    virtual QString Choose(QWidget* parent, const CFileDialogRequest& request) = 0;
};

// The choosers the commands use. Until others are installed, Qt's dialogs.
CFileDialogs& FileDialogs();
// Installs choosers (not owned); nullptr restores Qt's dialogs.
void SetFileDialogs(CFileDialogs* dialogs);

// Qt's file dialogs.
class CQtFileDialogs : public CFileDialogs {
public:
    QString Choose(QWidget* parent, const CFileDialogRequest& request) override;
};

// For window tests and scripted sessions: answers from a queue (an empty
// answer, or an empty queue, cancels) and a record of every request.
class CScriptedFileDialogs : public CFileDialogs {
public:
    std::deque<QString> answers;
    std::vector<CFileDialogRequest> requests;

    QString Choose(QWidget* parent, const CFileDialogRequest& request) override;
};
