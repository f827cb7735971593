#pragma once

#include <array>
#include <string>

// A table of words for the conflict check. Two words count as the same when they have the same length
// and agree in their first five characters (all of them when shorter), so an entry keeps only the
// length and those characters. The table holds at most 1000 entries; further additions are ignored.
class WordTable {
public:
    static constexpr int kCapacity = 1000;
    static constexpr int kKeptChars = 5;

    // Adds a word: its length (low 8 bits, as a signed byte) and its first characters.
    void Add(const std::string& word);
    // Adds an entry of the given length whose name starts at `name` (`available` characters there).
    void AddEntry(int length, const char* name, size_t available);
    bool Matches(const std::string& word) const;
    void Clear() { m_count = 0; }
    int count() const { return m_count; }

private:
    struct Entry {
        signed char length = 0;
        char chars[kKeptChars] = {};
    };

    static signed char LengthOf(size_t size) { return static_cast<signed char>(size & 0xFF); }
    static int KeptChars(signed char length);

    std::array<Entry, kCapacity> m_entries;
    int m_count = 0;
};
