#include "panes/EntryRowModel.h"

#include <algorithm>

namespace {

const char* const kHeadings[8] = {"曲目标题", "类型", "艺术家",   "风格",
                                  "曲数",     "时间", "欣赏次数", "文件位置"};

} // namespace

int CEntryRowModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CEntryRowModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 8;
}

QVariant CEntryRowModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return QVariant();
    }
    if (role == Qt::DisplayRole) {
        return Text(index.row(), index.column());
    }
    if (role == Qt::DecorationRole && index.column() == 0) {
        return EntryImage(Image(index.row()));
    }
    return QVariant();
}

QVariant CEntryRowModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < 8) {
        return QString::fromUtf8(kHeadings[section]);
    }
    if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

void CEntryRowModel::Reset(std::vector<Row> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void CEntryRowModel::Insert(int row, Row value) {
    row = std::max(0, std::min(row, rowCount()));
    beginInsertRows(QModelIndex(), row, row);
    m_rows.insert(m_rows.begin() + row, std::move(value));
    endInsertRows();
}

void CEntryRowModel::Update(int row, Row value) {
    if (row < 0 || row >= rowCount()) {
        return;
    }
    m_rows[row] = std::move(value);
    emit dataChanged(index(row, 0), index(row, 7));
}

void CEntryRowModel::Remove(int row) {
    if (row < 0 || row >= rowCount()) {
        return;
    }
    beginRemoveRows(QModelIndex(), row, row);
    m_rows.erase(m_rows.begin() + row);
    endRemoveRows();
}

QString CEntryRowModel::Text(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= 8) {
        return QString();
    }
    const Row& value = m_rows[row];
    if (value.frozen) {
        return value.frozen->texts[column];
    }
    if (value.special == kAllSongsRow) {
        return column == 0 ? QStringLiteral("所有歌曲") : QString();
    }
    if (value.special == kPlaceholderRow) {
        return column == 0 ? QStringLiteral("导入您的音乐(请双击)") : QString();
    }
    return value.entry ? EntryCellText(*value.entry, column) : QString();
}

int CEntryRowModel::Image(int row) const {
    if (row < 0 || row >= rowCount()) {
        return -1;
    }
    const Row& value = m_rows[row];
    if (value.frozen) {
        return value.frozen->image;
    }
    if (value.special != kEntryRow || !value.entry) {
        return kImageSpecialRow;
    }
    return EntryRowImage(*value.entry, value.iconPlaylistID);
}
