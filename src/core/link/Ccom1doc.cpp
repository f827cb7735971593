#include "core/link/Ccom1doc.h"

#include <algorithm>
#include <cstring>

Ccom1doc::Ccom1doc() {
    std::memset(m_lines, 0, sizeof m_lines);
}

bool Ccom1doc::PutChar(char c) {
    m_lines[m_currentLine][m_column] = c;
    ++m_column;
    if (m_column >= m_width) {
        NewLine();
        return false;
    }
    return true;
}

void Ccom1doc::NewLine() {
    m_currentLine = (m_currentLine + 1) % kSlots;
    if (m_currentLine == m_firstLine)
        m_firstLine = (m_firstLine + 1) % kSlots;
    std::memset(m_lines[m_currentLine], 0, kSlotSize);
    m_column = 0;
}

void Ccom1doc::BackSpace() {
    m_column = std::max(0, m_column - 1);
}

void Ccom1doc::CarriageReturn() {
    m_column = 0;
}

int Ccom1doc::GetLineCount() const {
    int n = m_currentLine - m_firstLine;
    if (n < 0)
        n += kSlots;
    return n + 1;
}

std::string Ccom1doc::SlotText(int slot) const {
    const char* text = m_lines[slot];
    return std::string(text, strnlen(text, kSlotSize));
}

std::string Ccom1doc::GetLine(int i) const {
    return SlotText((m_firstLine + i) % kSlots);
}

std::string Ccom1doc::GetLastLine() const {
    return SlotText((m_currentLine + kSlots - 1) % kSlots);
}

void Ccom1doc::SetLineWidth(int n) {
    m_width = std::clamp(n, kMinWidth, kMaxWidth);
}

std::string Ccom1doc::SavedText() const {
    std::string text;
    const int count = GetLineCount();
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            text += "\r\n";
        text += GetLine(i);
    }
    return text;
}
