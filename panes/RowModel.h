// The row storage and cell lookup both panes' models share: a vector of row
// records, eight columns, left-aligned headings. A row the import worker
// added carries its texts already taken; other rows are read when drawn.
#pragma once

#include "panes/RowTexts.h"

#include <QAbstractTableModel>

#include <algorithm>
#include <vector>

template <class RowT> class CRowModel : public QAbstractTableModel {
public:
    using Row = RowT;
    static const int kColumns = 8;

    CRowModel(const char* const* headings, QObject* parent)
        : QAbstractTableModel(parent), m_headings(headings) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : kColumns;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= rowCount()) {
            return QVariant();
        }
        if (role == Qt::DisplayRole) {
            return Text(index.row(), index.column());
        }
        if (role == Qt::DecorationRole && index.column() == 0) {
            return Icon(Image(index.row()));
        }
        return QVariant();
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
            section < kColumns) {
            return QString::fromUtf8(m_headings[section]);
        }
        if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole) {
            return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
        }
        return QAbstractTableModel::headerData(section, orientation, role);
    }

    void Reset(std::vector<Row> rows) {
        beginResetModel();
        m_rows = std::move(rows);
        endResetModel();
    }
    void Insert(int row, Row value) {
        row = std::max(0, std::min(row, rowCount()));
        beginInsertRows(QModelIndex(), row, row);
        m_rows.insert(m_rows.begin() + row, std::move(value));
        endInsertRows();
    }
    void Update(int row, Row value) {
        if (row < 0 || row >= rowCount()) {
            return;
        }
        m_rows[row] = std::move(value);
        emit this->dataChanged(this->index(row, 0), this->index(row, kColumns - 1));
    }
    // Every row reads its record again (the worker's texts are dropped) and
    // is redrawn.
    void Thaw() {
        for (Row& value : m_rows) {
            value.frozen.reset();
        }
        if (!m_rows.empty()) {
            emit this->dataChanged(this->index(0, 0), this->index(rowCount() - 1, kColumns - 1));
        }
    }
    void Remove(int row) {
        if (row < 0 || row >= rowCount()) {
            return;
        }
        beginRemoveRows(QModelIndex(), row, row);
        m_rows.erase(m_rows.begin() + row);
        endRemoveRows();
    }

    QString Text(int row, int column) const {
        if (row < 0 || row >= rowCount() || column < 0 || column >= kColumns) {
            return QString();
        }
        const Row& value = m_rows[row];
        return value.frozen ? value.frozen->texts[column] : LiveText(value, column);
    }
    int Image(int row) const {
        if (row < 0 || row >= rowCount()) {
            return -1;
        }
        const Row& value = m_rows[row];
        return value.frozen ? value.frozen->image : LiveImage(value);
    }

protected:
    // What a row not frozen by the worker shows, read from its record now.
    virtual QString LiveText(const Row& value, int column) const = 0;
    virtual int LiveImage(const Row& value) const = 0;
    virtual const QIcon& Icon(int image) const = 0;

private:
    const char* const* m_headings;
    std::vector<Row> m_rows;
};
