#pragma once

#include "ConsoleModel.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// What a control command asks of the program around the console.
struct ControlResult {
    enum class Action { None, Unplug, Replug, SetBaud, Reset, Quit, After };
    std::string text; // the answer, ending with a line "ok" or "error: ..."
    Action action = Action::None;
    // unplug: milliseconds until the device comes back (0: not by itself); baud; after: the byte count
    int64_t value = 0;
    std::string command; // after: the command to run once that many bytes have come from the PC
};

// The control channel's commands: teach-pad signals, faults (silence, error answers, garbage, a dropped
// line) and state reports for tests and people. One command a line; see README.md for the list.
class ControlCommands {
public:
    explicit ControlCommands(ConsoleModel& console);
    ControlCommands(const ControlCommands&) = delete;
    ControlCommands& operator=(const ControlCommands&) = delete;

    ControlResult Run(const std::string& line);

    // Bytes from "\r", "\n", "\t", "\e", "\\" and "\xHH" escapes in `text`.
    static std::string Unescape(const std::string& text);
    static std::string Flood(size_t count);
    static std::string Hex(const uint8_t* data, size_t length);

private:
    // A command's action: true when its arguments were right; it may fill the result's text and action.
    using Handler = std::function<bool(const std::string& arguments, ControlResult& result)>;
    struct Command {
        std::string name;
        std::string usage;
        Handler handler;
    };

    void Add(const std::string& name, const std::string& usage, Handler handler);
    void AddFaultCommands();
    void AddLinkCommands();
    void AddReportCommands();
    std::string State() const;
    std::string Dump(const std::string& arguments, bool& ok) const;
    std::string RunList(const std::string& arguments, bool& ok) const;
    std::string History(const std::string& arguments) const;
    std::string Garbage(size_t count);
    bool Set(const std::string& arguments);

    ConsoleModel& m_console;
    std::vector<Command> m_commands;
    uint32_t m_garbageSeed = 12345;
};
