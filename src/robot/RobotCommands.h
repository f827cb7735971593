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

// One Robot menu or toolbar command: its id, the word it sends (empty for the commands that run a
// dialog) and its status-bar prompt (empty when it has none).
struct RobotCommandInfo {
    int id;
    const char* word;
    const char* prompt;
};
const std::vector<RobotCommandInfo>& RobotCommandTable();
// The status-bar prompt of a Robot command, or nullptr when the id is not one of them.
const char* RobotCommandPrompt(int id);

// Binds every Robot command to its action, enabled only while the link is ready.
void BindRobotActions(CommandRegistry& registry);
