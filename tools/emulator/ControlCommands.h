#pragma once

#include "ConsoleModel.h"

#include <cstdint>
#include <string>

// What a control command asks of the program around the console.
struct ControlResult {
    enum class Action { None, Unplug, Replug, SetBaud, Reset, Quit };
    std::string text; // the answer, ending with a line "ok" or "error: ..."
    Action action = Action::None;
    int64_t value = 0; // unplug: milliseconds until the device comes back (0: not by itself); baud
};

// The control channel's commands: teach-pad signals, faults (silence, error answers, garbage, a dropped
// line) and state reports for tests and people. One command a line; see README.md for the list.
class ControlCommands {
public:
    explicit ControlCommands(ConsoleModel& console) : m_console(console) {}

    ControlResult Run(const std::string& line);

    // Bytes from "\r", "\n", "\t", "\e", "\\" and "\xHH" escapes in `text`.
    static std::string Unescape(const std::string& text);
    static std::string Flood(size_t count);
    static std::string Hex(const uint8_t* data, size_t length);

private:
    std::string State() const;
    std::string Dump(const std::string& arguments, bool& ok) const;
    std::string RunList(const std::string& arguments, bool& ok) const;
    std::string History(const std::string& arguments) const;
    std::string Garbage(const std::string& arguments, bool& ok);
    bool Set(const std::string& arguments);

    ConsoleModel& m_console;
    uint32_t m_garbageSeed = 12345;
};
