// "Cricklet - 编辑 MP3 ID3v1 信息": every field of one MP3 file's ID3v1 tag,
// and 获取资料 to take the title, artist and album from the library. It
// edits its members only; the tag command reads and writes the file.
#pragma once

#include "core/PlayListItem.h"
#include "core/SongItem.h"
#include "core/TagEdit.h"

#include <QDialog>

#include <string>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

class CId3TagDlg : public QDialog {
    Q_OBJECT
public:
    explicit CId3TagDlg(QWidget* parent = nullptr);

    CSongPtr song;   // the song the dialog was opened for, or null
    CEntryPtr entry; // the entry that song was shown in, or null
    std::string title;
    std::string artist;
    std::string album;
    int year = 0;
    int genreIndex = -1; // item of the genre list; -1 none chosen
    std::string comment;

    static const char* const kIntegerPrompt;

    // The members from a tag's fields and back.
    void SetFields(const CTagFields& fields);
    CTagFields Fields() const;

    // Members to controls, then the dialog runs.
    int exec() override;
    // Controls to members; a year that is not a whole number is refused
    // with the prompt and the dialog stays open.
    void accept() override;
    // 获取资料: title and artist from the song, album from the entry.
    void FillFromLibrary();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* m_title;
    QLineEdit* m_artist;
    QLineEdit* m_album;
    QLineEdit* m_year;
    QComboBox* m_genre;
    QPlainTextEdit* m_comment;
};
