#pragma once

class CommandRegistry;

// Binds the "&Project" menu commands to the project document (their enabling rules are in
// CommandRules) and joins the project to the application's start-up (its remembered file name), close
// (its save question), exit and status bar.
void BindProjectCommands(CommandRegistry& registry);
