#include "desktop/EyeReminderDlg.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CEyeReminderDlg::CEyeReminderDlg(QWidget* parent)
    : QDialog(parent), m_message(new QLabel(this)), m_advice(new QLabel(this)),
      m_remindAgainBox(new QCheckBox(QStringLiteral("下次继续提醒我"), this)) {
    setWindowTitle(QStringLiteral("鸣蛩提醒您保护视力！"));
    auto* picture = new QLabel(this);
    picture->setPixmap(QIcon(QStringLiteral(":/icons/eye.svg")).pixmap(32, 32));
    auto* ok = new QPushButton(QStringLiteral("确认"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CEyeReminderDlg::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(m_message);
    texts->addWidget(m_advice);
    auto* top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addLayout(texts, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_remindAgainBox);
    bottom->addStretch(1);
    bottom->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(bottom);
}

void CEyeReminderDlg::Fill(int delayMinutes) {
    m_message->setText(QStringLiteral("您已在电脑前连续用眼%1分钟了！").arg(delayMinutes));
    m_advice->setText(QStringLiteral("为保护您的视力，请稍作锻炼或休息。 ^_^"));
    remindAgain = 1;
    m_remindAgainBox->setChecked(true);
}

void CEyeReminderDlg::accept() {
    remindAgain = m_remindAgainBox->isChecked() ? 1 : 0;
    QDialog::accept();
}
