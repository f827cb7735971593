#pragma once

#include "core/robot/RobotUi.h"

#include <QPointer>

class QDialog;
class QWidget;

// The robot windows of the running program: the position dialog and the teach pad and jog windows,
// each modal over the active window.
class QtRobotUi : public RobotUi {
public:
    bool EditPosition(PositionRecord& record, const std::string& title, bool cartesian,
                      bool editable) override;
    ManualResult ShowTeachWindow(int creepFactor) override;
    bool AskTeachSpeed(int& speed) override;
    ManualResult ShowJogWindow(int increment) override;
    bool AskJogIncrement(float& millimetres) override;
    void CloseManualWindow() override;

private:
    static QWidget* Parent();
    ManualResult RunManual(QDialog& dialog);

    QPointer<QDialog> m_manual;
};
