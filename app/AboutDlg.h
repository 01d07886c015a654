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

// What the About box's web link opens (the home page, or the help page in a
// build without one) and the text it shows (the address, or a name for the
// help page: never a bare file path as a web site).
QString AboutWebAddress();
QString AboutWebLinkText();
QString AboutMailLink();
