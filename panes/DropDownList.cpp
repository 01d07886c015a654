#include "panes/DropDownList.h"

#include <QComboBox>
#include <QLineEdit>

QComboBox* MakeDropDownList(const std::vector<std::string>& names, const char* objectName) {
    auto* box = new QComboBox;
    box->setObjectName(QString::fromUtf8(objectName));
    box->setEditable(true);
    // A typed text picks an item or none; it never becomes an item itself.
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxVisibleItems(16);
    for (const std::string& name : names) {
        box->addItem(QString::fromStdString(name));
    }
    return box;
}

void ChooseItem(QComboBox* box, int index) {
    if (index >= 0 && index < box->count()) {
        box->setCurrentIndex(index);
    } else {
        box->setCurrentIndex(-1);
        box->setEditText(QString());
    }
}

int ChosenItem(const QComboBox* box) {
    const int index = box->currentIndex();
    const QString text = box->currentText();
    if (index >= 0 && box->itemText(index) == text) {
        return index;
    }
    return box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
}
