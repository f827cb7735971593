#pragma once

#include <QDialog>

#include <string>

class QLineEdit;
class QPlainTextEdit;

// "Edit Macro": a macro's name (at most 32 characters) and its text. Enter presses "OK"; Ctrl+Enter
// starts a new line in the text. The text comes in and goes out with CR LF line ends.
class Cmaced : public QDialog {
    Q_OBJECT
public:
    Cmaced(const std::string& name, const std::string& text, QWidget* parent = nullptr);

    std::string name() const;
    std::string text() const;

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* m_name;
    QPlainTextEdit* m_text;
};
