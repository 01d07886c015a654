#include "panes/EntryRowModel.h"

namespace {

const char* const kHeadings[8] = {"曲目标题", "类型", "艺术家",   "风格",
                                  "曲数",     "时间", "欣赏次数", "文件位置"};

} // namespace

CEntryRowModel::CEntryRowModel(QObject* parent) : CRowModel<CEntryRow>(kHeadings, parent) {}

QString CEntryRowModel::LiveText(const Row& value, int column) const {
    if (value.special == kAllSongsRow) {
        return column == 0 ? QStringLiteral("所有歌曲") : QString();
    }
    if (value.special == kPlaceholderRow) {
        return column == 0 ? QStringLiteral("导入您的音乐(请双击)") : QString();
    }
    return value.entry ? EntryCellText(*value.entry, column) : QString();
}

int CEntryRowModel::LiveImage(const Row& value) const {
    if (value.special != kEntryRow || !value.entry) {
        return kImageSpecialRow;
    }
    return EntryRowImage(*value.entry, value.iconPlaylistID);
}

const QIcon& CEntryRowModel::Icon(int image) const {
    return EntryImage(image);
}
