#include "ConsoleModel.h"

#include <cctype>
#include <cstdlib>

namespace {
constexpr char kBackspace = 8;
constexpr char kDelete = 127;
constexpr char kEscape = 27;
constexpr size_t kMaxLine = 1024;
constexpr size_t kMaxHistory = 100000;
} // namespace

ConsoleModel::ConsoleModel(int joints, int cartesianAxes)
    : m_arm(joints, cartesianAxes), m_runList(m_memory, 0), m_transfer(m_memory) {
    RegisterCoreWords();
    RegisterDefiningWords();
    RegisterMemoryWords();
    RegisterArmWords();
    RegisterRunListWords();
    RegisterRouteLineWords();
    m_dictionary.SealBuiltins();
    m_runList.SetNextVariable(VariableAddress("NEXT"));
    m_ioFlag = VariableAddress("IOFLAG");
    m_base = VariableAddress("BASE");
    m_runList.Init();
    m_transfer.Received = [this](int bank, uint32_t start, uint32_t length) {
        if (bank == RunListStore::kBank && start == 0)
            RunListReceived(length);
    };
}

void ConsoleModel::Feed(const std::string& bytes) {
    Feed(bytes.data(), bytes.size());
}

void ConsoleModel::Feed(const char* data, size_t length) {
    for (size_t i = 0; i < length; ++i)
        HandleByte(data[i]);
}

std::string ConsoleModel::TakeOutput() {
    std::string out;
    out.swap(m_output);
    return out;
}

void ConsoleModel::HandleByte(char c) {
    if (m_silent)
        return;
    if (m_moving) {
        m_inputDuringMove.push_back(c);
        return;
    }
    if (m_transfer.Active() && m_transfer.Feed(c, m_output))
        return;
    if (m_mode != Mode::Normal) {
        // The teach pad has the arm; only ESC takes it back, and that ends the line of "(TEACH)" or "JOG".
        if (c == kEscape) {
            m_mode = Mode::Normal;
            m_output += "OK\r\n>";
        }
        return;
    }
    HandleConsoleByte(c);
}

void ConsoleModel::HandleConsoleByte(char c) {
    bool echo = !PromptOnly();
    if (c == '\r') {
        EndOfLine();
    } else if (c == kBackspace || c == kDelete) {
        if (!m_line.empty()) {
            m_line.pop_back();
            if (echo)
                m_output += "\b \b";
        }
    } else if (c == kEscape) {
        // ESC abandons the typed line and a definition left open.
        m_line.clear();
        m_compiling = false;
        m_output += " OK\r\n>";
    } else if (c == BlockTransfer::kEnq) {
        // An ENQ with no transfer running: "no data" ends the PC's wait instead of leaving it hanging.
        m_output.push_back(BlockTransfer::kEtx);
    } else if (c == '\t' || (static_cast<unsigned char>(c) >= 32 && c != kDelete)) {
        if (m_line.size() >= kMaxLine)
            return;
        m_line.push_back(c == '\t' ? ' ' : c);
        if (echo)
            m_output.push_back(m_line.back());
    }
    // LF and the other control characters are ignored: a source line arrives as text, LF and CR.
}

void ConsoleModel::EndOfLine() {
    std::string line;
    line.swap(m_line);
    if (m_history.size() < kMaxHistory)
        m_history.push_back(line);
    bool echoed = !PromptOnly();
    if (echoed)
        m_output += " ";
    if (m_failLines > 0) {
        --m_failLines;
        m_output += "err\r\n>";
        return;
    }
    m_answered = false;
    m_motionStarted = false;
    try {
        Interpret(line);
    } catch (const WordError& error) {
        m_stack.clear();
        m_compiling = false;
        m_relativeNext = false;
        m_pendingFunction.reset();
        m_output += error.word + " ?\r\n>";
        return;
    }
    // "(TEACH)", "JOG" and TRANSMIT answer later: on ESC, or with the blocks.
    if (m_mode != Mode::Normal || m_transfer.Transmitting())
        return;
    FinishLine(echoed);
}

void ConsoleModel::FinishLine(bool echoed) {
    std::string ending = PromptOnly() ? ">" : (echoed ? "OK\r\n>" : " OK\r\n>");
    if (m_motionStarted) {
        // The arm is on its way: the answer waits for the end of the move.
        m_moving = true;
        m_answerAfterMove = ending;
        return;
    }
    m_output += ending;
}

void ConsoleModel::FinishMove() {
    if (!m_moving)
        return;
    m_moving = false;
    m_output += m_answerAfterMove;
    std::string input;
    input.swap(m_inputDuringMove);
    Feed(input);
}

void ConsoleModel::Interpret(const std::string& line) {
    m_tokens.clear();
    m_position = 0;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i])))
            ++i;
        size_t start = i;
        while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i])))
            ++i;
        if (i > start)
            m_tokens.push_back(line.substr(start, i - start));
    }
    m_lastKind = WordKind::Builtin;
    std::string token;
    while (m_mode == Mode::Normal && !m_transfer.Transmitting() && NextToken(token))
        ExecuteToken(token);
    // A place's name alone on a line drives the arm to that place; a route's name alone makes it the
    // route the teach pad learns into.
    if (m_tokens.size() == 1 && m_lastKind == WordKind::Place && !m_compiling && !m_stack.empty())
        MoveToRecord(uint32_t(uint16_t(Pop())) + 16);
    else if (m_tokens.size() == 1 && m_lastKind == WordKind::Route && !m_compiling && !m_stack.empty())
        m_padRoute = uint16_t(Pop());
}

bool ConsoleModel::NextToken(std::string& token) {
    if (m_position >= m_tokens.size())
        return false;
    token = m_tokens[m_position++];
    return true;
}

