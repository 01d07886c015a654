// The rows of the song pane, one per song record of the list shown. Texts
// are read from the records when a cell is drawn, so a refill of 100,000
// rows costs only the copy of pointers; rows added by the import worker carry
// the texts it took on its thread.
#pragma once

#include "core/SongItem.h"
#include "panes/RowTexts.h"

#include <QAbstractTableModel>

#include <memory>
#include <vector>

class CSongRowModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Row {
        CSongPtr song;
        bool showOrder = false; // an entry's songs are shown, not the flat list
        int image = 0;
        std::shared_ptr<const CRowTexts> frozen; // texts taken by the worker
    };

    explicit CSongRowModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void Reset(std::vector<Row> rows);
    void Insert(int row, Row value);
    void Update(int row, Row value);
    void Remove(int row);

    QString Text(int row, int column) const;
    int Image(int row) const;

private:
    std::vector<Row> m_rows;
};
