#include "panes/Id3TagDlg.h"

#include "audio/GenreNames.h"
#include "panes/DropDownList.h"
#include "panes/EditForm.h"
#include "platform/Platform.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

std::vector<std::string> GenreList() {
    return std::vector<std::string>(GenreNames, GenreNames + kGenreCount);
}

} // namespace

const char* const CId3TagDlg::kIntegerPrompt = "请输入一个整数。";

CId3TagDlg::CId3TagDlg(QWidget* parent)
    : QDialog(parent), m_title(MakeLineEdit("title")), m_artist(MakeLineEdit("artist")),
      m_album(MakeLineEdit("album")), m_year(MakeLineEdit("year")),
      m_genre(MakeDropDownList(GenreList(), "genre")), m_comment(new QPlainTextEdit) {
    setWindowTitle(QStringLiteral("Cricklet - 编辑 MP3 ID3v1 信息"));
    m_comment->setObjectName(QStringLiteral("comment"));
    m_comment->setTabChangesFocus(true);
    m_comment->setFixedHeight(m_comment->fontMetrics().lineSpacing() * 3 + 12);
    m_comment->installEventFilter(this);
    auto* fetch = new QPushButton(QStringLiteral("获取资料"));
    fetch->setObjectName(QStringLiteral("fetch"));
    fetch->setAutoDefault(false);

    auto* grid = new QGridLayout;
    AddFormRow(grid, "标  题:", m_title);
    AddFormRow(grid, "艺术家:", m_artist);
    AddFormRow(grid, "专辑名:", m_album);
    AddFormRow(grid, "时  间:", m_year);
    AddFormRow(grid, "风  格:", m_genre);
    AddFormRow(grid, "内  容:", m_comment);
    grid->addWidget(fetch, grid->rowCount(), 1, Qt::AlignRight);
    auto* group = new QGroupBox(QStringLiteral("编辑 MP3-IDv1-TAG 信息"));
    group->setLayout(grid);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(MakeOkCancel(this));
    setMinimumWidth(400);
    connect(fetch, &QPushButton::clicked, this, &CId3TagDlg::FillFromLibrary);
}

void CId3TagDlg::SetFields(const CTagFields& fields) {
    title = fields.title;
    artist = fields.artist;
    album = fields.album;
    year = fields.year;
    genreIndex = fields.genreIndex;
    comment = fields.comment;
}

CTagFields CId3TagDlg::Fields() const {
    CTagFields fields;
    fields.title = title;
    fields.artist = artist;
    fields.album = album;
    fields.year = year;
    fields.genreIndex = genreIndex;
    fields.comment = comment;
    return fields;
}

int CId3TagDlg::exec() {
    m_title->setText(QString::fromStdString(title));
    m_artist->setText(QString::fromStdString(artist));
    m_album->setText(QString::fromStdString(album));
    m_year->setText(QString::number(year));
    ChooseItem(m_genre, genreIndex);
    m_comment->setPlainText(QString::fromStdString(comment));
    m_title->setFocus();
    m_title->selectAll();
    return QDialog::exec();
}

void CId3TagDlg::accept() {
    bool isNumber = false;
    const int typedYear = m_year->text().trimmed().toInt(&isNumber);
    if (!isNumber) {
        Platform().ShowMessage(kIntegerPrompt, kAppTitle, CMessageIcon::Warning);
        m_year->setFocus();
        m_year->selectAll();
        return;
    }
    year = typedYear;
    title = TextOf(m_title);
    artist = TextOf(m_artist);
    album = TextOf(m_album);
    genreIndex = ChosenItem(m_genre);
    comment = m_comment->toPlainText().toStdString();
    QDialog::accept();
}

// Only the fields taken from the library change; what the user typed into
// the others stays.
void CId3TagDlg::FillFromLibrary() {
    if (song) {
        m_title->setText(QString::fromStdString(song->title));
        m_artist->setText(QString::fromStdString(song->artist));
    }
    if (entry) {
        m_album->setText(QString::fromStdString(entry->title));
    }
}

// Enter in the comment is OK, as in every other field; Ctrl+Enter breaks
// the line.
bool CId3TagDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_comment && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && key->modifiers() == Qt::NoModifier) {
            accept();
            return true;
        }
        if (enter && key->modifiers() == Qt::ControlModifier) {
            m_comment->insertPlainText(QStringLiteral("\n"));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
