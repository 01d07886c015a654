// The modal dialog shown while a folder import runs: the folder and file
// being scanned, how many music files are in so far under a busy bar, and a
// stop button that cancels the import.
#pragma once

#include <QDialog>
#include <QString>

class CMusicManager;
class QLabel;
class QProgressBar;
class QPushButton;

class CImportProgressDlg : public QDialog {
    Q_OBJECT
public:
    // The result the dialog closes with, whether stopped or finished.
    static constexpr int kClosedResult = 1010;

    explicit CImportProgressDlg(CMusicManager* manager, QWidget* parent = nullptr);

    // Shows "当前位置: " + folder and "文件名  : " + fileName.
    void ShowProgress(const QString& folder, const QString& fileName);
    // One more music file has been imported.
    void CountImportedFile();
    int ImportedCount() const { return m_importedCount; }
    QString CountText() const;

    // The full texts of the two lines; the labels shorten long paths.
    QString LocationText() const { return m_locationText; }
    QString FileNameText() const { return m_fileNameText; }
    QPushButton* StopButton() const { return m_stopButton; }

    // Escape and the close box stop the import like the stop button: the
    // dialog never goes away while the worker runs on unnoticed.
    void reject() override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Stop();
    void ShowTexts();

    CMusicManager* m_pManager;
    QLabel* m_locationLabel;
    QLabel* m_fileNameLabel;
    QLabel* m_countLabel;
    QProgressBar* m_busyBar;
    QPushButton* m_stopButton;
    int m_importedCount = 0;
    QString m_locationText;
    QString m_fileNameText;
};
