#pragma once

#include <QDialog>

class Cmacdoc;
class QListWidget;

// "Macros": the names of the macro set in order, with "New", "Edit" and "Delete". Every change goes
// straight into the set and marks it modified; saving is a command of its own.
class Cmaclist : public QDialog {
    Q_OBJECT
public:
    explicit Cmaclist(Cmacdoc& macros, QWidget* parent = nullptr);

    void New();
    void Edit();
    void Delete();

private:
    // Lists every name and selects the last one.
    void Fill();
    int selected() const;
    // Runs "Edit Macro"; false when cancelled.
    bool RunEditor(std::string& name, std::string& text);

    Cmacdoc& m_macros;
    QListWidget* m_list;
};
