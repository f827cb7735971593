#pragma once

#include "link/CommLink.h"
#include "protocol/Protocol.h"
#include "robot/ScriptedRobotUi.h"
#include "robot/TeachPad.h"
#include "support/FixedArm.h"
#include "support/ScriptedController.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

// A link on a fake port with a scripted controller and scripted robot windows.
class RobotFixture : public ::testing::Test {
protected:
    using Lines = std::vector<std::string>;

    void SetUp() override {
        ResetProtocol();
        ResetCommLink();
        ResetTeachPad();
        commLink().SetTransport(&controller);
        commLink().EnsureDocument();
        protocol().ReplyState = reply::kIdle;
    }
    void TearDown() override {
        ResetTeachPad();
        ResetProtocol();
        ResetCommLink();
    }
    // Delivers everything the controller has queued to print, as the event loop would.
    void Flush() {
        while (!ui.events.empty()) {
            auto event = std::move(ui.events.front());
            ui.events.pop_front();
            event();
        }
    }

    ScriptedUi ui;
    ScriptedController controller{ui};
    ScriptedRobotUi windows;
    FixedArm arm{6, 6};
};
