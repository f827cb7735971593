#include "gui/windows/Carlines.h"

#include "gui/windows/DialogFields.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

Carlines::Carlines(const std::string& routeName, int reserve, int lowest, int highest, QWidget* parent)
    : QDialog(parent), m_field(dialogfields::NewField("reserve", QString::number(reserve), this)),
      m_lowest(lowest), m_highest(highest), m_reserve(reserve) {
    setWindowTitle(QStringLiteral("Route ") + QString::fromStdString(routeName));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(dialogfields::CountRow(QStringLiteral("Reserve"), m_field, QStringLiteral("lines")));
    layout->addWidget(dialogfields::OkCancel(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_field->selectAll();
}

void Carlines::accept() {
    if (!dialogfields::TakeInteger(m_field, m_lowest, m_highest, m_reserve))
        return;
    QDialog::accept();
}
