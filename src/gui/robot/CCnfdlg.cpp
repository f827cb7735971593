#include "gui/robot/CCnfdlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>

CCnfdlg::CCnfdlg(bool simulate, bool hideMode, QWidget* parent)
    : QDialog(parent), m_simulate(new QCheckBox(QStringLiteral("Simulate"), this)),
      m_hideMode(new QCheckBox(QStringLiteral("Hide mode"), this)) {
    setWindowTitle(QStringLiteral("Configuration"));
    m_simulate->setObjectName(QStringLiteral("simulate"));
    m_hideMode->setObjectName(QStringLiteral("hideMode"));
    m_simulate->setChecked(simulate);
    m_hideMode->setChecked(hideMode);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_simulate);
    layout->addWidget(m_hideMode);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool CCnfdlg::simulate() const {
    return m_simulate->isChecked();
}

bool CCnfdlg::hideMode() const {
    return m_hideMode->isChecked();
}
