// The question asked before the program ends, with the check box that keeps
// asking it at later exits.
#pragma once

#include <QDialog>

class QCheckBox;

class CExitConfirmDlg : public QDialog {
    Q_OBJECT
public:
    explicit CExitConfirmDlg(QWidget* parent = nullptr);

    // The check box "退出时显示": set before exec(), read after OK.
    int showAtExit = 0;

    int exec() override;
    void accept() override;

    QCheckBox* ShowAtExitBox() const { return m_showAtExitBox; }

private:
    QCheckBox* m_showAtExitBox;
};
