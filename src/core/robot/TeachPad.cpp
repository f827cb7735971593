#include "core/robot/TeachPad.h"

#include "core/base/CoreState.h"
#include "core/protocol/Protocol.h"
#include "core/protocol/RobotExchange.h"
#include "core/robot/PositionValues.h"
#include "core/robot/RobotUi.h"

namespace {
constexpr char kEscape = 27;
} // namespace

TeachPad& teachPad() {
    return coreState().Get<TeachPad>();
}

void TeachPadSignal(PadSignal signal) {
    teachPad().Signal(signal);
}

void InstallTeachPadHook() {
    protocol().TeachPadHook = TeachPadSignal;
}

void TeachPad::Signal(PadSignal signal) {
    ExitCode = signal;
    if (m_manualActive)
        robotUi().CloseManualWindow();
}

void TeachPad::StartPass(const char* modeText) {
    ExitCode = PadSignal::None;
    // The controller stays in the mode until ESC: no reply is awaited here.
    protocol().SendString(modeText);
}

void TeachPad::EndPass() {
    Protocol& proto = protocol();
    if (proto.SendLine(std::string(1, kEscape)))
        proto.WaitReply();
}

bool TeachPad::HandlePadExit() {
    if (ExitCode == PadSignal::Learn) {
        if (AppendLearnedLine)
            AppendLearnedLine();
        return true;
    }
    if (ExitCode == PadSignal::Drop) {
        if (DropLastLine)
            DropLastLine();
        return true;
    }
    return false;
}

void TeachPad::AskNewSpeed() {
    int speed = CreepFactor;
    if (!robotUi().AskTeachSpeed(speed))
        return;
    CreepFactor = speed;
    StoreVariable("CREEP-FACTOR", CreepFactor);
}

void TeachPad::AskNewIncrement(int& increment) {
    float millimetres = static_cast<float>(increment) / 10.0f;
    if (!robotUi().AskJogIncrement(millimetres))
        return;
    increment = JogIncrementFromMillimetres(millimetres);
    StoreVariable("INCR", increment);
}

void TeachPad::RunTeach() {
    InstallTeachPadHook();
    m_manualActive = true;
    QueryVariable("CREEP-FACTOR", CreepFactor);
    for (;;) {
        StartPass("(TEACH)\r");
        const RobotUi::ManualResult result = robotUi().ShowTeachWindow(CreepFactor);
        EndPass();
        if (result == RobotUi::ManualResult::NewValue)
            AskNewSpeed();
        else if (!HandlePadExit())
            break;
    }
    m_manualActive = false;
}

void TeachPad::RunJog() {
    InstallTeachPadHook();
    m_manualActive = true;
    // Shown as 0.0 when the controller does not tell its step.
    int increment = 0;
    QueryVariable("INCR", increment);
    for (;;) {
        StartPass("JOG\r");
        const RobotUi::ManualResult result = robotUi().ShowJogWindow(increment);
        EndPass();
        if (result == RobotUi::ManualResult::NewValue)
            AskNewIncrement(increment);
        else if (!HandlePadExit())
            break;
    }
    m_manualActive = false;
}
