// "Cricklet 编辑曲目资料": an entry's title, artist and style, with its song
// count, total time and location, whether its songs take its artist and
// style, and 上一个 / 下一个 to save and move to the neighbouring entry. It
// edits its members only; the edit command applies them and answers the
// two buttons.
#pragma once

#include <QDialog>

#include <string>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

class CPlayListInfoDlg : public QDialog {
    Q_OBJECT
public:
    explicit CPlayListInfoDlg(QWidget* parent = nullptr);

    std::string title;
    std::string artist;
    int styleIndex = 0; // drop-down item; -1 when the text names no style
    int songCount = 0;
    std::string time;
    std::string location;
    int updateSongs = 0;

    // Members to controls (the check box too), then the dialog runs.
    int exec() override;
    // Controls to members.
    void accept() override;
    // The check box's state reaches updateSongs on Cancel too.
    void done(int result) override;

    // The entry's members to the controls; the check box stays as the user left it.
    void ShowEntry();
    // Every control to its member.
    void ReadControls();
    void EnableMoves(bool previous, bool next);

signals:
    void previousClicked();
    void nextClicked();

private:
    QLineEdit* m_title;
    QLineEdit* m_artist;
    QComboBox* m_style;
    QLineEdit* m_songCount;
    QLineEdit* m_time;
    QLineEdit* m_location;
    QCheckBox* m_updateSongs;
    QPushButton* m_previous;
    QPushButton* m_next;
};
