#pragma once

class CMainFrame;
class CommandRegistry;

// The main window's own commands: "&About MARLIX...", "E&xit", "P&rint Setup", the View and Window
// items, F6/Shift+F6, and the commands the active window handles itself (File "&Close", "&Save",
// "Save &As...", "&Download Current", "&Print", the Edit items, "&Font...", the toolbar's "&Save").
void BindAppCommands(CommandRegistry& registry, CMainFrame& frame);
