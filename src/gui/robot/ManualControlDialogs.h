#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// The small windows shown while the arm is driven from the teach pad. They only show the current
// setting: the default button asks for a new one, "Escape" takes the arm back. Neither has a close
// box; a pad signal closes them like "Escape".
class ManualControlDialog : public QDialog {
    Q_OBJECT
public:
    QLineEdit* valueField() const { return m_value; }
    QPushButton* newValueButton() const { return m_newValue; }
    QPushButton* escapeButton() const { return m_escape; }

protected:
    ManualControlDialog(QWidget* parent, const QString& title, const QString& label, const QString& unit,
                        const QString& newValueText, const QString& value);

private:
    QLineEdit* m_value;
    QPushButton* m_newValue;
    QPushButton* m_escape;
};

// "Manual Joint Control": the teach speed (CREEP-FACTOR), "New Speed" and "Escape".
class Cteach : public ManualControlDialog {
    Q_OBJECT
public:
    Cteach(QWidget* parent, int creepFactor);
};

// "Jog (Manual Cartesian Control)": the jog step in millimetres, "New Increment" and "Escape".
class CJog : public ManualControlDialog {
    Q_OBJECT
public:
    // `increment` in tenths of a millimetre.
    CJog(QWidget* parent, int increment);
};
