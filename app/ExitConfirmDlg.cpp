#include "app/ExitConfirmDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CExitConfirmDlg::CExitConfirmDlg(QWidget* parent)
    : QDialog(parent), m_showAtExitBox(new QCheckBox(QStringLiteral("退出时显示"), this)) {
    setWindowTitle(QStringLiteral("Cricklet"));
    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/exit-question.svg")).pixmap(32, 32));
    auto* text = new QLabel(QStringLiteral("您确认要退出\"鸣蛩\"吗?"), this);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("确认"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CExitConfirmDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CExitConfirmDlg::reject);

    auto* question = new QHBoxLayout;
    question->addWidget(icon);
    question->addWidget(text, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_showAtExitBox);
    bottom->addStretch(1);
    bottom->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(question);
    layout->addLayout(bottom);
}

int CExitConfirmDlg::exec() {
    m_showAtExitBox->setChecked(showAtExit != 0);
    return QDialog::exec();
}

void CExitConfirmDlg::accept() {
    showAtExit = m_showAtExitBox->isChecked() ? 1 : 0;
    QDialog::accept();
}
