// The controller's word list (KXWords.txt): any bytes are read without fault into at most one entry per
// 19-byte record; and a list written in the record form from words of 1 to 15 characters (as the
// emulator writes it) gives one entry per word, each of which matches.
#include "FuzzSupport.h"
#include "WordListFile.h"
#include "core/app/WordCheck.h"

#include <vector>

using fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    WordTable table;
    WordCheck::ParseWordList(bytes, table);
    Require(static_cast<size_t>(table.count()) <= size / 19 + 1, "more entries than records");

    // The same bytes as words: each byte below 16 ends a word, so names hold any other byte.
    std::vector<std::string> words(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] >= 16 && words.back().size() < 15)
            words.back() += static_cast<char>(data[i]);
        else if (!words.back().empty())
            words.emplace_back();
    }
    if (words.back().empty())
        words.pop_back();
    std::string text;
    Word word;
    for (const std::string& name : words) {
        word.name = name;
        word.address = static_cast<uint16_t>(word.address + 7);
        text += WordListFile::Record(word);
    }
    WordTable written;
    WordCheck::ParseWordList(QByteArray::fromStdString(text), written);
    Require(static_cast<size_t>(written.count()) == std::min<size_t>(words.size(), WordTable::kCapacity),
            "a written word list does not read back one entry per word");
    for (size_t i = 0; i < words.size() && i < WordTable::kCapacity; ++i)
        Require(written.Matches(words[i]), "a written word does not match its entry");
    return 0;
}
