#pragma once

class CommandRegistry;

// "&Validate": checks the project's entry names and the words its .ed2 source defines against the
// controller's words and against each other, writes "conflicts.txt" beside the .ed2 and shows it in a
// text window, or says "No conflicts found".
void Validate();

// Binds "&Validate" (enabled while the project has a file and the link is ready) and the start-up
// step that loads the controller's word list.
void BindWordCheckCommands(CommandRegistry& registry);
