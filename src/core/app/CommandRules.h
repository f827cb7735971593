#pragma once

class CommandRegistry;

// What the enabling rules of the project, file, settings, macro and console commands look at.
struct CommandFacts {
    bool linkReady = false;    // the link is open and the controller waits for a command
    bool projectNamed = false; // the project has a file name
    bool projectModified = false;
    bool macrosNamed = false; // the macro set has a file name
    bool macrosModified = false;
    int macroCount = 0;
    bool settingsModified = false;
    bool consoleOpen = false; // the terminal has its console text
};

// The facts as the documents and the link stand now.
CommandFacts CurrentCommandFacts();

// Whether command `id` is enabled given `facts`; a command that none of them concerns is not held back.
bool CommandEnabled(int id, const CommandFacts& facts);

// Holds every command of `registry` to CommandEnabled on the facts of the moment, on top of the
// command's own rule, wherever it is asked (menus, bars, keys, other programs).
void UseCommandRules(CommandRegistry& registry);
