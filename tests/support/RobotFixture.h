#pragma once

#include "core/link/CommLink.h"
#include "core/protocol/Protocol.h"
#include "core/robot/TeachPad.h"
#include "support/FixedArm.h"
#include "support/ProtocolFakeLink.h"
#include "support/ScriptedController.h"
#include "support/ScriptedRobotUi.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

// A link on a fake port with a scripted controller and scripted robot windows.
class RobotFixture : public ::testing::Test {
protected:
    using Lines = std::vector<std::string>;

    // Delivers everything the controller has queued to print.
    void Flush() { DeliverEvents(ui); }

    ScriptedUi ui;
    ScriptedController controller{ui};
    FakeLinkScope link{controller};
    ScriptedRobotUi windows;
    ScreenScope screen{{&ui, &windows}};
    FixedArm arm{6, 6};
};
