#include "gui/robot/ManualControlDialogs.h"

#include "core/robot/PositionValues.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Keeps the window near the top of the main window, clear of what the operator watches.
void PlaceNearTop(QDialog* dialog, QWidget* parent) {
    if (!parent)
        return;
    const QFontMetrics metrics(dialog->font());
    // 200 by 10 dialog units: a quarter of the average character width and an eighth of the height.
    const QPoint offset(200 * metrics.averageCharWidth() / 4, 10 * metrics.height() / 8);
    dialog->move(parent->window()->geometry().topLeft() + offset);
}

} // namespace

ManualControlDialog::ManualControlDialog(QWidget* parent, const QString& title, const QString& label,
                                         const QString& unit, const QString& newValueText,
                                         const QString& value)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle(title);
    m_value = new QLineEdit(value, this);
    m_value->setObjectName("value");
    m_value->setReadOnly(true);
    m_newValue = new QPushButton(newValueText, this);
    m_escape = new QPushButton("Escape", this);
    m_newValue->setDefault(true);
    connect(m_newValue, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_escape, &QPushButton::clicked, this, &QDialog::reject);

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(label, this));
    row->addWidget(m_value);
    if (!unit.isEmpty())
        row->addWidget(new QLabel(unit, this));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_newValue);
    buttons->addWidget(m_escape);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);
    PlaceNearTop(this, parent);
}

Cteach::Cteach(QWidget* parent, int creepFactor)
    : ManualControlDialog(parent, "Manual Joint Control", "Speed:", QString(), "New Speed",
                          QString::number(creepFactor)) {}

CJog::CJog(QWidget* parent, int increment)
    : ManualControlDialog(parent, "Jog (Manual Cartesian Control)", "Increment:", "Millimetres",
                          "New Increment", QString::fromStdString(JogIncrementText(increment))) {}
