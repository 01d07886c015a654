#include "app/ImportProgressDlg.h"

#include "core/MusicManager.h"

#include <QFile>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSizePolicy>
#include <QStyle>
#include <QVBoxLayout>

namespace {

// The import picture of the program's images, or the style's folder.
QIcon DialogIcon(const QWidget* widget) {
    const QString image = QStringLiteral(":/icons/import.svg");
    return QFile::exists(image) ? QIcon(image)
                                : widget->style()->standardIcon(QStyle::SP_DirOpenIcon);
}

QLabel* MakeLineLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    // Long paths must not widen the dialog while the import runs.
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

CImportProgressDlg::CImportProgressDlg(CMusicManager* manager, QWidget* parent)
    : QDialog(parent), m_pManager(manager), m_locationLabel(MakeLineLabel(this)),
      m_fileNameLabel(MakeLineLabel(this)), m_countLabel(new QLabel(this)),
      m_busyBar(new QProgressBar(this)),
      m_stopButton(new QPushButton(QStringLiteral("取消"), this)),
      m_locationText(QStringLiteral("导入音乐文件中...")) {
    setWindowTitle(QStringLiteral("Cricklet 导入音乐"));
    setModal(true);
    m_locationLabel->setObjectName(QStringLiteral("progressLocation"));
    m_fileNameLabel->setObjectName(QStringLiteral("progressFileName"));
    m_stopButton->setObjectName(QStringLiteral("stopButton"));
    m_countLabel->setObjectName(QStringLiteral("progressCount"));
    m_countLabel->setText(CountText());
    // Room for large counts from the start: while the worker floods the
    // event loop, a relayout for a longer text may come late.
    m_countLabel->setMinimumWidth(
        m_countLabel->fontMetrics().horizontalAdvance(CountText() + QStringLiteral("0000000")));
    // No total is known before the scan ends: the bar only shows that the
    // import is alive.
    m_busyBar->setRange(0, 0);
    m_busyBar->setTextVisible(false);

    auto* icon = new QLabel(this);
    icon->setPixmap(DialogIcon(this).pixmap(32, 32));
    auto* lines = new QVBoxLayout;
    lines->addWidget(m_locationLabel);
    lines->addWidget(m_fileNameLabel);
    auto* row = new QHBoxLayout;
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addLayout(lines, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_countLabel);
    buttons->addStretch(1);
    buttons->addWidget(m_stopButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(m_busyBar);
    layout->addLayout(buttons);
    resize(460, sizeHint().height());

    connect(m_stopButton, &QPushButton::clicked, this, &CImportProgressDlg::Stop);
    ShowTexts();
}

void CImportProgressDlg::ShowProgress(const QString& folder, const QString& fileName) {
    m_locationText = QStringLiteral("当前位置: ") + folder;
    m_fileNameText = QStringLiteral("文件名  : ") + fileName;
    ShowTexts();
}

void CImportProgressDlg::CountImportedFile() {
    ++m_importedCount;
    m_countLabel->setText(CountText());
    // Room for large counts from the start: while the worker floods the
    // event loop, a relayout for a longer text may come late.
    m_countLabel->setMinimumWidth(
        m_countLabel->fontMetrics().horizontalAdvance(CountText() + QStringLiteral("0000000")));
}

QString CImportProgressDlg::CountText() const {
    return QStringLiteral("已导入音乐文件: %1").arg(m_importedCount);
}

void CImportProgressDlg::reject() {
    Stop();
}

void CImportProgressDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    ShowTexts();
}

void CImportProgressDlg::Stop() {
    if (m_pManager != nullptr) {
        m_pManager->CancelImport();
    }
    done(kClosedResult);
}

// Paths keep their beginning and their end; the middle gives way.
void CImportProgressDlg::ShowTexts() {
    const int width = qMax(m_locationLabel->width(), 100);
    const QFontMetrics metrics = m_locationLabel->fontMetrics();
    m_locationLabel->setText(metrics.elidedText(m_locationText, Qt::ElideMiddle, width));
    m_fileNameLabel->setText(metrics.elidedText(m_fileNameText, Qt::ElideMiddle, width));
}
