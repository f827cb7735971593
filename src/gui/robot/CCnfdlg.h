#pragma once

#include <QDialog>

class QCheckBox;

// The "Configuration" dialog: whether the controller is simulated and whether source downloads run in
// hide mode. The settings profile applies the result.
class CCnfdlg : public QDialog {
    Q_OBJECT
public:
    CCnfdlg(bool simulate, bool hideMode, QWidget* parent = nullptr);

    bool simulate() const;
    bool hideMode() const;

private:
    QCheckBox* m_simulate;
    QCheckBox* m_hideMode;
};
