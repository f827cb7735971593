#include "gui/robot/Cjointed.h"

#include "core/base/UiSeam.h"
#include "core/protocol/ArmProfile.h"
#include "core/robot/PositionValues.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <limits>

Cjointed::Cjointed(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Edit Joint Position");
    auto* grid = new QGridLayout;
    for (int row = 0; row < kRows; ++row) {
        m_names[row] = new QLabel(this);
        m_fields[row] = new QLineEdit(this);
        m_units[row] = new QLabel(CartesianUnit(row), this);
        m_fields[row]->setObjectName(QString("value%1").arg(row + 1));
        m_fields[row]->hide();
        m_units[row]->hide();
        grid->addWidget(m_names[row], row, 0);
        grid->addWidget(m_fields[row], row, 1);
        grid->addWidget(m_units[row], row, 2);
    }
    m_ok = new QPushButton("OK", this);
    m_cancel = new QPushButton("Cancel", this);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &Cjointed::accept);
    connect(m_cancel, &QPushButton::clicked, this, &Cjointed::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
}

void Cjointed::setVisible(bool visible) {
    if (visible && !isVisible())
        Prepare();
    QDialog::setVisible(visible);
}

int Cjointed::RowCount() const {
    return cartesian ? CartesianAxisCount() : JointCount();
}

void Cjointed::Prepare() {
    if (!title.isEmpty())
        setWindowTitle(title);
    if (!editable) {
        m_ok->hide();
        m_cancel->setText("Close");
        m_cancel->setDefault(true);
    }
    const int n = RowCount();
    const ArmProfile& arm = armProfile();
    for (int row = 0; row < kRows; ++row) {
        const bool used = row < n;
        const std::string name = !used ? "" : cartesian ? arm.AxisName(row) : arm.JointName(row);
        m_names[row]->setText(QString::fromLatin1(name)); // the settings file's encoding
        m_fields[row]->setReadOnly(!editable);
        m_fields[row]->setVisible(used);
        m_units[row]->setVisible(used && cartesian);
        const std::int16_t v = values.values[row];
        m_fields[row]->setText(cartesian ? QString::fromStdString(TenthsText(v)) : QString::number(v));
    }
    if (editable)
        m_fields[0]->setFocus();
    else
        m_cancel->setFocus();
}

void Cjointed::Refuse(int row, const std::string& message) {
    ui().ShowMessage(message);
    m_fields[row]->setFocus();
    m_fields[row]->selectAll();
}

bool Cjointed::TakeRow(int row, std::int16_t& value) {
    const std::string text = m_fields[row]->text().toStdString();
    std::string message;
    if (cartesian) {
        const float limit = static_cast<float>(CartesianLimit(row));
        float x = 0;
        if (!ReadRealField(text, -limit, limit, x, message)) {
            Refuse(row, message);
            return false;
        }
        value = static_cast<std::int16_t>(TenthsFromReal(x));
        return true;
    }
    long v = 0;
    if (!ReadIntegerField(text, std::numeric_limits<std::int16_t>::min(),
                          std::numeric_limits<std::int16_t>::max(), v, message)) {
        Refuse(row, message);
        return false;
    }
    value = static_cast<std::int16_t>(v);
    return true;
}

void Cjointed::accept() {
    if (!editable)
        return;
    PositionRecord taken = values;
    const int n = RowCount();
    for (int row = 0; row < n; ++row)
        if (!TakeRow(row, taken.values[row]))
            return;
    values = taken;
    QDialog::accept();
}
