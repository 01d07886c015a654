#include "panes/SongRowModel.h"

namespace {

const char* const kHeadings[8] = {"音乐标题", "艺术家",   "风格",     "时间",
                                  "次序",     "文件类型", "文件大小", "文件位置"};

} // namespace

CSongRowModel::CSongRowModel(QObject* parent) : CRowModel<CSongRow>(kHeadings, parent) {}

QString CSongRowModel::LiveText(const Row& value, int column) const {
    return value.song ? SongCellText(*value.song, column, value.showOrder) : QString();
}

int CSongRowModel::LiveImage(const Row& value) const {
    return value.image;
}

const QIcon& CSongRowModel::Icon(int image) const {
    return SongImage(image);
}
