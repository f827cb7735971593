#include "ControlCommands.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace {
std::string Ok(const std::string& text = {}) {
    return text + "ok\n";
}
std::string Error(const std::string& text) {
    return "error: " + text + "\n";
}

std::string Join(const AxisValues& values) {
    std::string out;
    for (int16_t v : values)
        out += (out.empty() ? "" : " ") + std::to_string(v);
    return out;
}

bool ParseUnsigned(const std::string& text, unsigned long& value) {
    if (text.empty())
        return false;
    char* end = nullptr;
    value = std::strtoul(text.c_str(), &end, 0);
    return *end == '\0';
}

const char* ModeName(ConsoleModel::Mode mode) {
    switch (mode) {
    case ConsoleModel::Mode::Teach:
        return "teach";
    case ConsoleModel::Mode::Jog:
        return "jog";
    default:
        return "normal";
    }
}
} // namespace

ControlCommands::ControlCommands(ConsoleModel& console) : m_console(console) {
    AddFaultCommands();
    AddLinkCommands();
    AddReportCommands();
}

void ControlCommands::Add(const std::string& name, const std::string& usage, Handler handler) {
    m_commands.push_back({name, usage, std::move(handler)});
}

ControlResult ControlCommands::Run(const std::string& line) {
    std::istringstream in(line);
    std::string name;
    in >> name;
    std::string arguments;
    std::getline(in >> std::ws, arguments);
    ControlResult result;
    if (name.empty()) {
        result.text = Ok();
        return result;
    }
    if (name == "help") {
        std::string usages;
        for (const Command& command : m_commands)
            usages += command.usage + "\n";
        result.text = Ok(usages);
        return result;
    }
    for (const Command& command : m_commands) {
        if (command.name != name)
            continue;
        if (command.handler(arguments, result)) {
            result.text = Ok(result.text);
        } else {
            result = ControlResult{};
            result.text = Error(command.usage);
        }
        return result;
    }
    result.text = Error("unknown command " + name + " (try help)");
    return result;
}

void ControlCommands::AddFaultCommands() {
    Add("signal", "signal learn|drop", [this](const std::string& arguments, ControlResult&) {
        bool learn = arguments == "learn" || arguments == "$";
        bool drop = arguments == "drop" || arguments == "%";
        if (learn || drop)
            m_console.PadSignal(learn);
        return learn || drop;
    });
    Add("silent", "silent on|off", [this](const std::string& arguments, ControlResult&) {
        if (arguments != "on" && arguments != "off")
            return false;
        m_console.SetSilent(arguments == "on");
        return true;
    });
    Add("errors", "errors N", [this](const std::string& arguments, ControlResult&) {
        unsigned long count = 0;
        if (!ParseUnsigned(arguments, count))
            return false;
        m_console.FailNextLines(int(count));
        return true;
    });
    Add("garbage", "garbage N", [this](const std::string& arguments, ControlResult&) {
        unsigned long count = 0;
        if (!ParseUnsigned(arguments, count) || count > 100000000)
            return false;
        m_console.Emit(Garbage(count));
        return true;
    });
    Add("flood", "flood N", [this](const std::string& arguments, ControlResult&) {
        unsigned long count = 0;
        if (!ParseUnsigned(arguments, count) || count > 100000000)
            return false;
        m_console.Emit(Flood(count));
        return true;
    });
    Add("send", "send TEXT", [this](const std::string& arguments, ControlResult&) {
        m_console.Emit(Unescape(arguments));
        return true;
    });
    Add("movetime", "movetime MILLISECONDS", [this](const std::string& arguments, ControlResult&) {
        unsigned long milliseconds = 0;
        if (!ParseUnsigned(arguments, milliseconds) || milliseconds > 3600000)
            return false;
        m_console.SetMoveTime(int(milliseconds));
        return true;
    });
}

