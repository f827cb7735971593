#include "support/EmulatedController.h"

#include "ConsoleModel.h"
#include "ControlCommands.h"
#include "core/link/CommLink.h"
#include "core/protocol/Protocol.h"
#include "support/ScriptedUi.h"

#include <QTimer>

#include <algorithm>
#include <functional>

EmulatedController::EmulatedController(ScriptedUi* ui, int joints, int axes) : m_ui(ui) {
    NewConsole(joints, axes);
}

EmulatedController::~EmulatedController() = default;

void EmulatedController::NewConsole(int joints, int axes) {
    m_control.reset();
    m_console = std::make_unique<ConsoleModel>(joints, axes);
    m_control = std::make_unique<ControlCommands>(*m_console);
}

const std::vector<std::string>& EmulatedController::Lines() const {
    return m_console->History();
}

std::string EmulatedController::Run(const std::string& line) {
    m_console->Feed(line + "\r");
    return m_console->TakeOutput();
}

std::string EmulatedController::Control(const std::string& command) {
    const std::string text = m_control->Run(command).text;
    Print(m_console->TakeOutput()); // what the command made the controller print
    return text;
}

uint8_t* EmulatedController::Bank(int bank) {
    return m_console->Memory().Bank(bank);
}

int EmulatedController::CommRead(char* buffer, int maximum) {
    const int count = std::min(maximum, static_cast<int>(m_inbox.size()));
    std::copy(m_inbox.begin(), m_inbox.begin() + count, buffer);
    m_inbox.erase(0, static_cast<size_t>(count));
    if (count > 0)
        reads.push_back(count);
    return count;
}

bool EmulatedController::CommWrite(const char* data, int length) {
    written.append(data, static_cast<size_t>(length));
    // The block transfer writes its ENQs and ETXs one by one, its blocks whole.
    etxs += length == 1 && data[0] == 3;
    if (length != 1 || data[0] != 5) {
        for (int i = 0; i < length; ++i) {
            if (data[i] == '\r' && !refusedLine.empty() && m_typed == refusedLine)
                m_console->FailNextLines(1);
            m_typed = data[i] == '\r' ? std::string() : m_typed + data[i];
            m_console->Feed(data + i, 1);
        }
        Print(m_console->TakeOutput());
        return true;
    }
    const int n = ++enqs;
    if (n == lostAtEnq)
        Later([] { commLink().OnTransportLost(); });
    else if (n == cancelAtEnq)
        Later([] { protocol().WaitBoxClosed(); });
    if (n == lostAtEnq || (n == cancelAtEnq && !answerAfterCancel))
        return true;
    const bool replaced = enqAnswers.count(n) != 0;
    if (!replaced)
        m_console->Feed(data, 1);
    Print(replaced ? enqAnswers[n] : enqNoise[n] + m_console->TakeOutput());
    return true;
}

void EmulatedController::Print(const std::string& bytes) {
    if (bytes.empty())
        return;
    Later([this, bytes] {
        m_inbox += bytes;
        if (DataArrived)
            DataArrived();
    });
}

void EmulatedController::Later(const std::function<void()>& event) {
    if (m_ui)
        m_ui->events.push_back(event);
    else
        QTimer::singleShot(0, event);
}
