#pragma once

class CMainFrame;
class CommandRegistry;

// The "&Macro" menu, the ten macro bar buttons and the macro set's part in start-up and exit.
void BindMacroCommands(CommandRegistry& registry, CMainFrame& frame);

// Shows the macro bar's buttons as the set stands: button i carries the name of macro i, or is empty
// when the set has fewer macros. Enabling follows the command rules.
void RefreshMacroBar(CMainFrame& frame);
