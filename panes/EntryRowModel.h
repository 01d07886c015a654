// The rows of the playlist pane: the special row and one row per entry,
// holding the entry records themselves. Texts are read from the records when
// a cell is drawn, so a refill of many rows costs only the copy of pointers;
// rows added by the import worker carry the texts it took on its thread.
#pragma once

#include "core/PlayListItem.h"
#include "panes/RowTexts.h"

#include <QAbstractTableModel>

#include <memory>
#include <vector>

class CEntryRowModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Special { kEntryRow = 0, kAllSongsRow = -1, kPlaceholderRow = -2 };

    struct Row {
        CEntryPtr entry;
        int special = kEntryRow;
        int iconPlaylistID = 1;
        std::shared_ptr<const CRowTexts> frozen; // texts taken by the worker
    };

    explicit CEntryRowModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

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
