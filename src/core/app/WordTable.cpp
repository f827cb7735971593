#include "core/app/WordTable.h"

#include <algorithm>
#include <cstring>

int WordTable::KeptChars(signed char length) {
    return std::clamp<int>(length, 0, kKeptChars);
}

void WordTable::Add(const std::string& word) {
    AddEntry(word.size() & 0xFF, word.data(), word.size());
}

void WordTable::AddEntry(int length, const char* name, size_t available) {
    if (m_count >= kCapacity)
        return;
    Entry& e = m_entries[static_cast<size_t>(m_count++)];
    e.length = static_cast<signed char>(length);
    // A name cut short by the end of the word list leaves zero characters, which no word holds.
    std::memset(e.chars, 0, sizeof e.chars);
    const size_t n = std::min<size_t>(static_cast<size_t>(KeptChars(e.length)), available);
    std::memcpy(e.chars, name, n);
}

bool WordTable::Matches(const std::string& word) const {
    const signed char length = LengthOf(word.size());
    const size_t n = static_cast<size_t>(KeptChars(length));
    for (int i = 0; i < m_count; ++i) {
        const Entry& e = m_entries[static_cast<size_t>(i)];
        if (e.length == length && std::memcmp(e.chars, word.data(), n) == 0)
            return true;
    }
    return false;
}
