// The file and folder choosers the handlers use. The window installs
// nothing: the default shows QFileDialog. Tests install their own
// CFileDialogs with SetFileDialogs to answer without a window.
//
// Filters use QFileDialog's form, e.g. "音乐单文件 (*.stp)". An empty result
// means the user cancelled.
#pragma once

#include <QString>

class QWidget;

class CFileDialogs {
public:
    virtual ~CFileDialogs() = default;
    virtual QString GetOpenFileName(QWidget* parent, const QString& caption, const QString& folder,
                                    const QString& filter) = 0;
    virtual QString GetSaveFileName(QWidget* parent, const QString& caption, const QString& folder,
                                    const QString& filter) = 0;
    virtual QString GetExistingDirectory(QWidget* parent, const QString& caption,
                                         const QString& folder) = 0;
};

// The installed choosers; QFileDialog's until SetFileDialogs is called.
CFileDialogs& FileDialogs();
// Installs choosers (not owned); nullptr restores QFileDialog's.
void SetFileDialogs(CFileDialogs* dialogs);
