#include "core/app/SourceTokenizer.h"

namespace {

bool IsSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

} // namespace

bool SourceTokenizer::NextToken(std::string& token) {
    m_lineBreak = false;
    while (m_pos < m_text.size() && IsSeparator(m_text[m_pos])) {
        // Both CR and LF end a line, so sources saved with either line end read alike.
        if (m_text[m_pos] == '\r' || m_text[m_pos] == '\n')
            m_lineBreak = true;
        ++m_pos;
    }
    if (m_pos >= m_text.size())
        return false;
    const size_t start = m_pos;
    while (m_pos < m_text.size() && !IsSeparator(m_text[m_pos]))
        ++m_pos;
    token = m_text.substr(start, std::min(m_pos - start, kTokenChars));
    return true;
}

// Comments nest: `depth` counts the comments open around the reading position. A word found inside a
// comment after a line end ends every open comment and is the result; a word beginning with ")"
// closes the innermost one.
bool SourceTokenizer::NextSignificantWord(std::string& word) {
    int depth = 0;
    std::string token;
    for (;;) {
        if (!NextToken(token))
            return false;
        if (token[0] == '(') {
            ++depth;
            continue;
        }
        if (depth == 0 || m_lineBreak) {
            word = token;
            return true;
        }
        if (token[0] == ')')
            --depth;
    }
}
