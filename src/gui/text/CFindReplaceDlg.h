#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

// The "Find" and "Replace" boxes of a text window: modeless, so the operator can go on editing while
// one is up. They work on the program's one TextSearch.
class CFindReplaceDlg : public QDialog {
    Q_OBJECT
public:
    CFindReplaceDlg(QPlainTextEdit& edit, bool replace);

    QLineEdit* whatField() const { return m_what; }
    QLineEdit* withField() const { return m_with; }

    void FindNext();
    void Replace();
    void ReplaceAll();

private:
    void TakeFields();
    void UpdateButtons();
    void NotFound();

    QPlainTextEdit& m_edit;
    QLineEdit* m_what;
    QLineEdit* m_with = nullptr;
    QCheckBox* m_matchCase;
    QRadioButton* m_up = nullptr;
    QPushButton* m_findNext;
    QPushButton* m_replace = nullptr;
    QPushButton* m_replaceAll = nullptr;
};
