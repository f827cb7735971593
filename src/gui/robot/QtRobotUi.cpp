#include "gui/robot/QtRobotUi.h"

#include "gui/robot/Cjointed.h"
#include "gui/robot/ManualControlDialogs.h"
#include "gui/robot/ManualValueDialogs.h"

#include <QApplication>
#include <QMainWindow>
#include <QMetaObject>

QWidget* QtRobotUi::Parent() {
    return QApplication::activeWindow();
}

bool QtRobotUi::EditPosition(PositionRecord& record, const std::string& title, bool cartesian,
                             bool editable) {
    Cjointed dialog(Parent());
    dialog.values = record;
    dialog.cartesian = cartesian;
    dialog.editable = editable;
    dialog.title = QString::fromStdString(title);
    if (dialog.exec() != QDialog::Accepted || !editable)
        return false;
    record = dialog.values;
    return true;
}

RobotUi::ManualResult QtRobotUi::RunManual(QDialog& dialog) {
    m_manual = &dialog;
    const int result = dialog.exec();
    m_manual = nullptr;
    return result == QDialog::Accepted ? ManualResult::NewValue : ManualResult::Escape;
}

RobotUi::ManualResult QtRobotUi::ShowTeachWindow(int creepFactor) {
    Cteach dialog(Parent(), creepFactor);
    return RunManual(dialog);
}

RobotUi::ManualResult QtRobotUi::ShowJogWindow(int increment) {
    CJog dialog(Parent(), increment);
    return RunManual(dialog);
}

bool QtRobotUi::AskTeachSpeed(int& speed) {
    Ctchspd dialog(Parent(), speed);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    speed = dialog.speed;
    return true;
}

bool QtRobotUi::AskJogIncrement(float& millimetres) {
    CJogSpd dialog(Parent(), millimetres);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    millimetres = dialog.millimetres;
    return true;
}

void QtRobotUi::CloseManualWindow() {
    // Queued: the signal arrives inside the reply tracker, and the window must end from its own loop.
    if (m_manual)
        QMetaObject::invokeMethod(m_manual.data(), "reject", Qt::QueuedConnection);
}
