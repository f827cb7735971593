#include "support/FakeController.h"

#include "core/protocol/Protocol.h"
#include "support/ScriptedUi.h"

#include <algorithm>
#include <cstring>

int FakeController::CommRead(char* buffer, int maximum) {
    const int count = std::min(maximum, static_cast<int>(m_inbox.size()));
    std::memcpy(buffer, m_inbox.data(), static_cast<size_t>(count));
    m_inbox.erase(0, static_cast<size_t>(count));
    return count;
}

bool FakeController::CommWrite(const char* data, int length) {
    for (int i = 0; i < length; ++i) {
        written += data[i];
        Take(data[i]);
    }
    return true;
}

void FakeController::Deliver(const std::string& bytes) {
    if (bytes.empty())
        return;
    m_ui.events.push_back([this, bytes] {
        m_inbox += bytes;
        if (DataArrived)
            DataArrived();
    });
}

void FakeController::Take(char c) {
    if (m_blockBytesDue > 0) {
        downloaded += c;
        --m_blockBytesDue;
        return;
    }
    switch (c) {
    case 5:
        AnswerEnq();
        break;
    case 3:
        ++etxCount;
        if (m_receiving) {
            m_receiving = false;
            Deliver(" OK\r\n>");
        }
        break;
    case '\r':
        AnswerLine();
        break;
    default:
        m_line += c;
        break;
    }
}

void FakeController::AnswerEnq() {
    ++enqCount;
    if (enqCount == cancelAtEnq) {
        m_ui.events.push_back([] { protocol().WaitBoxClosed(); });
        if (!answerAfterCancel)
            return;
    }
    std::string answer(1, m_receiving ? '\x02' : '\x03');
    if (!enqAnswers.empty()) {
        answer = enqAnswers.front();
        enqAnswers.pop_front();
    }
    if (m_receiving && answer.find('\x02') != std::string::npos) // after any noise
        m_blockBytesDue = 256;
    Deliver(answer);
}

void FakeController::AnswerLine() {
    const std::string line = m_line;
    m_line.clear();
    lines.push_back(line);
    if (line.find("RECEIVE") != std::string::npos)
        m_receiving = true;
    if (lineAnswer) {
        Deliver(lineAnswer(line));
        return;
    }
    if (line.find("TRANSMIT") != std::string::npos)
        Deliver(line);
    else
        Deliver(line + " OK\r\n>");
}
