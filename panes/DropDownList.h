// The editable drop-down lists of the edit dialogs (styles, genres): the
// item chosen is the one whose text the box shows, or none.
#pragma once

#include <QString>

#include <string>
#include <vector>

class QComboBox;

// An editable drop-down box listing names, item i being names[i].
QComboBox* MakeDropDownList(const std::vector<std::string>& names, const char* objectName);
// Shows item index, or an empty box when index names no item.
void ChooseItem(QComboBox* box, int index);
// The item whose text the box shows (typed or chosen), -1 for a text that
// names no item.
int ChosenItem(const QComboBox* box);
