#pragma once

#include <QDialog>

#include <string>

class QLineEdit;

// The name dialog of places and routes ("Name"): one field of at most 8 characters. "OK" refuses an
// empty name and the name of another entry of the project, and keeps the dialog open; the name it
// started from is always accepted.
class CEname : public QDialog {
    Q_OBJECT
public:
    CEname(const std::string& name, const QString& title, QWidget* parent = nullptr);

    // The accepted name; the starting name until "OK" succeeds.
    const std::string& name() const { return m_name; }

    void accept() override;

private:
    QLineEdit* m_edit;
    std::string m_start;
    std::string m_name;
};
