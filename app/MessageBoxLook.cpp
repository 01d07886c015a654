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
// Less than the icon and margins take beside the text.
const int kIconRoom = 30;
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

int ScreenWidth(const QMessageBox& box) {
    const QScreen* screen = box.screen() ? box.screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().width() : 1024;
}

// QMessageBox never grows beyond this width (on a larger screen, the screen
// less 480, at most 1000)...
int WidestBox(const QMessageBox& box) {
    const int screenWidth = ScreenWidth(box);
    return screenWidth <= 1024 ? screenWidth : std::min(screenWidth - 480, 1000);
}

// ...and wraps its text only when the box would be wider than this; a
// narrower box shows one line, cut.
int WrappingBox(const QMessageBox& box) {
    return std::min(ScreenWidth(box) / 2, 500);
}

// One line when the text fits the widest box; otherwise lines of equal
// length, so the last one is as full as the others, but wide enough that the
// box wraps them (the text is then wider than two such lines, so the last
// one is still long).
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
    const int width = lines == 1 ? widest + metrics.averageCharWidth()
                                 : std::max(widest / lines + slack, WrappingBox(box) - kIconRoom);
    label->setMinimumWidth(std::min(width, widestLine));
}

} // namespace

void PrepareMessageBox(QMessageBox& box) {
    TranslateButtons(box);
    FitTextWidth(box);
}
