// The modal dialog shown while a folder import runs: the folder and file
// being scanned, and a stop button that cancels the import.
#pragma once

#include <QDialog>
#include <QString>

class CMusicManager;

class CImportProgressDlg : public QDialog {
    Q_OBJECT
public:
    explicit CImportProgressDlg(CMusicManager* manager, QWidget* parent = nullptr);

    // Shows "当前位置: " + folder and "文件名  : " + fileName.
    void ShowProgress(const QString& folder, const QString& fileName);
};
