#pragma once

#include "core/protocol/PositionRecord.h"

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

// The position dialog ("Edit Joint Position"): up to six rows of axis name, value and unit. In the
// joint layout the values are whole controller units; in the Cartesian layout they are shown and
// entered in millimetres and degrees with one decimal and kept in tenths. Display only: no "OK",
// "Close" instead of "Cancel" and read-only fields. The row count and the names come from the arm
// profile when the dialog is shown.
class Cjointed : public QDialog {
    Q_OBJECT
public:
    static constexpr int kRows = 6;

    explicit Cjointed(QWidget* parent = nullptr);

    PositionRecord values;
    bool cartesian = false;
    bool editable = true;
    QString title;

    QLineEdit* field(int row) const { return m_fields[row]; }
    QLabel* nameLabel(int row) const { return m_names[row]; }
    QLabel* unitLabel(int row) const { return m_units[row]; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

    void setVisible(bool visible) override;

public slots:
    // "OK": every shown row must hold a valid number in its range; the first that does not is
    // reported and keeps the focus, and the dialog stays open.
    void accept() override;

private:
    void Prepare();
    int RowCount() const;
    bool TakeRow(int row, std::int16_t& value);
    void Refuse(int row, const std::string& message);

    QLabel* m_names[kRows];
    QLineEdit* m_fields[kRows];
    QLabel* m_units[kRows];
    QPushButton* m_ok;
    QPushButton* m_cancel;
};
