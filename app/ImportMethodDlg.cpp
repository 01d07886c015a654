#include "app/ImportMethodDlg.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

// The import picture of the program's images, or the style's folder.
QIcon DialogIcon(const QWidget* widget) {
    const QString image = QStringLiteral(":/icons/import.svg");
    return QFile::exists(image) ? QIcon(image)
                                : widget->style()->standardIcon(QStyle::SP_DirOpenIcon);
}

} // namespace

CImportMethodDlg::CImportMethodDlg(QWidget* parent)
    : QDialog(parent),
      m_folderRadio(new QRadioButton(QStringLiteral("选择一个文件夹导入里面的音乐文件"))),
      m_listFileRadio(new QRadioButton(QStringLiteral("导入一个现有的Cricklet音乐单(.stp)"))) {
    setWindowTitle(QStringLiteral("Cricklet 导入音乐方式"));

    auto* group = new QGroupBox(QStringLiteral("请选择导入方式"));
    auto* radios = new QVBoxLayout(group);
    radios->addWidget(m_folderRadio);
    radios->addWidget(m_listFileRadio);

    auto* icon = new QLabel;
    icon->setPixmap(DialogIcon(this).pixmap(32, 32));
    auto* row = new QHBoxLayout;
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addWidget(group, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

int CImportMethodDlg::exec() {
    // Exclusive radios cannot be cleared one by one; -1 shows neither.
    m_folderRadio->setAutoExclusive(false);
    m_listFileRadio->setAutoExclusive(false);
    m_folderRadio->setChecked(choice == ChooseFolder);
    m_listFileRadio->setChecked(choice == ChooseListFile);
    m_folderRadio->setAutoExclusive(true);
    m_listFileRadio->setAutoExclusive(true);
    return QDialog::exec();
}

void CImportMethodDlg::accept() {
    if (m_folderRadio->isChecked()) {
        choice = ChooseFolder;
    } else if (m_listFileRadio->isChecked()) {
        choice = ChooseListFile;
    } else {
        choice = -1;
    }
    QDialog::accept();
}
