#include "gui/macros/Cmaced.h"

#include "core/base/UiSeam.h"
#include "core/macros/Cmacdoc.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Macro texts are bytes; the controller's console is 8-bit, so each byte is one character here.
QString FromBytes(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

std::string ToBytes(const QString& s) {
    return s.toLatin1().toStdString();
}

} // namespace

Cmaced::Cmaced(const std::string& name, const std::string& text, QWidget* parent)
    : QDialog(parent), m_name(new QLineEdit), m_text(new QPlainTextEdit) {
    setWindowTitle("Edit Macro");
    m_name->setObjectName("name");
    m_text->setObjectName("text");
    // A longer name from a file stays whole until it is edited; OK then asks for a shorter one.
    m_name->setMaxLength(std::max<int>(Cmacdoc::kNameLength, static_cast<int>(name.size())));
    m_name->setText(FromBytes(name));
    QString shown = FromBytes(text);
    shown.replace("\r\n", "\n");
    m_text->setPlainText(shown);
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->installEventFilter(this);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("Name"), 0, 0);
    grid->addWidget(m_name, 0, 1);
    grid->addWidget(new QLabel("Text"), 1, 0, Qt::AlignTop);
    grid->addWidget(m_text, 1, 1);
    grid->addWidget(new QLabel("Use Ctrl+ENTER for newline"), 2, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    resize(420, 260);
}

std::string Cmaced::name() const {
    return ToBytes(m_name->text());
}

std::string Cmaced::text() const {
    QString t = m_text->toPlainText();
    t.replace("\n", "\r\n");
    return ToBytes(t);
}

void Cmaced::accept() {
    if (m_name->text().size() > Cmacdoc::kNameLength) {
        ui().ShowMessage("Enter no more than " + std::to_string(Cmacdoc::kNameLength) + " characters.");
        m_name->setFocus();
        m_name->selectAll();
        return;
    }
    QDialog::accept();
}

// In the text, Enter alone presses "OK" and Ctrl+Enter starts a new line.
bool Cmaced::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_text && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (key->modifiers() & Qt::ControlModifier)
                m_text->insertPlainText("\n");
            else
                accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
