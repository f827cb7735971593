#pragma once

#include <QDialog>

#include <string>

class QLineEdit;

// "Route Function": the name of a controller word (at most 8 characters) and its integer parameter,
// for a function line of a route. An empty name is accepted; the caller treats it as no function.
class Croutcode : public QDialog {
    Q_OBJECT
public:
    // The parameter goes into one 16-bit value of the line: signed or unsigned, as the word reads it.
    static constexpr long kMinParameter = -32768;
    static constexpr long kMaxParameter = 65535;
    static constexpr int kMaxWordLength = 8;

    Croutcode(const std::string& word, int parameter, QWidget* parent = nullptr);

    const std::string& word() const { return m_word; }
    int parameter() const { return m_parameter; }

    void accept() override;

private:
    QLineEdit* m_wordField;
    QLineEdit* m_parameterField;
    std::string m_word;
    int m_parameter;
};
