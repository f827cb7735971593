#pragma once

#include "WordDictionary.h"

#include <string>

// The controller's word list in the "KXWords.txt" record form: 19 characters a record, the word's address
// in four hexadecimal digits and a space, the length as one hexadecimal digit at offset 5, a space, the
// name from offset 7 cut or padded to 10 characters, CR LF. Words longer than 15 characters cannot be
// written in this form and are left out.
class WordListFile {
public:
    static constexpr size_t kRecordSize = 19;
    static constexpr size_t kNameWidth = 10;

    static std::string Record(const Word& word);
    static std::string Text(const WordDictionary& dictionary);
    // Writes atomically; false with a reason in `error` when the file cannot be written.
    static bool Write(const std::string& path, const WordDictionary& dictionary, std::string& error);
};
