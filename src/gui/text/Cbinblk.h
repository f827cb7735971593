#pragma once

#include <QDialog>

class QLineEdit;

// "Binary block": the memory bank (0 to 3), the start address and the length (hexadecimal) of a
// range of the controller's memory. OK checks every field and keeps the dialog open on a bad one.
class Cbinblk : public QDialog {
    Q_OBJECT
public:
    static constexpr unsigned kMaxBank = 3;

    Cbinblk(unsigned bank, unsigned start, unsigned length, QWidget* parent = nullptr);

    unsigned bank() const { return m_bankValue; }
    unsigned start() const { return m_startValue; }
    unsigned length() const { return m_lengthValue; }

    void accept() override;

private:
    bool ReadBank();
    static bool ReadHex(QLineEdit* field, unsigned& value);
    static void Refocus(QLineEdit* field);

    QLineEdit* m_bank;
    QLineEdit* m_start;
    QLineEdit* m_length;
    unsigned m_bankValue;
    unsigned m_startValue;
    unsigned m_lengthValue;
};
