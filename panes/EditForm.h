// The pieces the edit dialogs share: labelled rows of fields in reading
// order, read-only fields, and the OK and Cancel buttons.
#pragma once

#include <string>

class QDialog;
class QDialogButtonBox;
class QGridLayout;
class QLineEdit;
class QWidget;

// A one-line field; a read-only one still takes the focus, so its text can
// be selected and copied.
QLineEdit* MakeLineEdit(const char* objectName, bool readOnly = false);
// Puts label and field on the grid's next row, the label naming the field.
void AddFormRow(QGridLayout* grid, const char* label, QWidget* field);
// 确定 (the default button: Enter) and 取消 (Escape), wired to the dialog.
QDialogButtonBox* MakeOkCancel(QDialog* dialog);

std::string TextOf(const QLineEdit* field);
