#pragma once

class CommandRegistry;

// Binds the "&Project" menu commands (their enabling rules are the main window's, in CommandRules) to
// the project document and joins the project to the
// application's start-up (its remembered file name), close (its save question), exit and status bar.
void BindProjectCommands(CommandRegistry& registry);
