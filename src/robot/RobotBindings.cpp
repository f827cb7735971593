#include "robot/RobotBindings.h"

#include "robot/QtRobotUi.h"
#include "robot/RobotCommands.h"

void BindRobotCommands(CommandRegistry& registry) {
    static QtRobotUi windows;
    SetRobotUi(&windows);
    BindRobotActions(registry);
}
