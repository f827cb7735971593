// The console's general words: stack, arithmetic, number output, number base and the I/O flag.
#include "ConsoleModel.h"

#include <cstdlib>

void ConsoleModel::RegisterCoreWords() {
    Builtin("DUP", [this] {
        int32_t a = Pop();
        Push(a);
        Push(a);
    });
    Builtin("DROP", [this] { Pop(); });
    Builtin("SWAP", [this] {
        int32_t b = Pop(), a = Pop();
        Push(b);
        Push(a);
    });
    Builtin("OVER", [this] {
        int32_t b = Pop(), a = Pop();
        Push(a);
        Push(b);
        Push(a);
    });
    Builtin("ROT", [this] {
        int32_t c = Pop(), b = Pop(), a = Pop();
        Push(b);
        Push(c);
        Push(a);
    });
    auto binary = [this](const std::string& name, std::function<int32_t(int32_t, int32_t)> op) {
        Builtin(name, [this, op] {
            int32_t b = Pop(), a = Pop();
            Push(op(a, b));
        });
    };
    binary("+", [](int32_t a, int32_t b) { return int32_t(uint32_t(a) + uint32_t(b)); });
    binary("-", [](int32_t a, int32_t b) { return int32_t(uint32_t(a) - uint32_t(b)); });
    binary("*", [](int32_t a, int32_t b) { return int32_t(uint32_t(a) * uint32_t(b)); });
    binary("AND", [](int32_t a, int32_t b) { return a & b; });
    binary("OR", [](int32_t a, int32_t b) { return a | b; });
    binary("XOR", [](int32_t a, int32_t b) { return a ^ b; });
    binary("=", [](int32_t a, int32_t b) { return a == b ? -1 : 0; });
    binary("<", [](int32_t a, int32_t b) { return a < b ? -1 : 0; });
    binary(">", [](int32_t a, int32_t b) { return a > b ? -1 : 0; });
    binary("MAX", [](int32_t a, int32_t b) { return a > b ? a : b; });
    binary("MIN", [](int32_t a, int32_t b) { return a < b ? a : b; });
    Builtin("/", [this] {
        int32_t b = Pop(), a = Pop();
        if (b == 0)
            Fail();
        Push(a / b);
    });
    Builtin("MOD", [this] {
        int32_t b = Pop(), a = Pop();
        if (b == 0)
            Fail();
        Push(a % b);
    });
    Builtin("NEGATE", [this] { Push(-Pop()); });
    Builtin("ABS", [this] { Push(std::abs(Pop())); });
    Builtin("1+", [this] { Push(Pop() + 1); });
    Builtin("1-", [this] { Push(Pop() - 1); });
    Builtin("2*", [this] { Push(Pop() * 2); });
    Builtin("0=", [this] { Push(Pop() == 0 ? -1 : 0); });

    Builtin(".", [this] { Answer(FormatNumber(Pop()) + " "); });
    Builtin("U.", [this] { Answer(FormatNumber(int32_t(uint16_t(Pop()))) + " "); });
    Builtin(".S", [this] {
        for (int32_t value : m_stack)
            Answer(FormatNumber(value) + " ");
    });
    Builtin("EMIT", [this] { Answer(std::string(1, char(Pop()))); });
    Builtin("SPACE", [this] { Answer(" "); });
    // ." prints the text up to the next double quote.
    Builtin(".\"", [this] {
        std::string text, token;
        while (NextToken(token)) {
            bool last = !token.empty() && token.back() == '"';
            text += (text.empty() ? "" : " ") + (last ? token.substr(0, token.size() - 1) : token);
            if (last)
                break;
        }
        Answer(text + " ");
    });
    Builtin("DECIMAL", [this] { m_memory.SetSystemWord(m_base, 10); });
    Builtin("HEX", [this] { m_memory.SetSystemWord(m_base, 16); });
    Builtin("KAVENTRIX", [] {});
    // "|": answer every following line with the prompt only, until "IOFLAG C0SET" clears the flag.
    Builtin("|", [this] { m_memory.SetSystemByte(m_ioFlag, 1); });
    Builtin("C0SET", [this] { m_memory.SetSystemByte(uint16_t(Pop()), 0); });
}
