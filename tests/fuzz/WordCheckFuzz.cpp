// The word list and the project source: any bytes are read without fault, tables never grow past
// their capacity, and every word of a report is one the check was given.
#include "core/app/SourceTokenizer.h"
#include "core/app/WordCheck.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    WordCheck check;
    WordCheck::ParseWordList(QByteArray::fromStdString(text), check.controllerTable());
    if (check.controllerTable().count() > WordTable::kCapacity)
        std::abort();

    SourceTokenizer tokens(text);
    std::string word;
    size_t words = 0;
    while (tokens.NextSignificantWord(word)) {
        if (word.empty() || word.size() > SourceTokenizer::kTokenChars)
            std::abort();
        if (++words > size)
            std::abort(); // every word takes at least one byte of the text
    }

    const std::string report = check.CheckProject({"PICK", "PLACE1"}, text);
    if (!report.empty() && report.back() != '\n')
        std::abort();
    return 0;
}
