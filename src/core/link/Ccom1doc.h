#pragma once

#include <string>

// The console text: a ring of 200 lines of at most 132 characters. The terminal window draws it and
// the reply handshake reads the controller's reply lines from it.
class Ccom1doc {
public:
    static constexpr int kSlots = 200;
    static constexpr int kSlotSize = 133;
    static constexpr int kMinWidth = 80;
    static constexpr int kMaxWidth = 132;

    Ccom1doc();

    // Stores c at the current column; false when that filled the line and a new line was started.
    bool PutChar(char c);
    void NewLine();
    void BackSpace();
    void CarriageReturn();

    int GetLineCount() const;
    // Line i counted from the oldest held line.
    std::string GetLine(int i) const;
    // The last completed line (the one before the current line).
    std::string GetLastLine() const;
    void SetLineWidth(int n);
    int GetColumn() const { return m_column; }
    int GetWidth() const { return m_width; }

    // The held lines, oldest first, joined by "\r\n" with none after the last ("Save Communication").
    std::string SavedText() const;

    std::string title = "Communication";

private:
    std::string SlotText(int slot) const;

    char m_lines[kSlots][kSlotSize];
    int m_firstLine = 1;
    int m_currentLine = 1;
    int m_column = 0;
    int m_width = kMinWidth;
};
