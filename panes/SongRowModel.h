// The rows of the song pane, one per song record of the list shown. Texts
// are read from the records when a cell is drawn, so a refill of 100,000
// rows costs only the copy of pointers; rows added by the import worker carry
// the texts it took on its thread.
#pragma once

#include "core/SongItem.h"
#include "panes/RowModel.h"
#include "panes/RowTexts.h"

#include <memory>

// One row of the song pane.
struct CSongRow {
    CSongPtr song;
    bool showOrder = false; // an entry's songs are shown, not the flat list
    int image = 0;
    std::shared_ptr<const CRowTexts> frozen; // texts taken by the worker
};

class CSongRowModel : public CRowModel<CSongRow> {
    Q_OBJECT
public:
    explicit CSongRowModel(QObject* parent = nullptr);

protected:
    QString LiveText(const Row& value, int column) const override;
    int LiveImage(const Row& value) const override;
    const QIcon& Icon(int image) const override;
};
