#include "core/link/SimulatedController.h"

std::string SimulatedController::Answer(char c, int replyMode) {
    if (c != '\r' && c != 27) {
        if (c == '~')
            m_errorMark = true;
        return replyMode == 0 ? std::string(1, c) : std::string();
    }
    if (replyMode != 0)
        return ">";
    if (m_errorMark) {
        m_errorMark = false;
        return " err\r\n";
    }
    return " simOK\r\n>";
}
