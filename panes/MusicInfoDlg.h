// "Cricklet 修改音乐资料": a song's title, artist and style, with the entry
// it is shown in, its time and its file, and whether the file follows the
// edit (renamed after the title, tag written). It edits its members only;
// the edit command applies them.
#pragma once

#include <QDialog>

#include <string>

class QCheckBox;
class QComboBox;
class QLineEdit;

class CMusicInfoDlg : public QDialog {
    Q_OBJECT
public:
    explicit CMusicInfoDlg(QWidget* parent = nullptr);

    std::string title;
    std::string artist;
    int styleIndex = 0; // drop-down item; -1 when the text names no style
    std::string entryTitle;
    std::string time;
    std::string location;
    int updateFile = 0;

    // Members to controls, then the dialog runs.
    int exec() override;
    // Controls to members.
    void accept() override;
    // The check box's state reaches updateFile on Cancel too.
    void done(int result) override;

private:
    QLineEdit* m_title;
    QLineEdit* m_artist;
    QComboBox* m_style;
    QLineEdit* m_entryTitle;
    QLineEdit* m_time;
    QLineEdit* m_location;
    QCheckBox* m_updateFile;
};
