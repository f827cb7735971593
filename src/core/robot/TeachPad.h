#pragma once

#include "core/protocol/Protocol.h"

#include <functional>

// Driving the arm from the controller's teach pad. A teach or jog command hands the arm to the pad
// in passes: put the controller into the mode, show the manual window, take the arm back with ESC.
// Between passes the operator may change the teach speed (CREEP-FACTOR) or the jog step (INCR).
// A "$" from the controller learns the arm's position into the active route, a "%" drops that
// route's last line; either closes the window and starts the next pass.
class TeachPad {
public:
    // Last known CREEP-FACTOR; kept for the whole run.
    int CreepFactor = 0;
    // How the current pass was ended by the pad: not at all, by a learn ("$") or by a drop ("%").
    PadSignal ExitCode = PadSignal::None;

    // Where a learned or dropped line reaches the project: its AppendLearnedLine and DropLastLine,
    // which act on the active route. Empty (nothing happens) until route editing is wired in.
    std::function<void()> AppendLearnedLine;
    std::function<void()> DropLastLine;

    // The "&Teach" and "Jo&g" commands.
    void RunTeach();
    void RunJog();

    // A pad signal from the reply tracker: records it and closes the manual window, if one is up.
    void Signal(PadSignal signal);
    bool ManualDialogActive() const { return m_manualActive; }

private:
    void StartPass(const char* modeText);
    void EndPass();
    // After a pass ended by the pad: hand the line to the project. False when the command ends.
    bool HandlePadExit();
    void AskNewSpeed();
    void AskNewIncrement(int& increment);

    bool m_manualActive = false;
};

// The program's teach pad state.
TeachPad& teachPad();

// Called by the reply tracker for "$" and "%" in the controller's output.
void TeachPadSignal(PadSignal signal);
// Connects the reply tracker's pad signals to TeachPadSignal.
void InstallTeachPadHook();
