#include "gui/robot/RobotBindings.h"

#include "core/robot/RobotCommands.h"
#include "gui/robot/QtRobotUi.h"

void BindRobotCommands(CommandRegistry& registry) {
    static QtRobotUi windows;
    SetRobotUi(&windows);
    BindRobotActions(registry);
}
