#pragma once

class CMainFrame;
class CommandRegistry;

// Binds the commands of every subsystem, fills the application hooks and registers the window kinds.
// Called once by the application when the main window exists.
void BindAllCommands(CommandRegistry& registry, CMainFrame& frame);
