// Mouse and keyboard steps on the panes of a shown window, and the sample
// library that the window tests share.
#pragma once

#include "GuiLibrary.h"

#include <QHeaderView>
#include <QStringList>
#include <QTableView>
#include <QTest>

inline void ClickRow(QTableView* view, int row, Qt::MouseButton button = Qt::LeftButton,
                     Qt::KeyboardModifiers modifiers = {}) {
    QRect cell = view->visualRect(view->model()->index(row, 1));
    QTest::mouseClick(view->viewport(), button, modifiers, cell.center());
}

inline void ClickEmptySpace(QTableView* view) {
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      QPoint(5, view->viewport()->height() - 3));
}

inline void ClickHeader(QTableView* view, int column) {
    QHeaderView* header = view->horizontalHeader();
    QPoint point(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                 header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, point);
}

// The eight texts of a row, through the pane's own accessor.
template <typename Pane> QStringList RowTexts(const Pane* pane, int row) {
    QStringList texts;
    for (int column = 0; column < 8; ++column) {
        texts << pane->ItemText(row, column);
    }
    return texts;
}

template <typename Pane> QStringList ColumnTexts(const Pane* pane, int column) {
    QStringList texts;
    for (int row = 0; row < pane->GetItemCount(); ++row) {
        texts << pane->ItemText(row, column);
    }
    return texts;
}

// Four entries: an m3u file with two songs, a folder with two (one without
// an order number), a pls file and a playlist of another type, both empty.
// root: the library's folder, where the songs' files are made.
inline CMusicList SampleEntries(const std::string& root) {
    const std::string zhou = root + "/music/zhou";
    const std::string old = root + "/music/老歌";
    CMusicList entries;
    entries.AddTail(MakeEntry("周末的歌", "陈奕迅", zhou, "周末.m3u",
                              {MakeSong("十年", "陈奕迅", 205, 1, zhou, "十年.mp3", 2960384, 2002),
                               MakeSong("浮夸", "陈奕迅", 5, 2, zhou, "浮夸.mp3", 999)},
                              0, 2002));
    entries.AddTail(
        MakeEntry("老歌", "", old, old,
                  {MakeSong("甜蜜蜜", "邓丽君", 600, 2, old, "甜蜜蜜.mp3", 4096000),
                   MakeSong("月亮代表我的心", "邓丽君", 3725, 0, old, "月亮.wma", 1000)}));
    entries.AddTail(MakeEntry("Party", "DJ", "/music", "party.pls", {}, 7));
    entries.AddTail(MakeEntry("Other", "", "/music", "x.wpl", {}));
    return entries;
}
