// A text label that looks and acts like a link: a click opens its own text
// (a web address or a mailto: link) with the desktop, or the target set for
// a label that reads better than the address it opens.
#pragma once

#include <QCursor>
#include <QLabel>

class CHyperLinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit CHyperLinkLabel(const QString& text = QString(), QWidget* parent = nullptr);

    // Each setter returns the label, so calls can be chained.
    CHyperLinkLabel& SetTextColor(const QColor& colour);
    CHyperLinkLabel& SetFontUnderline(bool underline);
    // Clicks open the text only after SetLink(true).
    CHyperLinkLabel& SetLink(bool link);
    // Shown over the label; without one the normal arrow shows.
    CHyperLinkLabel& SetLinkCursor(const QCursor& cursor);
    // What a click opens instead of the text; empty for the text itself.
    CHyperLinkLabel& SetTarget(const QString& target);
    QString Target() const { return m_target.isEmpty() ? text() : m_target; }

    bool IsLink() const { return m_bLink; }
    QColor TextColor() const { return m_textColor; }

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void ApplyLook();

    QColor m_textColor;
    bool m_bLink = false;
    QString m_target;
};
