// The project source (.ed2) as the word check reads it: any bytes are read without fault; every word is
// a piece of the text outside comments, without blanks or line ends and never longer than the token
// buffer; and every word the report names is a name or a word the text holds.
#include "FuzzSupport.h"
#include "core/app/SourceTokenizer.h"
#include "core/app/WordCheck.h"

#include <set>

using fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    SourceTokenizer tokens(text);
    std::string word;
    std::set<std::string> words{"PICK", "PLACE1"};
    size_t count = 0;
    while (tokens.NextSignificantWord(word)) {
        Require(!word.empty() && word.size() <= SourceTokenizer::kTokenChars, "a word of the wrong size");
        Require(word[0] != '(' && word.find_first_of(" \t\r\n") == std::string::npos,
                "a word holds a comment opener, a blank or a line end");
        Require(text.find(word) != std::string::npos, "a word that is not in the text");
        Require(++count <= size, "more words than bytes");
        words.insert(word);
    }

    WordCheck check;
    WordCheck::ParseWordList(QByteArray::fromStdString(text), check.controllerTable());
    const std::string report = check.CheckProject({"PICK", "PLACE1"}, text);
    Require(report.empty() || report.back() == '\n', "the report does not end with a line end");
    size_t start = 0;
    for (size_t end; (end = report.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = report.substr(start, end - start);
        const size_t suffix = line.rfind(" redefines a ");
        Require(suffix != std::string::npos && words.count(line.substr(0, suffix)) != 0,
                "the report names a word the check was not given");
    }
    Require(check.conflictFound() == !report.empty(),
            "a conflict noted without a report line, or the reverse");
    return 0;
}
