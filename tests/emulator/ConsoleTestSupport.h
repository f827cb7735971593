#pragma once

#include "ConsoleModel.h"

#include <string>

// Sends one command line (CR appended) to the console and returns everything it answered.
inline std::string RunLine(ConsoleModel& console, const std::string& line) {
    console.Feed(line + "\r");
    return console.TakeOutput();
}

// The answer cut out of a reply line the way the PC's query does: the line before the prompt, less the
// echo of the command, two separator characters and the final "OK". Empty when there is no answer area.
inline std::string QueryAnswer(const std::string& command, const std::string& reply) {
    size_t lineEnd = reply.rfind("\r\n>");
    if (lineEnd == std::string::npos)
        return {};
    std::string line = reply.substr(0, lineEnd);
    long length = long(line.size()) - long(command.size()) - 4;
    if (length <= 0)
        return {};
    return line.substr(command.size() + 2, size_t(length));
}
