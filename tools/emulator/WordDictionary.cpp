#include "WordDictionary.h"

Word& WordDictionary::Define(const std::string& name, WordKind kind, int handler) {
    Word word;
    word.name = name;
    word.kind = kind;
    word.handler = handler;
    word.address = m_nextAddress;
    m_nextAddress = uint16_t(m_nextAddress + kStep);
    m_words.push_back(word);
    return m_words.back();
}

int WordDictionary::IndexOf(const std::string& name) const {
    for (int i = int(m_words.size()) - 1; i >= 0; --i)
        if (m_words[size_t(i)].name == name)
            return i;
    return -1;
}

const Word* WordDictionary::Find(const std::string& name) const {
    int index = IndexOf(name);
    return index < 0 ? nullptr : &m_words[size_t(index)];
}

Word* WordDictionary::Find(const std::string& name) {
    int index = IndexOf(name);
    return index < 0 ? nullptr : &m_words[size_t(index)];
}

const Word* WordDictionary::FindByAddress(uint16_t address) const {
    for (auto it = m_words.rbegin(); it != m_words.rend(); ++it)
        if (it->address == address)
            return &*it;
    return nullptr;
}

const Word* WordDictionary::FindByNameAddress(uint16_t address) const {
    return FindByAddress(uint16_t(address - 2));
}

void WordDictionary::ForgetFrom(int index) {
    if (index < 0 || size_t(index) >= m_words.size())
        return;
    m_nextAddress = m_words[size_t(index)].address;
    m_words.erase(m_words.begin() + index, m_words.end());
}
