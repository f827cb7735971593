#include "gui/windows/Croutcode.h"

#include "gui/windows/DialogFields.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include <algorithm>

Croutcode::Croutcode(const std::string& word, int parameter, QWidget* parent)
    : QDialog(parent), m_wordField(dialogfields::NewField("word", QString(), this)),
      m_parameterField(dialogfields::NewField("parameter", QString::number(parameter), this)), m_word(word),
      m_parameter(parameter) {
    setWindowTitle(QStringLiteral("Route Function"));
    // A longer name already in the route is shown whole; a new one is typed within the limit.
    const QString text = QString::fromStdString(word);
    m_wordField->setMaxLength(std::max<int>(kMaxWordLength, static_cast<int>(text.size())));
    m_wordField->setText(text);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Name:"), m_wordField);
    form->addRow(QStringLiteral("Parameter:"), m_parameterField);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(dialogfields::OkCancel(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void Croutcode::accept() {
    int parameter = 0;
    if (!dialogfields::TakeInteger(m_parameterField, kMinParameter, kMaxParameter, parameter))
        return;
    m_word = m_wordField->text().toStdString();
    m_parameter = parameter;
    QDialog::accept();
}
