#pragma once

#include <vector>

class CommandRegistry;

// The commands of the "Robot" menu and the main toolbar: position displays, typed moves, the single
// words, the gripper toggle, teach pad and jog. Each runs one short exchange with the controller
// and keeps nothing afterwards: the controller's modes and the gripper state are asked, not stored.

void ShowJointPosition();
void ShowCartesianPosition();
void JointAbsoluteMove();
void JointRelativeMove();
void CartesianAbsoluteMove();
void CartesianRelativeMove();
void GripToggle();

// One Robot menu or toolbar command: its id and the word it sends (empty for the commands that run
// a dialog or an exchange of their own).
struct RobotCommandInfo {
    int id;
    const char* word;
};
const std::vector<RobotCommandInfo>& RobotCommandTable();

// Binds every Robot command to its action, enabled only while the link is ready.
void BindRobotActions(CommandRegistry& registry);
