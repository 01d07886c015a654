#include "panes/RowTexts.h"

#include "formats/Format.h"

namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QString EntryTypeName(int type) {
    switch (type) {
    case PLTYPE_FOLDER:
        return QStringLiteral("文件夹");
    case PLTYPE_M3U:
        return QStringLiteral("m3u");
    case PLTYPE_PLS:
        return QStringLiteral("pls");
    default:
        return QString();
    }
}

} // namespace

QString EntryCellText(const CPlayListItem& entry, int column) {
    switch (column) {
    case 0:
        return Text(entry.title);
    case 1:
        return EntryTypeName(entry.GetType());
    case 2:
        return Text(entry.artist);
    case 3:
        return Text(StyleName(entry.style));
    case 4:
        return Text(FormatNumber(entry.count));
    case 5:
        return Text(FormatDuration(entry.time));
    case 6:
        return Text(FormatNumber(entry.playCount));
    case 7:
        return Text(entry.GetFullPath());
    default:
        return QString();
    }
}

int EntryRowImage(const CPlayListItem& entry, int iconPlaylistID) {
    if (entry.GetType() == PLTYPE_FOLDER) {
        return kImageFolderEntry;
    }
    // Only 1..3 can be chosen in the settings; anything else shows red.
    return iconPlaylistID >= 1 && iconPlaylistID <= 3 ? iconPlaylistID - 1 : 0;
}

CRowTexts EntryRowTexts(const CPlayListItem& entry, int iconPlaylistID) {
    CRowTexts row;
    for (int column = 0; column < 8; ++column) {
        row.texts[column] = EntryCellText(entry, column);
    }
    row.image = EntryRowImage(entry, iconPlaylistID);
    return row;
}

QString SongCellText(const CSongItem& song, int column, bool showOrder) {
    switch (column) {
    case 0:
        return Text(song.title);
    case 1:
        return Text(song.artist);
    case 2:
        return Text(StyleName(song.style));
    case 3:
        return Text(FormatDuration(song.time));
    case 4:
        return showOrder && song.order != 0 ? Text(FormatNumber(song.order)) : QString();
    case 5:
        return Text(song.fileType);
    case 6:
        return Text(FormatSizeKB(song.size));
    case 7:
        return Text(song.GetFullPath());
    default:
        return QString();
    }
}

int SongRowImage(int iconMusicID) {
    return iconMusicID == 2 ? 1 : 0;
}

CRowTexts SongRowTexts(const CSongItem& song, bool showOrder, int iconMusicID) {
    CRowTexts row;
    for (int column = 0; column < 8; ++column) {
        row.texts[column] = SongCellText(song, column, showOrder);
    }
    row.image = SongRowImage(iconMusicID);
    return row;
}

const QIcon& EntryImage(int image) {
    static const QIcon images[] = {
        QIcon(QStringLiteral(":/icons/bug-red.svg")),
        QIcon(QStringLiteral(":/icons/bug-green.svg")),
        QIcon(QStringLiteral(":/icons/bug-yellow.svg")),
        QIcon(QStringLiteral(":/icons/folder.svg")),
        QIcon(QStringLiteral(":/icons/all-songs.svg")),
    };
    return images[image >= 0 && image < 5 ? image : 0];
}

const QIcon& SongImage(int image) {
    static const QIcon images[] = {
        QIcon(QStringLiteral(":/icons/note.svg")),
        QIcon(QStringLiteral(":/icons/lizard.svg")),
    };
    return images[image == 1 ? 1 : 0];
}
