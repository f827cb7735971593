#include "gui/macros/Cmaclist.h"

#include "core/base/UiSeam.h"
#include "core/macros/Cmacdoc.h"
#include "gui/macros/Cmaced.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

Cmaclist::Cmaclist(Cmacdoc& macros, QWidget* parent)
    : QDialog(parent), m_macros(macros), m_list(new QListWidget) {
    setWindowTitle("Macros");
    m_list->setObjectName("list");
    auto* close = new QPushButton("Close");
    auto* add = new QPushButton("New");
    auto* edit = new QPushButton("Edit");
    auto* remove = new QPushButton("Delete");
    close->setDefault(true);
    close->setObjectName("close");
    add->setObjectName("new");
    edit->setObjectName("edit");
    remove->setObjectName("delete");
    for (QPushButton* b : {add, edit, remove})
        b->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(add, &QPushButton::clicked, this, &Cmaclist::New);
    connect(edit, &QPushButton::clicked, this, &Cmaclist::Edit);
    connect(remove, &QPushButton::clicked, this, &Cmaclist::Delete);
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        m_list->setCurrentItem(item);
        Edit();
    });

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {close, add, edit, remove})
        buttons->addWidget(b);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);

    Fill();
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
}

void Cmaclist::Fill() {
    m_list->clear();
    for (int i = 0; i < m_macros.count(); ++i) {
        const std::string& name = m_macros.name(i);
        m_list->addItem(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    }
    if (m_list->count() > 0)
        m_list->setCurrentRow(m_list->count() - 1);
}

int Cmaclist::selected() const {
    const QList<QListWidgetItem*> items = m_list->selectedItems();
    return items.isEmpty() ? -1 : m_list->row(items.first());
}

bool Cmaclist::RunEditor(std::string& name, std::string& text) {
    Cmaced editor(name, text, this);
    if (editor.exec() != QDialog::Accepted)
        return false;
    name = editor.name();
    text = editor.text();
    return true;
}

void Cmaclist::New() {
    std::string name, text;
    if (!RunEditor(name, text))
        return;
    m_macros.Append(name, text);
    Fill();
}

void Cmaclist::Edit() {
    const int i = selected();
    if (i < 0 || i >= m_macros.count())
        return;
    std::string name = m_macros.name(i);
    std::string text = m_macros.text(i);
    if (!RunEditor(name, text))
        return;
    m_macros.Replace(i, name, text);
    Fill();
    m_list->setCurrentRow(i);
}

void Cmaclist::Delete() {
    const int i = selected();
    if (i < 0 || i >= m_macros.count())
        return;
    if (ui().AskYesNo("Do you wish to delete macro " + m_macros.name(i)) != Answer::Yes)
        return;
    m_macros.Remove(i);
    Fill();
}
