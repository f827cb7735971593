#pragma once

class CommandRegistry;

// Installs the robot windows and binds the commands of the "Robot" menu and the main toolbar.
void BindRobotCommands(CommandRegistry& registry);
