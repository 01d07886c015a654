#include "desktop/HyperLinkLabel.h"

#include "platform/Platform.h"

#include <QMouseEvent>

CHyperLinkLabel::CHyperLinkLabel(const QString& text, QWidget* parent)
    : QLabel(text, parent), m_textColor(palette().color(QPalette::WindowText)) {
    setTextFormat(Qt::PlainText);
    ApplyLook();
}

void CHyperLinkLabel::ApplyLook() {
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, m_textColor);
    setPalette(colours);
    update();
}

CHyperLinkLabel& CHyperLinkLabel::SetTextColor(const QColor& colour) {
    m_textColor = colour;
    ApplyLook();
    return *this;
}

CHyperLinkLabel& CHyperLinkLabel::SetFontUnderline(bool underline) {
    QFont look = font();
    look.setUnderline(underline);
    setFont(look);
    update();
    return *this;
}

CHyperLinkLabel& CHyperLinkLabel::SetLink(bool link) {
    m_bLink = link;
    return *this;
}

CHyperLinkLabel& CHyperLinkLabel::SetLinkCursor(const QCursor& cursor) {
    setCursor(cursor);
    return *this;
}

CHyperLinkLabel& CHyperLinkLabel::SetTarget(const QString& target) {
    m_target = target;
    return *this;
}

void CHyperLinkLabel::mousePressEvent(QMouseEvent* event) {
    if (m_bLink && event->button() == Qt::LeftButton && !Target().isEmpty()) {
        Platform().OpenPath(Target().toStdString());
    }
    QLabel::mousePressEvent(event);
}
