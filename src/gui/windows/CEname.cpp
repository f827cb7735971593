#include "gui/windows/CEname.h"

#include "gui/windows/DialogFields.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

CEname::CEname(const std::string& name, const QString& title, QWidget* parent)
    : QDialog(parent), m_edit(dialogfields::NameField(name, this)), m_start(name), m_name(name) {
    setWindowTitle(title.isEmpty() ? QStringLiteral("Name") : title);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Name:"), m_edit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(dialogfields::OkCancel(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_edit->selectAll();
}

void CEname::accept() {
    if (!dialogfields::TakeEntryName(m_edit, m_start, m_name))
        return;
    QDialog::accept();
}
