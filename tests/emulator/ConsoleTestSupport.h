#pragma once

#include "ConsoleModel.h"

#include <string>

// Sends one command line (CR appended) to the console and returns everything it answered.
inline std::string RunLine(ConsoleModel& console, const std::string& line) {
    console.Feed(line + "\r");
    return console.TakeOutput();
}

// The number that `line` prints, the line run in decimal: what follows the echo of the line.
inline int Printed(ConsoleModel& console, const std::string& line) {
    const std::string command = "DECIMAL " + line;
    return std::stoi(RunLine(console, command).substr(command.size()));
}
