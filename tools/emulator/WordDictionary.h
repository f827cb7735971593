#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class WordKind { Builtin, Variable, Constant, Colon, Place, Route };

// One word of the controller's dictionary. Every word has an address in system space; the name field
// is at address + 2 (what NAME takes) and the parameter (a variable's value, a constant, the RUN-LIST
// entry of a place or route) is the 16-bit word at address + 4.
struct Word {
    std::string name;
    WordKind kind = WordKind::Builtin;
    uint16_t address = 0;
    int handler = -1; // index of the built-in action
    std::string body; // the text of a colon definition
    uint16_t ParameterAddress() const { return uint16_t(address + 4); }
    uint16_t NameAddress() const { return uint16_t(address + 2); }
};

// The dictionary: built-in words first, then the words defined over the console, newest last.
// Lookups find the newest definition of a name; forgetting a word drops it and every later one.
class WordDictionary {
public:
    static constexpr uint16_t kFirstAddress = 0x0400;
    static constexpr uint16_t kStep = 8;

    Word& Define(const std::string& name, WordKind kind, int handler = -1);
    // Marks the words defined so far as built in: they survive STARTOVER and cannot be forgotten.
    void SealBuiltins() { m_builtinCount = m_words.size(); }

    const Word* Find(const std::string& name) const;
    Word* Find(const std::string& name);
    const Word* FindByAddress(uint16_t address) const;
    const Word* FindByNameAddress(uint16_t address) const;
    int IndexOf(const std::string& name) const;
    bool IsBuiltin(int index) const { return size_t(index) < m_builtinCount; }

    // Drops the word at index and everything defined after it; the address space is reused.
    void ForgetFrom(int index);
    void ForgetUserWords() { ForgetFrom(int(m_builtinCount)); }

    const std::vector<Word>& Words() const { return m_words; }
    std::vector<Word>& Words() { return m_words; }
    size_t BuiltinCount() const { return m_builtinCount; }

private:
    std::vector<Word> m_words;
    size_t m_builtinCount = 0;
    uint16_t m_nextAddress = kFirstAddress;
};
