#include "gui/text/Cbinblk.h"

#include "core/base/UiSeam.h"
#include "core/text/HexField.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit* Field(const char* name, const QString& text) {
    auto* field = new QLineEdit(text);
    field->setObjectName(name);
    field->setMaxLength(63);
    return field;
}

} // namespace

Cbinblk::Cbinblk(unsigned bank, unsigned start, unsigned length, QWidget* parent)
    : QDialog(parent), m_bank(Field("bank", QString::number(bank))),
      m_start(Field("start", QString::fromStdString(hexfield::FormatHex(start)))),
      m_length(Field("length", QString::fromStdString(hexfield::FormatHex(length)))), m_bankValue(bank),
      m_startValue(start), m_lengthValue(length) {
    setWindowTitle("Binary block");
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("Bank:"), 0, 0);
    grid->addWidget(m_bank, 0, 1);
    grid->addWidget(new QLabel("Start:"), 1, 0);
    grid->addWidget(m_start, 1, 1);
    grid->addWidget(new QLabel("hex"), 1, 2);
    grid->addWidget(new QLabel("Length:"), 2, 0);
    grid->addWidget(m_length, 2, 1);
    grid->addWidget(new QLabel("hex"), 2, 2);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

void Cbinblk::Refocus(QLineEdit* field) {
    field->setFocus();
    field->selectAll();
}

bool Cbinblk::ReadBank() {
    bool ok = false;
    const unsigned bank = m_bank->text().trimmed().toUInt(&ok, 10);
    if (!ok || bank > kMaxBank) {
        ui().ShowMessage("Please enter an integer between 0 and " + std::to_string(kMaxBank) + ".");
        Refocus(m_bank);
        return false;
    }
    m_bankValue = bank;
    return true;
}

bool Cbinblk::ReadHex(QLineEdit* field, unsigned& value) {
    if (hexfield::ParseHex(field->text().toStdString(), value))
        return true;
    ui().ShowMessage(hexfield::kMessage);
    Refocus(field);
    return false;
}

// The fields are read in order and the first bad one keeps the dialog open with the focus on it.
void Cbinblk::accept() {
    unsigned start = 0;
    unsigned length = 0;
    if (!ReadBank() || !ReadHex(m_start, start) || !ReadHex(m_length, length))
        return;
    m_startValue = start;
    m_lengthValue = length;
    QDialog::accept();
}
