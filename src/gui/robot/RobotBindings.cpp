#include "gui/robot/RobotBindings.h"

#include "core/robot/RobotCommands.h"
#include "gui/robot/QtRobotUi.h"

void BindRobotCommands(CommandRegistry& registry) {
    BindRobotActions(registry);
}

RobotUi& robotWindows() {
    static QtRobotUi windows;
    return windows;
}
