#include "panes/EditForm.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

QLineEdit* MakeLineEdit(const char* objectName, bool readOnly) {
    auto* field = new QLineEdit;
    field->setObjectName(QString::fromUtf8(objectName));
    field->setReadOnly(readOnly);
    return field;
}

void AddFormRow(QGridLayout* grid, const char* label, QWidget* field) {
    const int row = grid->rowCount();
    auto* text = new QLabel(QString::fromUtf8(label));
    text->setBuddy(field);
    grid->addWidget(text, row, 0);
    grid->addWidget(field, row, 1);
}

QDialogButtonBox* MakeOkCancel(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setText(QStringLiteral("确定"));
    ok->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

std::string TextOf(const QLineEdit* field) {
    return field->text().toStdString();
}
