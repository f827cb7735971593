#pragma once

#include <QString>

#include <string>

class QDialog;
class QDialogButtonBox;
class QHBoxLayout;
class QLineEdit;
class QWidget;

// What the small dialogs of places and routes share: fields read on "OK" with the program's range
// messages, the refusal that keeps the dialog open with the focus on the field at fault, and the
// "OK"/"Cancel" row.
namespace dialogfields {

// A line edit named `objectName` holding `text`.
QLineEdit* NewField(const char* objectName, const QString& text, QWidget* parent);
// The name field of a place or route starting at `name`: 8 characters can be typed, or as many as a
// longer starting name has, so that such a name is shown whole.
QLineEdit* NameField(const std::string& name, QWidget* parent);
// "label [field] unit" on one line, for the counts of lines.
QHBoxLayout* CountRow(const QString& label, QLineEdit* field, const QString& unit);
// "OK" (the default button) and "Cancel", wired to the dialog's accept() and reject().
QDialogButtonBox* OkCancel(QDialog* dialog);

// Shows `message` and puts the focus on `field` with its text selected. Always false.
bool Refuse(QLineEdit* field, const std::string& message);
// The field as an integer within min..max; otherwise refused with a message naming the range.
bool TakeInteger(QLineEdit* field, long min, long max, int& value);
// The field as a single-precision number within min..max; otherwise refused the same way.
bool TakeReal(QLineEdit* field, float min, float max, float& value);
// The field as the name of a place or route that was called `oldName`: at most 8 characters unless
// it is the old name unchanged, and not the name of another entry (ValidateNewName).
bool TakeEntryName(QLineEdit* field, const std::string& oldName, std::string& name);

} // namespace dialogfields
