#include "app/AboutDlg.h"

#include "desktop/HyperLinkLabel.h"

#include "core/WebAddresses.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char* const kDeveloperCredit = "Cricklet 开发组";
const char* const kHelpLinkText = "Cricklet 帮助文档";

// The about text's line on the web page: the address, or in a build
// without one, where the help is.
QString WebLine() {
    const std::string address = HomepageUrl();
    if (!address.empty()) {
        return QStringLiteral("支持网站:") + QString::fromStdString(address) +
               QStringLiteral(" \n");
    }
    return QStringLiteral("帮助文档:点击上方的\"%1\"即可打开 \n")
        .arg(QString::fromUtf8(kHelpLinkText));
}

} // namespace

QString AboutWebAddress() {
    // A build without a home page links the help page instead.
    return QString::fromStdString(HomepageTarget(QDir::currentPath().toStdString()));
}

QString AboutWebLinkText() {
    return HomepageUrl().empty() ? QString::fromUtf8(kHelpLinkText) : AboutWebAddress();
}

QString AboutMailLink() {
    std::string address = FeedbackAddress();
    return address.empty() ? QString()
                           : QStringLiteral("mailto:") + QString::fromStdString(address);
}

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent), m_webLabel(new CHyperLinkLabel(AboutWebLinkText(), this)),
      m_mailLabel(new CHyperLinkLabel(AboutMailLink(), this)),
      m_aboutEdit(new QPlainTextEdit(this)) {
    const QString mail = AboutMailLink().mid(static_cast<int>(qstrlen("mailto:")));
    m_aboutText =
        QStringLiteral("Cricklet(鸣蛩)提供便捷的音乐管理,强大的曲目播放方式.\n"
                       "只需使用Cricklet，一切音乐尽在掌握中！\n\n") +
        WebLine() +
        (mail.isEmpty() ? QString() : QStringLiteral("电子邮箱:") + mail + QStringLiteral("\n")) +
        QStringLiteral("开发人员:") + QString::fromUtf8(kDeveloperCredit);
    m_webLabel->SetTarget(AboutWebAddress());

    setWindowTitle(QStringLiteral("关于 Cricklet"));
    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/cricklet.svg")).pixmap(32, 32));
    auto* version = new QLabel(QStringLiteral("Cricklet 鸣蛩 Version 0.52"), this);
    auto* maker =
        new QLabel(QStringLiteral("由 %1 制作").arg(QString::fromUtf8(kDeveloperCredit)), this);
    m_aboutEdit->setReadOnly(true);
    m_aboutEdit->setPlainText(m_aboutText);
    m_aboutEdit->setMinimumSize(342, 91);
    m_mailLabel->setVisible(!AboutMailLink().isEmpty());
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(version);
    texts->addWidget(maker);
    texts->addWidget(m_webLabel);
    texts->addWidget(m_mailLabel);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(texts, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_aboutEdit);
    layout->addWidget(buttons);
    OnInitDialog();
}

void CAboutDlg::OnInitDialog() {
    for (CHyperLinkLabel* label : {m_mailLabel, m_webLabel}) {
        label->SetLink(true)
            .SetTextColor(QColor(0, 0, 255))
            .SetFontUnderline(true)
            .SetLinkCursor(QCursor(Qt::PointingHandCursor));
    }
}
