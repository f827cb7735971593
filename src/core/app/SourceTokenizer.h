#pragma once

#include <string>

// Cuts KAVENTRIX source text into words for the conflict check. Tokens are separated by spaces, tabs
// and line ends. A token beginning with "(" opens a comment that lasts up to a token beginning with ")"
// or up to the end of its line; comments nest.
class SourceTokenizer {
public:
    // Longest token kept; the rest of a longer token is skipped with it.
    static constexpr size_t kTokenChars = 99;

    explicit SourceTokenizer(std::string text) : m_text(std::move(text)) {}

    // The next token, or false at the end of the text. Sets lineBreak() when a line end came before it.
    bool NextToken(std::string& token);
    // The next word outside comments, or false at the end of the text.
    bool NextSignificantWord(std::string& word);
    bool lineBreak() const { return m_lineBreak; }

private:
    std::string m_text;
    size_t m_pos = 0;
    bool m_lineBreak = false;
};
