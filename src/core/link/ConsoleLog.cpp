#include "core/link/ConsoleLog.h"

#include <QDateTime>
#include <QFile>
#include <QLoggingCategory>

#include <cstdio>

Q_LOGGING_CATEGORY(lcConsoleLog, "marlix.consolelog")

ConsoleLog::ConsoleLog() : m_file(std::make_unique<QFile>()) {}

ConsoleLog::~ConsoleLog() = default;

bool ConsoleLog::IsOpen() const {
    return m_file->isOpen();
}

bool ConsoleLog::Open(const std::string& path) {
    Close();
    m_file->setFileName(QString::fromStdString(path));
    // Unbuffered: every write reaches the system at once, nothing waits in the program.
    if (!m_file->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        qCWarning(lcConsoleLog, "cannot open %s: %s", path.c_str(), qPrintable(m_file->errorString()));
        return false;
    }
    m_lineOpen = false;
    m_lineEnd = 0;
    return true;
}

void ConsoleLog::Close() {
    if (!m_file->isOpen())
        return;
    if (m_lineOpen)
        m_file->write("\n", 1);
    m_lineOpen = false;
    m_file->close();
}

void ConsoleLog::StartLine(std::string& out, Direction direction) const {
    out += Clock ? Clock() : QDateTime::currentDateTime().toString("yyyy-MM-dd HH:mm:ss.zzz").toStdString();
    out += direction == Direction::Sent ? " TX " : " RX ";
}

void ConsoleLog::Record(Direction direction, const char* data, int length) {
    if (!m_file->isOpen() || length <= 0)
        return;
    std::string out;
    if (direction != m_direction) {
        // The other side speaks: its text starts a line of its own.
        if (m_lineOpen)
            out += '\n';
        m_lineOpen = false;
        m_lineEnd = 0;
        m_direction = direction;
    }
    for (int i = 0; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(data[i]);
        const bool lineEnd = c == '\r' || c == '\n';
        // Downloaded lines end in LF CR, the controller's in CR LF: either pair is one line end.
        if (lineEnd && m_lineEnd != 0 && c != m_lineEnd) {
            m_lineEnd = 0;
            continue;
        }
        m_lineEnd = lineEnd ? static_cast<char>(c) : 0;
        if (!m_lineOpen)
            StartLine(out, direction);
        m_lineOpen = !lineEnd;
        if (lineEnd) {
            out += '\n';
        } else if (c == '\\') {
            out += "\\\\";
        } else if (c >= 32 && c <= 126) {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    if (m_file->write(out.data(), static_cast<qint64>(out.size())) != static_cast<qint64>(out.size()))
        qCWarning(lcConsoleLog, "cannot write the log: %s", qPrintable(m_file->errorString()));
}
