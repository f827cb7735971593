#pragma once

class CommandRegistry;
class RobotUi;

// Binds the commands of the "Robot" menu and the main toolbar.
void BindRobotCommands(CommandRegistry& registry);

// The program's robot windows (the position dialog, the teach pad and jog windows), a seam of the
// program's screen.
RobotUi& robotWindows();
