#include "panes/SongRowModel.h"

#include <algorithm>

namespace {

const char* const kHeadings[8] = {"音乐标题", "艺术家",   "风格",     "时间",
                                  "次序",     "文件类型", "文件大小", "文件位置"};

} // namespace

int CSongRowModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CSongRowModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 8;
}

QVariant CSongRowModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return QVariant();
    }
    if (role == Qt::DisplayRole) {
        return Text(index.row(), index.column());
    }
    if (role == Qt::DecorationRole && index.column() == 0) {
        return SongImage(Image(index.row()));
    }
    return QVariant();
}

QVariant CSongRowModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < 8) {
        return QString::fromUtf8(kHeadings[section]);
    }
    if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

void CSongRowModel::Reset(std::vector<Row> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void CSongRowModel::Insert(int row, Row value) {
    row = std::max(0, std::min(row, rowCount()));
    beginInsertRows(QModelIndex(), row, row);
    m_rows.insert(m_rows.begin() + row, std::move(value));
    endInsertRows();
}

void CSongRowModel::Update(int row, Row value) {
    if (row < 0 || row >= rowCount()) {
        return;
    }
    m_rows[row] = std::move(value);
    emit dataChanged(index(row, 0), index(row, 7));
}

void CSongRowModel::Remove(int row) {
    if (row < 0 || row >= rowCount()) {
        return;
    }
    beginRemoveRows(QModelIndex(), row, row);
    m_rows.erase(m_rows.begin() + row);
    endRemoveRows();
}

QString CSongRowModel::Text(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= 8) {
        return QString();
    }
    const Row& value = m_rows[row];
    if (value.frozen) {
        return value.frozen->texts[column];
    }
    return value.song ? SongCellText(*value.song, column, value.showOrder) : QString();
}

int CSongRowModel::Image(int row) const {
    if (row < 0 || row >= rowCount()) {
        return -1;
    }
    return m_rows[row].frozen ? m_rows[row].frozen->image : m_rows[row].image;
}