std::string ConsoleModel::ParseName() {
    std::string name;
    if (!NextToken(name))
        Fail();
    return name;
}

void ConsoleModel::SkipComment() {
    std::string token;
    while (NextToken(token))
        if (!token.empty() && token.back() == ')')
            return;
}

void ConsoleModel::ExecuteToken(const std::string& token) {
    if (m_compiling) {
        CompileToken(token);
        return;
    }
    if (token == "(") {
        SkipComment();
        return;
    }
    if (token == "\\") {
        m_position = m_tokens.size();
        return;
    }
    if (const Word* word = m_dictionary.Find(token)) {
        Execute(*word);
        return;
    }
    int32_t value = 0;
    if (ParseNumber(token, value)) {
        Push(value);
        return;
    }
    throw WordError{token};
}

void ConsoleModel::Execute(const Word& word) {
    m_current = word.name;
    m_lastKind = word.kind;
    switch (word.kind) {
    case WordKind::Builtin:
        m_actions[size_t(word.handler)]();
        break;
    case WordKind::Variable:
        Push(word.ParameterAddress());
        break;
    case WordKind::Constant:
        Push(int16_t(m_memory.SystemWord(word.ParameterAddress())));
        break;
    case WordKind::Place:
    case WordKind::Route:
        Push(m_memory.SystemWord(word.ParameterAddress()));
        break;
    case WordKind::Colon:
        // Definitions are kept with their text; running one only accepts it.
        break;
    }
}

void ConsoleModel::CompileToken(const std::string& token) {
    if (token == m_definitionEnd) {
        m_compiling = false;
        Word& word = m_dictionary.Define(m_definitionName, WordKind::Colon);
        word.body = m_definitionBody;
        return;
    }
    if (token == "(") {
        SkipComment();
        return;
    }
    if (!m_definitionBody.empty())
        m_definitionBody += ' ';
    m_definitionBody += token;
}

bool ConsoleModel::ParseNumber(const std::string& token, int32_t& value) const {
    int base = m_memory.SystemWord(m_base);
    if (base < 2 || base > 36)
        base = 10;
    size_t i = 0;
    bool negative = false;
    if (token[0] == '-' && token.size() > 1) {
        negative = true;
        i = 1;
    }
    int64_t result = 0;
    for (; i < token.size(); ++i) {
        int c = std::toupper(static_cast<unsigned char>(token[i]));
        int digit = std::isdigit(c) ? c - '0' : (std::isalpha(c) ? c - 'A' + 10 : 99);
        if (digit >= base)
            return false;
        result = (result * base + digit) & 0xFFFFFFFF;
    }
    value = int32_t(negative ? -result : result);
    return true;
}

std::string ConsoleModel::FormatNumber(int32_t value) const {
    int base = m_memory.SystemWord(m_base);
    if (base < 2 || base > 36)
        base = 10;
    int64_t v = value;
    bool negative = v < 0;
    if (negative)
        v = -v;
    std::string digits;
    do {
        int d = int(v % base);
        digits.insert(digits.begin(), char(d < 10 ? '0' + d : 'A' + d - 10));
        v /= base;
    } while (v > 0);
    return (negative ? "-" : "") + digits;
}

void ConsoleModel::Answer(const std::string& text) {
    if (PromptOnly())
        return;
    // The answer area starts after a second separator, so the reply reads: echo, two separators, answer.
    if (!m_answered)
        m_output += ' ';
    m_answered = true;
    m_output += text;
}

void ConsoleModel::Fail() const {
    throw WordError{m_current};
}

int32_t ConsoleModel::Pop() {
    if (m_stack.empty())
        Fail();
    int32_t value = m_stack.back();
    m_stack.pop_back();
    return value;
}

AxisValues ConsoleModel::PopValues(int count, AxisValues start) {
    if (m_stack.size() < size_t(count))
        Fail();
    for (int i = 0; i < count; ++i)
        start[size_t(i)] = int16_t(Pop());
    return start;
}

uint16_t ConsoleModel::VariableAddress(const std::string& name) const {
    const Word* word = m_dictionary.Find(name);
    return word ? word->ParameterAddress() : 0;
}

uint8_t ConsoleModel::VariableByte(const std::string& name) const {
    return m_memory.SystemByte(VariableAddress(name));
}

std::optional<int> ConsoleModel::VariableValue(const std::string& name) const {
    const Word* word = m_dictionary.Find(name);
    if (!word || word->kind != WordKind::Variable)
        return std::nullopt;
    return m_memory.SystemWord(word->ParameterAddress());
}

void ConsoleModel::SetVariable(const std::string& name, int value) {
    const Word* word = m_dictionary.Find(name);
    if (word && word->kind == WordKind::Variable)
        m_memory.SetSystemWord(word->ParameterAddress(), uint16_t(value));
}

bool ConsoleModel::PromptOnly() const {
    return m_memory.SystemByte(m_ioFlag) != 0;
}

void ConsoleModel::Builtin(const std::string& name, Action action) {
    m_actions.push_back(std::move(action));
    m_dictionary.Define(name, WordKind::Builtin, int(m_actions.size()) - 1);
}

Word& ConsoleModel::DefineVariable(const std::string& name, uint16_t initial) {
    Word& word = m_dictionary.Define(name, WordKind::Variable);
    m_memory.SetSystemWord(word.ParameterAddress(), initial);
    return word;
}

void ConsoleModel::DefineWord(const std::string& name, WordKind kind, uint16_t parameter) {
    Word& word = m_dictionary.Define(name, kind);
    m_memory.SetSystemWord(word.ParameterAddress(), parameter);
}

int ConsoleModel::ValueCount(bool cartesian) const {
    return cartesian ? m_arm.CartesianCount() : m_arm.JointCount();
}
