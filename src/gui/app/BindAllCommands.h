#pragma once

#include "core/base/Screen.h"

class CMainFrame;
class CommandRegistry;
class QtUi;

// Binds the commands of every subsystem, fills the application hooks, registers the window kinds and
// has the project's windows follow the project. Called once by the application when the main window
// exists.
void BindAllCommands(CommandRegistry& registry, CMainFrame& frame);

// The program's screen as the core sees it: `ui` with the robot dialogs and the text windows that
// BindAllCommands made. The application installs it (InstallScreen) once the commands are bound.
Screen ProgramScreen(QtUi& ui);
