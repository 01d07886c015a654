#include "app/MessageBoxLook.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>

#include <algorithm>

namespace {

// The room a box keeps beside its text for the icon and the margins.
const int kBesideText = 120;
// Wider than any Chinese character, to leave for the line breaker's rules
// (no closing mark at the start of a line).
const int kLineSlackCharacters = 2;

void TranslateButtons(QMessageBox& box) {
    const struct {
        QMessageBox::StandardButton button;
        const char* text;
    } names[] = {{QMessageBox::Ok, "确定"},
                 {QMessageBox::Cancel, "取消"},
                 {QMessageBox::Yes, "是"},
                 {QMessageBox::No, "否"}};
    for (const auto& name : names) {
        if (QAbstractButton* button = box.button(name.button)) {
            button->setText(QString::fromUtf8(name.text));
        }
    }
}

// QMessageBox wraps a text wider than half the screen and never grows beyond
// this width (on a larger screen, the screen less 480, at most 1000).
int WidestBox(const QMessageBox& box) {
    const QScreen* screen = box.screen() ? box.screen() : QGuiApplication::primaryScreen();
    const int screenWidth = screen ? screen->availableGeometry().width() : 1024;
    return screenWidth <= 1024 ? screenWidth : std::min(screenWidth - 480, 1000);
}

// One line when the text fits the widest box; otherwise lines of equal
// length, so the last one is as full as the others.
void FitTextWidth(QMessageBox& box) {
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (label == nullptr) {
        return;
    }
    const QFontMetrics metrics(label->font());
    int widest = 0;
    for (const QString& line : box.text().split(QLatin1Char('\n'))) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    const int widestLine = std::max(WidestBox(box) - kBesideText, 100);
    const int lines = (widest + widestLine - 1) / widestLine;
    if (lines <= 0) {
        return;
    }
    const int slack = kLineSlackCharacters * metrics.horizontalAdvance(QChar(0x4E2D));
    const int width = lines == 1 ? widest + metrics.averageCharWidth() : widest / lines + slack;
    label->setMinimumWidth(std::min(width, widestLine));
}

} // namespace

void PrepareMessageBox(QMessageBox& box) {
    TranslateButtons(box);
    FitTextWidth(box);
}
