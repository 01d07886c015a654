// The rows of the playlist pane: the special row and one row per entry,
// holding the entry records themselves. Texts are read from the records when
// a cell is drawn, so a refill of many rows costs only the copy of pointers;
// rows added by the import worker carry the texts it took on its thread.
#pragma once

#include "core/PlayListItem.h"
#include "panes/RowModel.h"
#include "panes/RowTexts.h"

#include <memory>

// One row of the playlist pane.
struct CEntryRow {
    enum Special { kEntryRow = 0, kAllSongsRow = -1, kPlaceholderRow = -2 };

    CEntryPtr entry;
    int special = kEntryRow;
    int iconPlaylistID = 1;
    std::shared_ptr<const CRowTexts> frozen; // texts taken by the worker
};

class CEntryRowModel : public CRowModel<CEntryRow> {
    Q_OBJECT
public:
    using Special = CEntryRow::Special;
    static constexpr Special kEntryRow = CEntryRow::kEntryRow;
    static constexpr Special kAllSongsRow = CEntryRow::kAllSongsRow;
    static constexpr Special kPlaceholderRow = CEntryRow::kPlaceholderRow;

    explicit CEntryRowModel(QObject* parent = nullptr);

protected:
    QString LiveText(const Row& value, int column) const override;
    int LiveImage(const Row& value) const override;
    const QIcon& Icon(int image) const override;
};
