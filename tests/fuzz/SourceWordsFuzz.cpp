// The project source (.ed2) as the word check reads it: any bytes are read without fault; every word is
// outside comments, without blanks or line ends and never longer than the token buffer; and every word
// the report names is a name or a piece of the text.
#include "FuzzSupport.h"
#include "core/app/SourceTokenizer.h"
#include "core/app/WordCheck.h"

using fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    SourceTokenizer tokens(text);
    std::string word;
    size_t count = 0;
    while (tokens.NextSignificantWord(word)) {
        Require(!word.empty() && word.size() <= SourceTokenizer::kTokenChars, "a word of the wrong size");
        Require(word[0] != '(' && word.find_first_of(" \t\r\n") == std::string::npos,
                "a word holds a comment opener, a blank or a line end");
        Require(++count <= size, "more words than bytes");
    }

    WordCheck check;
    WordCheck::ParseWordList(QByteArray::fromStdString(text), check.controllerTable());
    const std::string report = check.CheckProject({"PICK", "PLACE1"}, text);
    Require(report.empty() || report.back() == '\n', "the report does not end with a line end");
    size_t start = 0;
    for (size_t end; (end = report.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = report.substr(start, end - start);
        const std::string reported = line.substr(0, line.rfind(" redefines a "));
        Require(reported == "PICK" || reported == "PLACE1" ||
                    (!reported.empty() && text.find(reported) != std::string::npos),
                "the report names a word the check was not given");
    }
    Require(check.conflictFound() == !report.empty(),
            "a conflict noted without a report line, or the reverse");
    return 0;
}
