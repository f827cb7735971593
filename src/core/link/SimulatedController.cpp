#include "core/link/SimulatedController.h"

#include <algorithm>

namespace {
constexpr char kCarriageReturn = '\r';
constexpr char kEscape = 27;
} // namespace

bool SimulatedController::OpenComm(int, unsigned, const std::string&) {
    m_errorMark = false;
    return true;
}

int SimulatedController::CommRead(char* buffer, int maximum) {
    const int count = std::min(maximum, static_cast<int>(m_inbox.size()));
    m_inbox.copy(buffer, static_cast<size_t>(count));
    m_inbox.erase(0, static_cast<size_t>(count));
    return count;
}

bool SimulatedController::CommWrite(const char* data, int length) {
    for (int i = 0; i < length; ++i) {
        const std::string answer = Answer(data[i], !NormalReply || NormalReply());
        if (answer.empty())
            continue;
        m_inbox += answer;
        if (DataArrived)
            DataArrived();
    }
    return true;
}

std::string SimulatedController::Answer(char c, bool normalReply) {
    if (c != kCarriageReturn && c != kEscape) {
        if (c == '~')
            m_errorMark = true;
        return normalReply ? std::string(1, c) : std::string();
    }
    if (!normalReply)
        return ">";
    if (m_errorMark) {
        m_errorMark = false;
        return " err\r\n";
    }
    return " simOK\r\n>";
}
