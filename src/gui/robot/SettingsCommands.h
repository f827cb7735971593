#pragma once

class CommandRegistry;

// Binds the "&Settings" menu commands to the settings profile, makes the profile the arm description
// the exchanges use, and joins it to the application's start-up, close and exit.
void BindSettingsCommands(CommandRegistry& registry);
