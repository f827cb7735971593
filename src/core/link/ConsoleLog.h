#pragma once

#include <functional>
#include <memory>
#include <string>

class QFile;

// A record of the console traffic in a text file: every byte sent and received, one console line per
// line of the file, each stamped with the time it began and marked "TX" (sent) or "RX" (received).
// CR, LF, CR LF and LF CR end a line; other bytes outside printable ASCII are written as "\xNN" and a
// backslash as "\\". Every piece of traffic is written to the file as it passes, so a crash loses none
// of it. The file is appended to, never emptied.
class ConsoleLog {
public:
    enum class Direction { Sent, Received };

    ConsoleLog();
    ~ConsoleLog();
    ConsoleLog(const ConsoleLog&) = delete;
    ConsoleLog& operator=(const ConsoleLog&) = delete;

    // Opens `path` for appending (created when missing); false, and no log, when it cannot be opened.
    bool Open(const std::string& path);
    // Ends the line in progress and closes the file.
    void Close();
    bool IsOpen() const;

    void Record(Direction direction, const char* data, int length);

    // The stamp of a line: the local time to the millisecond unless set (tests fix it).
    std::function<std::string()> Clock;

private:
    void StartLine(std::string& out, Direction direction) const;

    std::unique_ptr<QFile> m_file;
    bool m_lineOpen = false; // a line is started and not ended yet
    char m_lineEnd = 0; // the CR or LF that has just ended a line; the other one right after it adds none
    Direction m_direction = Direction::Sent;
};
