#pragma once

#include <map>
#include <ostream>
#include <string>

// Mirror fidelity: random editing operations, chosen as an operator would from the buttons that are
// enabled, run through the core against the controller emulator; after each one the emulator's
// RUN-LIST must equal the project's image (name-index words aside), the link must be idle and no
// message may have appeared that the operation does not expect. The arm moves between operations so
// that learned positions differ. The same seed runs the same operations.
struct MirrorRun {
    int operations = 0;
    std::map<std::string, int> kinds; // how often each kind of operation ran
    // What went wrong: the seed, the operation's number and text, the first differing offset.
    std::string failure;
};

// Starts the emulator and a new project and runs up to `count` operations, stopping at the first
// failure; each operation is written to `log` when one is given. False when the run could not start
// or an operation failed.
bool RunMirror(unsigned seed, int count, MirrorRun& run, std::ostream* log = nullptr);
