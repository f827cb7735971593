#pragma once

#include "core/protocol/PositionRecord.h"

#include <string>

// The robot commands' windows, as the plain core sees them: the position dialog and the teach pad
// and jog windows. One seam of the Screen (core/base/Screen.h): the program installs the Qt dialogs,
// tests a scripted implementation.
class RobotUi {
public:
    // How a teach or jog window ended: its default button ("New Speed", "New Increment") or
    // "Escape" (also a pad signal's close request).
    enum class ManualResult { NewValue, Escape };

    virtual ~RobotUi() = default;

    // The position dialog: shows `record` in the joint or Cartesian layout with `title`. Editable:
    // true on "OK" with the entered values in `record`. Display only: returns false when closed.
    virtual bool EditPosition(PositionRecord& record, const std::string& title, bool cartesian,
                              bool editable) = 0;

    // "Manual Joint Control" showing the creep factor, until "New Speed" or "Escape".
    virtual ManualResult ShowTeachWindow(int creepFactor) = 0;
    // "Manual Control speed" preset with `speed`; true on "OK" with the new speed (1 to 255).
    virtual bool AskTeachSpeed(int& speed) = 0;
    // "Jog (Manual Cartesian Control)" showing the increment (tenths of a millimetre).
    virtual ManualResult ShowJogWindow(int increment) = 0;
    // "Jog Increment" preset with `millimetres`; true on "OK" with the new value (0.1 to 25.5).
    virtual bool AskJogIncrement(float& millimetres) = 0;
    // Asks the teach or jog window that is up, if any, to close as if "Escape" had been pressed.
    // The request is queued: the window ends from its own event loop.
    virtual void CloseManualWindow() = 0;
};

// The installed robot windows; never null (a default that shows nothing and answers "Escape").
RobotUi& robotUi();
