// The cell texts and row images of the two panes, shared by the row models
// and by the import worker, which takes a row's texts on its own thread.
#pragma once

#include "core/PlayListItem.h"
#include "core/SongItem.h"

#include <QIcon>
#include <QString>

#include <array>

// The eight texts and the image of one row, taken at one moment.
struct CRowTexts {
    std::array<QString, 8> texts;
    int image = 0;
};

// Playlist pane images: 0..2 the bug colours red, green, yellow, 3 a folder
// entry, 4 the special row.
enum : int { kImageFolderEntry = 3, kImageSpecialRow = 4 };

QString EntryCellText(const CPlayListItem& entry, int column);
// The image of an entry row under the bug-colour setting (1..3).
int EntryRowImage(const CPlayListItem& entry, int iconPlaylistID);
CRowTexts EntryRowTexts(const CPlayListItem& entry, int iconPlaylistID);

// showOrder: the order column shows the song's order (when not 0); it does
// only while an entry, not the all-songs list, is shown.
QString SongCellText(const CSongItem& song, int column, bool showOrder);
// Song pane images: 0 the note, 1 the lizard, from the icon setting.
int SongRowImage(int iconMusicID);
CRowTexts SongRowTexts(const CSongItem& song, bool showOrder, int iconMusicID);

const QIcon& EntryImage(int image);
const QIcon& SongImage(int image);
