#include "gui/windows/DialogFields.h"

#include "core/base/UiSeam.h"
#include "core/project/NameCheck.h"
#include "core/robot/PositionValues.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace dialogfields {

QLineEdit* NewField(const char* objectName, const QString& text, QWidget* parent) {
    auto* field = new QLineEdit(text, parent);
    field->setObjectName(objectName);
    return field;
}

QLineEdit* NameField(const std::string& name, QWidget* parent) {
    const QString text = QString::fromStdString(name);
    auto* field = NewField("name", QString(), parent);
    field->setMaxLength(std::max<int>(kMaxEntryNameLength, static_cast<int>(text.size())));
    field->setText(text);
    return field;
}

QHBoxLayout* CountRow(const QString& label, QLineEdit* field, const QString& unit) {
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(label));
    row->addWidget(field);
    row->addWidget(new QLabel(unit));
    return row;
}

QDialogButtonBox* OkCancel(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

bool Refuse(QLineEdit* field, const std::string& message) {
    ui().ShowMessage(message);
    field->setFocus();
    field->selectAll();
    return false;
}

bool TakeInteger(QLineEdit* field, long min, long max, int& value) {
    long v = 0;
    std::string message;
    if (!ReadIntegerField(field->text().toStdString(), min, max, v, message))
        return Refuse(field, message);
    value = static_cast<int>(v);
    return true;
}

bool TakeReal(QLineEdit* field, float min, float max, float& value) {
    std::string message;
    if (!ReadRealField(field->text().toStdString(), min, max, value, message))
        return Refuse(field, message);
    return true;
}

bool TakeEntryName(QLineEdit* field, const std::string& oldName, std::string& name) {
    const std::string typed = field->text().toStdString();
    if (typed.size() > static_cast<size_t>(kMaxEntryNameLength) && typed != oldName)
        return Refuse(field, "Enter no more than " + std::to_string(kMaxEntryNameLength) + " characters.");
    const std::string message = ValidateNewName(typed, oldName);
    if (!message.empty())
        return Refuse(field, message);
    name = typed;
    return true;
}

} // namespace dialogfields
