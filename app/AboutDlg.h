// The About box: version, the about text, and the web and mail links.
#pragma once

#include <QDialog>
#include <QString>

class CHyperLinkLabel;
class QPlainTextEdit;

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    CHyperLinkLabel* WebLabel() const { return m_webLabel; }
    CHyperLinkLabel* MailLabel() const { return m_mailLabel; }
    // The text of the about box's edit field.
    QString AboutText() const { return m_aboutText; }

private:
    void OnInitDialog();

    CHyperLinkLabel* m_webLabel;
    CHyperLinkLabel* m_mailLabel;
    QString m_aboutText;
    QPlainTextEdit* m_aboutEdit;
};

// The web address and the mailto: link the About box shows.
QString AboutWebAddress();
QString AboutMailLink();
