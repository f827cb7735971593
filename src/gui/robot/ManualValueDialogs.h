#pragma once

#include <QDialog>

class QLineEdit;
class QScrollBar;

// "Manual Control speed": the new teach speed, 1 to 255. The small scroll bar beside the field steps
// the typed value by one (up arrow adds, down arrow subtracts) and keeps it within the range.
class Ctchspd : public QDialog {
    Q_OBJECT
public:
    Ctchspd(QWidget* parent, int speed);

    int speed = 0;
    QLineEdit* valueField() const { return m_value; }
    QScrollBar* stepper() const { return m_stepper; }

public slots:
    void accept() override;

private:
    void Step(int action);

    QLineEdit* m_value;
    QScrollBar* m_stepper;
};

// "Jog Increment": the new jog step in millimetres, 0.1 to 25.5.
class CJogSpd : public QDialog {
    Q_OBJECT
public:
    CJogSpd(QWidget* parent, float millimetres);

    float millimetres = 0;
    QLineEdit* valueField() const { return m_value; }

public slots:
    void accept() override;

private:
    QLineEdit* m_value;
};
