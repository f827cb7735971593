#include "gui/text/CFindReplaceDlg.h"

#include "core/base/UiSeam.h"
#include "gui/text/TextSearch.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

CFindReplaceDlg::CFindReplaceDlg(QPlainTextEdit& edit, bool replace)
    : QDialog(&edit), m_edit(edit), m_what(new QLineEdit(this)),
      m_matchCase(new QCheckBox("Match &case", this)), m_findNext(new QPushButton("&Find Next", this)) {
    setWindowTitle(replace ? "Replace" : "Find");
    setModal(false);
    const TextSearch& search = textSearch();
    const QString selected = edit.textCursor().selectedText();
    m_what->setText(selected.isEmpty() || selected.contains(QChar::ParagraphSeparator) ? search.what
                                                                                       : selected);
    m_matchCase->setChecked(search.matchCase);

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel("Fi&nd what:", this), 0, 0);
    fields->addWidget(m_what, 0, 1);
    auto* buttons = new QVBoxLayout;
    m_findNext->setDefault(true);
    buttons->addWidget(m_findNext);
    connect(m_findNext, &QPushButton::clicked, this, &CFindReplaceDlg::FindNext);
    if (replace) {
        m_with = new QLineEdit(search.with, this);
        fields->addWidget(new QLabel("Re&place with:", this), 1, 0);
        fields->addWidget(m_with, 1, 1);
        m_replace = new QPushButton("&Replace", this);
        m_replaceAll = new QPushButton("Replace &All", this);
        buttons->addWidget(m_replace);
        buttons->addWidget(m_replaceAll);
        connect(m_replace, &QPushButton::clicked, this, &CFindReplaceDlg::Replace);
        connect(m_replaceAll, &QPushButton::clicked, this, &CFindReplaceDlg::ReplaceAll);
    }
    fields->addWidget(m_matchCase, 2, 0, 1, 2);
    if (!replace) {
        auto* direction = new QGroupBox("Direction", this);
        auto* row = new QHBoxLayout(direction);
        m_up = new QRadioButton("&Up", direction);
        auto* down = new QRadioButton("&Down", direction);
        (search.down ? down : m_up)->setChecked(true);
        row->addWidget(m_up);
        row->addWidget(down);
        fields->addWidget(direction, 3, 0, 1, 2);
    }
    auto* cancel = new QPushButton("Cancel", this);
    buttons->addWidget(cancel);
    buttons->addStretch();
    connect(cancel, &QPushButton::clicked, this, &QDialog::close);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    connect(m_what, &QLineEdit::textChanged, this, &CFindReplaceDlg::UpdateButtons);
    UpdateButtons();
}

void CFindReplaceDlg::TakeFields() {
    TextSearch& search = textSearch();
    search.what = m_what->text();
    if (m_with)
        search.with = m_with->text();
    search.matchCase = m_matchCase->isChecked();
    search.down = !m_up || !m_up->isChecked();
}

void CFindReplaceDlg::UpdateButtons() {
    const bool any = !m_what->text().isEmpty();
    m_findNext->setEnabled(any);
    if (m_replace) {
        m_replace->setEnabled(any);
        m_replaceAll->setEnabled(any);
    }
}

void CFindReplaceDlg::NotFound() {
    ui().ShowMessage("Cannot find \"" + textSearch().what.toStdString() + "\"");
}

void CFindReplaceDlg::FindNext() {
    TakeFields();
    if (!textSearch().FindNext(m_edit))
        NotFound();
}

void CFindReplaceDlg::Replace() {
    TakeFields();
    if (!textSearch().ReplaceCurrent(m_edit))
        NotFound();
}

void CFindReplaceDlg::ReplaceAll() {
    TakeFields();
    if (textSearch().ReplaceAll(m_edit) == 0)
        NotFound();
}
