// The question shown when the empty library's placeholder row is
// double-clicked: import a folder of music, or an existing list file.
#pragma once

#include <QDialog>

class QRadioButton;

class CImportMethodDlg : public QDialog {
    Q_OBJECT
public:
    enum { ChooseFolder = 0, ChooseListFile = 1 };

    explicit CImportMethodDlg(QWidget* parent = nullptr);

    // The chosen radio: 0 the folder, 1 the list file, -1 none. The caller
    // sets it before exec(); after OK it holds the user's choice.
    int choice = -1;

    int exec() override;
    void accept() override;

    QRadioButton* FolderRadio() const { return m_folderRadio; }
    QRadioButton* ListFileRadio() const { return m_listFileRadio; }

private:
    QRadioButton* m_folderRadio;
    QRadioButton* m_listFileRadio;
};
