#include "gui/windows/CNewGen.h"

#include "gui/windows/DialogFields.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <limits>

CNewGen::CNewGen(const NewGeneratorValues& initial, QWidget* parent)
    : QDialog(parent), m_name(dialogfields::NewField("name", QString::fromStdString(initial.name), this)),
      m_routeReserve(dialogfields::NewField("routeReserve", QString::number(initial.routeReserve), this)),
      m_generatorReserve(
          dialogfields::NewField("generatorReserve", QString::number(initial.generatorReserve), this)),
      m_values(initial) {
    setWindowTitle(QStringLiteral("New route and generator"));
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Name:")), 0, 0);
    grid->addWidget(m_name, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Route reserve ")), 1, 0);
    grid->addWidget(m_routeReserve, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("lines")), 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Generator reserve")), 2, 0);
    grid->addWidget(m_generatorReserve, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("lines")), 2, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(dialogfields::OkCancel(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CNewGen::accept() {
    constexpr long kMin = std::numeric_limits<int>::min();
    constexpr long kMax = std::numeric_limits<int>::max();
    NewGeneratorValues taken;
    taken.name = m_name->text().toStdString();
    if (!dialogfields::TakeInteger(m_routeReserve, kMin, kMax, taken.routeReserve) ||
        !dialogfields::TakeInteger(m_generatorReserve, kMin, kMax, taken.generatorReserve))
        return;
    m_values = taken;
    QDialog::accept();
}
