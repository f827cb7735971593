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

ControlResult ControlCommands::Run(const std::string& line) {
    std::istringstream in(line);
    std::string command;
    in >> command;
    std::string arguments;
    std::getline(in >> std::ws, arguments);
    ControlResult result;
    bool ok = true;
    unsigned long number = 0;
    if (command.empty()) {
        result.text = Ok();
    } else if (command == "help") {
        result.text = Ok("signal learn|drop | silent on|off | errors N | garbage N | flood N | send TEXT | "
                         "movetime MS | unplug [MS] | "
                         "replug | baud N | state | var NAME | set joints|cartesian V... | set NAME VALUE | "
                         "dump BANK START LENGTH | runlist [masked] | words | history [N] | reset | quit\n");
    } else if (command == "signal") {
        if (arguments == "learn" || arguments == "$")
            m_console.Emit("$");
        else if (arguments == "drop" || arguments == "%")
            m_console.Emit("%");
        else
            ok = false;
        result.text = ok ? Ok() : Error("signal learn or signal drop");
    } else if (command == "silent") {
        ok = arguments == "on" || arguments == "off";
        if (ok)
            m_console.SetSilent(arguments == "on");
        result.text = ok ? Ok() : Error("silent on or silent off");
    } else if (command == "errors") {
        ok = ParseUnsigned(arguments, number);
        if (ok)
            m_console.FailNextLines(int(number));
        result.text = ok ? Ok() : Error("errors N");
    } else if (command == "garbage") {
        std::string text = Garbage(arguments, ok);
        result.text = ok ? Ok(text) : Error("garbage N");
    } else if (command == "flood") {
        ok = ParseUnsigned(arguments, number) && number <= 100000000;
        if (ok)
            m_console.Emit(Flood(number));
        result.text = ok ? Ok() : Error("flood N");
    } else if (command == "movetime") {
        ok = ParseUnsigned(arguments, number) && number <= 3600000;
        if (ok)
            m_console.SetMoveTime(int(number));
        result.text = ok ? Ok() : Error("movetime MILLISECONDS");
    } else if (command == "send") {
        m_console.Emit(Unescape(arguments));
        result.text = Ok();
    } else if (command == "unplug") {
        ok = arguments.empty() || ParseUnsigned(arguments, number);
        result.action = ok ? ControlResult::Action::Unplug : ControlResult::Action::None;
        result.value = int64_t(number);
        result.text = ok ? Ok() : Error("unplug [milliseconds]");
    } else if (command == "replug") {
        result.action = ControlResult::Action::Replug;
        result.text = Ok();
    } else if (command == "baud") {
        ok = ParseUnsigned(arguments, number);
        result.action = ok ? ControlResult::Action::SetBaud : ControlResult::Action::None;
        result.value = int64_t(number);
        result.text = ok ? Ok() : Error("baud N");
    } else if (command == "state") {
        result.text = Ok(State());
    } else if (command == "var") {
        auto value = m_console.VariableValue(arguments);
        result.text = value ? Ok(std::to_string(*value) + "\n") : Error("no variable " + arguments);
    } else if (command == "set") {
        result.text = Set(arguments) ? Ok() : Error("set joints|cartesian V1..V6, or set VARIABLE VALUE");
    } else if (command == "dump") {
        std::string text = Dump(arguments, ok);
        result.text = ok ? Ok(text) : Error("dump BANK START LENGTH");
    } else if (command == "runlist") {
        std::string text = RunList(arguments, ok);
        result.text = ok ? Ok(text) : Error("runlist [masked]");
    } else if (command == "words") {
        std::string names;
        for (const Word& word : m_console.Dictionary().Words())
            names += (names.empty() ? "" : " ") + word.name;
        result.text = Ok(names + "\n");
    } else if (command == "history") {
        result.text = Ok(History(arguments));
    } else if (command == "reset") {
        result.action = ControlResult::Action::Reset;
        result.text = Ok();
    } else if (command == "quit") {
        result.action = ControlResult::Action::Quit;
        result.text = Ok();
    } else {
        result.text = Error("unknown command " + command + " (try help)");
    }
    return result;
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

std::string ControlCommands::Garbage(const std::string& arguments, bool& ok) {
    unsigned long count = 0;
    ok = ParseUnsigned(arguments, count) && count <= 1000000;
    if (!ok)
        return {};
    std::string bytes;
    for (unsigned long i = 0; i < count; ++i) {
        m_garbageSeed = m_garbageSeed * 1103515245u + 12345u;
        bytes.push_back(char((m_garbageSeed >> 16) & 0xFF));
    }
    m_console.Emit(bytes);
    return {};
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
