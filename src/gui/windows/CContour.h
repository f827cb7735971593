#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;

// "Contour function": one of the contour functions of a generator route (ARA, SDP, LIN, INC, in code
// order) and its two real parameters, which must fit a line's tenths. A code with no function starts
// with nothing chosen, and "OK" then asks for a choice.
class CContour : public QDialog {
    Q_OBJECT
public:
    // The parameters are kept in tenths in one signed 16-bit value each.
    static constexpr float kMinParameter = -3276.8f;
    static constexpr float kMaxParameter = 3276.7f;

    CContour(int code, double a, double b, QWidget* parent = nullptr);

    int code() const { return m_code; }
    double a() const { return m_a; }
    double b() const { return m_b; }

    void accept() override;

private:
    QComboBox* m_function;
    QLineEdit* m_aField;
    QLineEdit* m_bField;
    int m_code;
    double m_a;
    double m_b;
};
