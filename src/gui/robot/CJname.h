#pragma once

#include <QDialog>
#include <array>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;

// The names dialog of the joints or the Cartesian axes: "Number of axes" (1 to 6) and one name of at
// most 8 characters per axis. Rows beyond the count are hidden while the count is typed. The names
// are kept as the settings file holds them, one byte per character in Latin-1, so a name takes no
// more than 8 bytes there and characters outside Latin-1 are refused.
class CJname : public QDialog {
    Q_OBJECT
public:
    static constexpr int kSlots = 7;
    static constexpr int kMaxCount = 6;
    static constexpr int kMaxNameLength = 8;

    CJname(const QString& title, int count, const std::vector<std::string>& names, QWidget* parent = nullptr);

    int count() const { return m_count; }
    // The names of rows 1 to count, in Latin-1.
    std::vector<std::string> names() const;

    void accept() override;

private:
    void CountEdited(const QString& text);
    void ShowRows(int count);
    // Refuses the dialog's values with a message and puts the focus on the field at fault.
    bool Refuse(QLineEdit* field, const std::string& message);

    QLineEdit* m_countEdit;
    std::array<QLabel*, kSlots> m_labels{};
    std::array<QLineEdit*, kSlots> m_nameEdits{};
    int m_count;
};
