#pragma once

#include <QDialog>

#include <string>

class QLineEdit;

// The reserve-lines dialog of a route ("Route " + name): the number of lines to reserve, which "OK"
// takes only within the caller's lowest and highest counts.
class Carlines : public QDialog {
    Q_OBJECT
public:
    Carlines(const std::string& routeName, int reserve, int lowest, int highest, QWidget* parent = nullptr);

    int reserve() const { return m_reserve; }

    void accept() override;

private:
    QLineEdit* m_field;
    int m_lowest;
    int m_highest;
    int m_reserve;
};