void ControlCommands::AddLinkCommands() {
    Add("unplug", "unplug [MILLISECONDS]", [](const std::string& arguments, ControlResult& result) {
        unsigned long milliseconds = 0;
        if (!arguments.empty() && !ParseUnsigned(arguments, milliseconds))
            return false;
        result.action = ControlResult::Action::Unplug;
        result.value = int64_t(milliseconds);
        return true;
    });
    Add("replug", "replug", [](const std::string&, ControlResult& result) {
        result.action = ControlResult::Action::Replug;
        return true;
    });
    Add("baud", "baud N", [](const std::string& arguments, ControlResult& result) {
        unsigned long baud = 0;
        if (!ParseUnsigned(arguments, baud) || baud > 10000000)
            return false;
        result.action = ControlResult::Action::SetBaud;
        result.value = int64_t(baud);
        return true;
    });
    Add("reset", "reset", [](const std::string&, ControlResult& result) {
        result.action = ControlResult::Action::Reset;
        return true;
    });
    // A fault in the middle of an exchange: the command runs once N more bytes have come from the PC.
    Add("after", "after N COMMAND", [](const std::string& arguments, ControlResult& result) {
        std::istringstream in(arguments);
        std::string countText;
        in >> countText;
        unsigned long count = 0;
        std::getline(in >> std::ws, result.command);
        if (!ParseUnsigned(countText, count) || count == 0 || result.command.empty() ||
            result.command.rfind("after", 0) == 0)
            return false;
        result.action = ControlResult::Action::After;
        result.value = int64_t(count);
        return true;
    });
    Add("quit", "quit", [](const std::string&, ControlResult& result) {
        result.action = ControlResult::Action::Quit;
        return true;
    });
}

void ControlCommands::AddReportCommands() {
    Add("state", "state", [this](const std::string&, ControlResult& result) {
        result.text = State();
        return true;
    });
    Add("var", "var VARIABLE", [this](const std::string& arguments, ControlResult& result) {
        auto value = m_console.VariableValue(arguments);
        if (value)
            result.text = std::to_string(*value) + "\n";
        return value.has_value();
    });
    Add("set", "set joints|cartesian V1 .. V6, or set VARIABLE VALUE",
        [this](const std::string& arguments, ControlResult&) { return Set(arguments); });
    Add("dump", "dump BANK START LENGTH", [this](const std::string& arguments, ControlResult& result) {
        bool ok = false;
        result.text = Dump(arguments, ok);
        return ok;
    });
    Add("runlist", "runlist [masked]", [this](const std::string& arguments, ControlResult& result) {
        bool ok = false;
        result.text = RunList(arguments, ok);
        return ok;
    });
    Add("words", "words", [this](const std::string&, ControlResult& result) {
        for (const Word& word : m_console.Dictionary().Words())
            result.text += (result.text.empty() ? "" : " ") + word.name;
        result.text += "\n";
        return true;
    });
    Add("history", "history [N]", [this](const std::string& arguments, ControlResult& result) {
        result.text = History(arguments);
        return true;
    });
}

std::string ControlCommands::State() const {
    const ArmState& arm = m_console.Arm();
    std::ostringstream out;
    auto variable = [this](const char* name) { return m_console.VariableValue(name).value_or(0); };
    out << "joints " << Join(arm.Joints()) << "\n";
    out << "cartesian " << Join(arm.Cartesian()) << "\n";
    out << "mode " << ModeName(m_console.CurrentMode()) << "\n";
    out << "prompt-only " << (m_console.PromptOnly() ? 1 : 0) << "\n";
    out << "transfer " << (m_console.TransferActive() ? 1 : 0) << "\n";
    out << "silent " << (m_console.Silent() ? 1 : 0) << "\n";
    out << "started " << (arm.Started() ? 1 : 0) << "\n";
    out << "calibrated " << (arm.Calibrated() ? 1 : 0) << "\n";
    out << "path " << arm.PathMode() << "\n";
    out << "grip " << variable("FGRIP") << "\n";
    out << "cartmode " << variable("CARTMODE") << "\n";
    out << "creep-factor " << variable("CREEP-FACTOR") << "\n";
    out << "incr " << variable("INCR") << "\n";
    out << "bank " << variable("BANK") << "\n";
    out << "next " << variable("NEXT") << "\n";
    out << "end " << m_console.RunList().End() << "\n";
    out << "lines " << m_console.History().size() << "\n";
    return out.str();
}

