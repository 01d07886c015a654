// Opens the ID3v1 tag editor offscreen on one MP3 file, types the texts into
// its fields (GENRE into the genre box, empty to choose none), presses Enter
// and writes the tag as the tag command does; exit code 0 when written.
//   tag-editor-peer FILE TITLE ARTIST ALBUM YEAR COMMENT GENRE

#include "audio/Mp3Info.h"
#include "core/TagEdit.h"
#include "panes/Id3TagDlg.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

#include <cstdio>

namespace {

void TypeInto(CId3TagDlg& dialog, char** texts) {
    const char* const fields[] = {"title", "artist", "album", "year"};
    for (int i = 0; i < 4; ++i) {
        dialog.findChild<QLineEdit*>(QString::fromUtf8(fields[i]))
            ->setText(QString::fromUtf8(texts[i]));
    }
    dialog.findChild<QPlainTextEdit*>(QStringLiteral("comment"))
        ->setPlainText(QString::fromUtf8(texts[4]));
    dialog.findChild<QComboBox*>(QStringLiteral("genre"))->setEditText(QString::fromUtf8(texts[5]));
    QTest::keyClick(&dialog, Qt::Key_Return);
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 8) {
        std::fprintf(stderr, "usage: tag-editor-peer FILE TITLE ARTIST ALBUM YEAR COMMENT GENRE\n");
        return 2;
    }
    Mp3Info info;
    if (info.Open(argv[1]) != MP3_OK) {
        return 1;
    }
    CId3TagDlg dialog;
    dialog.SetFields(TagFieldsOf(info));
    QTimer::singleShot(0, &dialog, [&dialog, argv] { TypeInto(dialog, argv + 2); });
    QTimer::singleShot(5000, &dialog, &CId3TagDlg::reject);
    if (dialog.exec() != QDialog::Accepted) {
        std::fprintf(stderr, "the editor did not accept the fields\n");
        return 1;
    }
    return WriteTagFields(info, dialog.Fields()) ? 0 : 1;
}
