#include "gui/robot/CJname.h"

#include "core/base/UiSeam.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The count as typed: a decimal integer, or -1 when the text is not one.
int ParseCount(const QString& text) {
    bool ok = false;
    const uint value = text.trimmed().toUInt(&ok, 10);
    return ok && value <= 1000 ? static_cast<int>(value) : -1;
}

} // namespace

CJname::CJname(const QString& title, int count, const std::vector<std::string>& names, QWidget* parent)
    : QDialog(parent), m_countEdit(new QLineEdit(this)), m_count(count) {
    setWindowTitle(title);
    m_countEdit->setObjectName(QStringLiteral("count"));
    m_countEdit->setText(QString::number(count));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Number of axes"), m_countEdit);
    for (int i = 0; i < kSlots; ++i) {
        m_labels[i] = new QLabel(QString::number(i + 1), this);
        m_nameEdits[i] = new QLineEdit(this);
        m_nameEdits[i]->setObjectName(QStringLiteral("name%1").arg(i + 1));
        if (i < count && i < static_cast<int>(names.size()))
            m_nameEdits[i]->setText(QString::fromLatin1(names[static_cast<std::size_t>(i)]));
        form->addRow(m_labels[i], m_nameEdits[i]);
    }
    ShowRows(count);
    connect(m_countEdit, &QLineEdit::textChanged, this, &CJname::CountEdited);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CJname::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CJname::CountEdited(const QString& text) {
    const int n = ParseCount(text);
    if (n < 1 || n > kMaxCount)
        return; // refused at "OK"
    m_count = n;
    ShowRows(n);
}

void CJname::ShowRows(int count) {
    for (int i = 0; i < kSlots; ++i) {
        m_labels[i]->setVisible(i < count);
        m_nameEdits[i]->setVisible(i < count);
    }
}

bool CJname::Refuse(QLineEdit* field, const std::string& message) {
    ui().ShowMessage(message);
    field->setFocus();
    field->selectAll();
    return false;
}

void CJname::accept() {
    const int n = ParseCount(m_countEdit->text());
    if (n < 1 || n > kMaxCount) {
        Refuse(m_countEdit, "Please enter an integer between 1 and 6.");
        return;
    }
    m_count = n;
    for (int i = 0; i < n; ++i) {
        const QString name = m_nameEdits[i]->text();
        if (name.size() > kMaxNameLength) {
            Refuse(m_nameEdits[i], "Enter no more than 8 characters.");
            return;
        }
        if (std::any_of(name.begin(), name.end(), [](QChar c) { return c.unicode() > 0xFF; })) {
            Refuse(m_nameEdits[i], "Enter only Western European (Latin-1) characters.");
            return;
        }
    }
    QDialog::accept();
}

std::vector<std::string> CJname::names() const {
    std::vector<std::string> list;
    for (int i = 0; i < m_count && i < kSlots; ++i)
        list.push_back(m_nameEdits[i]->text().toLatin1().toStdString());
    return list;
}
