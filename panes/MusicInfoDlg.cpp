#include "panes/MusicInfoDlg.h"

#include "formats/Format.h"
#include "panes/DropDownList.h"
#include "panes/EditForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QVBoxLayout>

CMusicInfoDlg::CMusicInfoDlg(QWidget* parent)
    : QDialog(parent), m_title(MakeLineEdit("title")), m_artist(MakeLineEdit("artist")),
      m_style(MakeDropDownList(StyleNames(), "style")),
      m_entryTitle(MakeLineEdit("entryTitle", true)), m_time(MakeLineEdit("time", true)),
      m_location(MakeLineEdit("location", true)),
      m_updateFile(new QCheckBox(QStringLiteral("将资料修改更新至这个音乐文件中"))) {
    setWindowTitle(QStringLiteral("Cricklet 修改音乐资料"));
    m_updateFile->setObjectName(QStringLiteral("updateFile"));

    auto* grid = new QGridLayout;
    AddFormRow(grid, "标  题:", m_title);
    AddFormRow(grid, "艺术家:", m_artist);
    AddFormRow(grid, "风  格:", m_style);
    AddFormRow(grid, "曲  目:", m_entryTitle);
    AddFormRow(grid, "时  间:", m_time);
    AddFormRow(grid, "位  置", m_location);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_updateFile);
    layout->addWidget(MakeOkCancel(this));
    setMinimumWidth(420);
}

int CMusicInfoDlg::exec() {
    m_title->setText(QString::fromStdString(title));
    m_artist->setText(QString::fromStdString(artist));
    ChooseItem(m_style, styleIndex);
    m_entryTitle->setText(QString::fromStdString(entryTitle));
    m_time->setText(QString::fromStdString(time));
    m_location->setText(QString::fromStdString(location));
    m_updateFile->setChecked(updateFile != 0);
    m_title->setFocus();
    m_title->selectAll();
    return QDialog::exec();
}

void CMusicInfoDlg::accept() {
    styleIndex = ChosenItem(m_style);
    title = TextOf(m_title);
    artist = TextOf(m_artist);
    QDialog::accept();
}

void CMusicInfoDlg::done(int result) {
    updateFile = m_updateFile->isChecked() ? 1 : 0;
    QDialog::done(result);
}