std::string ControlCommands::Dump(const std::string& arguments, bool& ok) const {
    std::istringstream in(arguments);
    std::string bankText, startText, lengthText;
    in >> bankText >> startText >> lengthText;
    unsigned long bank = 0, start = 0, length = 0;
    ok = ParseUnsigned(bankText, bank) && ParseUnsigned(startText, start) &&
         ParseUnsigned(lengthText, length) && bank < EmulatorMemory::kBankCount &&
         start + length <= EmulatorMemory::kBankSize;
    if (!ok)
        return {};
    return Hex(m_console.Memory().Bank(int(bank)) + start, length) + "\n";
}

// The RUN-LIST up to and including the word at NEXT, the length the upload would send and compare.
// "masked" writes the name-index words of the entries as 0: the PC keeps its own numbering there.
std::string ControlCommands::RunList(const std::string& arguments, bool& ok) const {
    ok = arguments.empty() || arguments == "masked";
    if (!ok)
        return {};
    uint16_t next = m_console.RunList().Next();
    const uint8_t* bank = m_console.Memory().Bank(RunListStore::kBank);
    std::vector<uint8_t> bytes(bank, bank + std::min<size_t>(size_t(next) + 2, EmulatorMemory::kBankSize));
    if (arguments == "masked") {
        const RunListStore& list = m_console.RunList();
        for (uint32_t e = RunListStore::kHeadLink; list.Link(uint16_t(e)) > e && e + 3 < bytes.size();
             e = list.Link(uint16_t(e)))
            bytes[e + 2] = bytes[e + 3] = 0;
    }
    return std::to_string(next) + " " + Hex(bytes.data(), bytes.size()) + "\n";
}

std::string ControlCommands::History(const std::string& arguments) const {
    const auto& lines = m_console.History();
    unsigned long count = lines.size();
    if (!arguments.empty())
        ParseUnsigned(arguments, count);
    std::string out;
    for (size_t i = lines.size() - std::min<size_t>(count, lines.size()); i < lines.size(); ++i)
        out += lines[i] + "\n";
    return out;
}

std::string ControlCommands::Garbage(size_t count) {
    std::string bytes;
    bytes.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        m_garbageSeed = m_garbageSeed * 1103515245u + 12345u;
        bytes.push_back(char((m_garbageSeed >> 16) & 0xFF));
    }
    return bytes;
}

bool ControlCommands::Set(const std::string& arguments) {
    std::istringstream in(arguments);
    std::string what;
    in >> what;
    if (what == "joints" || what == "cartesian") {
        AxisValues values{};
        for (auto& v : values)
            if (!(in >> v))
                return false;
        m_console.Arm().MoveTo(values, what == "cartesian");
        return true;
    }
    long value = 0;
    if (!(in >> value) || !m_console.VariableValue(what))
        return false;
    m_console.SetVariable(what, int(value));
    return true;
}

// Printable console text: numbered lines of 64 characters ending in CR LF, cut at `count` bytes.
std::string ControlCommands::Flood(size_t count) {
    std::string text;
    text.reserve(count + 80);
    for (size_t line = 0; text.size() < count; ++line) {
        std::string number = std::to_string(line);
        text += number + " " + std::string(64 - number.size() - 1, char('A' + line % 26)) + "\r\n";
    }
    text.resize(count);
    return text;
}

std::string ControlCommands::Unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 >= text.size()) {
            out.push_back(text[i]);
            continue;
        }
        char c = text[++i];
        if (c == 'r')
            out.push_back('\r');
        else if (c == 'n')
            out.push_back('\n');
        else if (c == 't')
            out.push_back('\t');
        else if (c == 'e')
            out.push_back('\x1b');
        else if (c == 'x' && i + 1 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1]))) {
            size_t used = 0;
            std::string digits = text.substr(i + 1, 2);
            out.push_back(char(std::stoi(digits, &used, 16)));
            i += used;
        } else
            out.push_back(c);
    }
    return out;
}

std::string ControlCommands::Hex(const uint8_t* data, size_t length) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(length * 2);
    for (size_t i = 0; i < length; ++i) {
        out.push_back(digits[data[i] >> 4]);
        out.push_back(digits[data[i] & 15]);
    }
    return out;
}
