#include "panes/PlayListInfoDlg.h"

#include "formats/Format.h"
#include "panes/DropDownList.h"
#include "panes/EditForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton* MakeMoveButton(const char* text, const char* objectName) {
    auto* button = new QPushButton(QString::fromUtf8(text));
    button->setObjectName(QString::fromUtf8(objectName));
    // Enter stays with OK unless the button itself has the focus.
    button->setAutoDefault(false);
    return button;
}

} // namespace

CPlayListInfoDlg::CPlayListInfoDlg(QWidget* parent)
    : QDialog(parent), m_title(MakeLineEdit("title")), m_artist(MakeLineEdit("artist")),
      m_style(MakeDropDownList(StyleNames(), "style")),
      m_songCount(MakeLineEdit("songCount", true)), m_time(MakeLineEdit("time", true)),
      m_location(MakeLineEdit("location", true)),
      m_updateSongs(new QCheckBox(QStringLiteral("将更改内容更新至对应的歌曲中"))),
      m_previous(MakeMoveButton("上一个", "previous")), m_next(MakeMoveButton("下一个", "next")) {
    setWindowTitle(QStringLiteral("Cricklet 编辑曲目资料"));
    m_updateSongs->setObjectName(QStringLiteral("updateSongs"));

    auto* grid = new QGridLayout;
    AddFormRow(grid, "标  题:", m_title);
    AddFormRow(grid, "艺术家:", m_artist);
    AddFormRow(grid, "风  格:", m_style);
    AddFormRow(grid, "曲目数:", m_songCount);
    AddFormRow(grid, "时  间:", m_time);
    AddFormRow(grid, "位  置", m_location);

    auto* moves = new QHBoxLayout;
    moves->addWidget(m_previous);
    moves->addWidget(m_next);
    moves->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_updateSongs);
    layout->addLayout(moves);
    layout->addWidget(MakeOkCancel(this));
    setMinimumWidth(420);

    connect(m_previous, &QPushButton::clicked, this, &CPlayListInfoDlg::previousClicked);
    connect(m_next, &QPushButton::clicked, this, &CPlayListInfoDlg::nextClicked);
}

int CPlayListInfoDlg::exec() {
    ShowEntry();
    m_updateSongs->setChecked(updateSongs != 0);
    m_title->setFocus();
    m_title->selectAll();
    return QDialog::exec();
}

void CPlayListInfoDlg::accept() {
    ReadControls();
    QDialog::accept();
}

void CPlayListInfoDlg::done(int result) {
    updateSongs = m_updateSongs->isChecked() ? 1 : 0;
    QDialog::done(result);
}

void CPlayListInfoDlg::ShowEntry() {
    m_title->setText(QString::fromStdString(title));
    m_artist->setText(QString::fromStdString(artist));
    ChooseItem(m_style, styleIndex);
    m_songCount->setText(QString::number(songCount));
    m_time->setText(QString::fromStdString(time));
    m_location->setText(QString::fromStdString(location));
}

void CPlayListInfoDlg::ReadControls() {
    title = TextOf(m_title);
    artist = TextOf(m_artist);
    styleIndex = ChosenItem(m_style);
    updateSongs = m_updateSongs->isChecked() ? 1 : 0;
}

void CPlayListInfoDlg::EnableMoves(bool previous, bool next) {
    // A button about to be disabled would take the focus with it.
    if ((!previous && m_previous->hasFocus()) || (!next && m_next->hasFocus())) {
        (previous ? m_previous : next ? m_next : static_cast<QWidget*>(m_title))->setFocus();
    }
    m_previous->setEnabled(previous);
    m_next->setEnabled(next);
}
