#include "core/robot/RobotCommands.h"
#include "core/base/CommandIds.h"
#include "core/base/CommandRegistry.h"
#include "support/RobotFixture.h"

namespace {

class RobotCommands : public RobotFixture {
protected:
    void SetUp() override {
        RobotFixture::SetUp();
        BindRobotActions(registry);
    }
    // The position dialog's "OK" after typing `values` into its rows.
    void TypeAndOk(std::initializer_list<int> typed) {
        windows.edits.push_back([values = std::vector<int>(typed)](PositionRecord& r) {
            int i = 0;
            for (int v : values)
                r.values[i++] = static_cast<std::int16_t>(v);
            return true;
        });
    }
    CommandRegistry registry;
};

TEST_F(RobotCommands, EveryCommandIsBoundAndEnabledOnlyWhileTheLinkIsIdle) {
    ASSERT_EQ(RobotCommandTable().size(), 17u);
    for (int state :
         {reply::kIdle, reply::kNotOpen, reply::kCollecting, reply::kPromptOnly, reply::kCancelled}) {
        protocol().ReplyState = state;
        for (const RobotCommandInfo& info : RobotCommandTable()) {
            EXPECT_TRUE(registry.IsBound(info.id)) << info.id;
            EXPECT_EQ(registry.IsEnabled(info.id), state == reply::kIdle) << info.id << " in " << state;
        }
    }
    EXPECT_FALSE(registry.Run(ID_ROBOT_HOME));
    EXPECT_TRUE(controller.raw.empty());
}

TEST_F(RobotCommands, SingleWordCommandsSendTheirWord) {
    for (int id : {ID_ROBOT_START, ID_ROBOT_CALIBRATE, ID_ROBOT_HOME, ID_ROBOT_JOINT_MODE,
                   ID_ROBOT_CARTESIAN_MODE, ID_ROBOT_SEGMENTED, ID_ROBOT_CONTINUOUS, ID_ROBOT_SMOOTH})
        EXPECT_TRUE(registry.Run(id));
    EXPECT_EQ(controller.lines, (Lines{"START", "CALIBRATE", "HOME", "JOINT", "CARTESIAN", "SEGMENTED",
                                       "CONTINUOUS", "SMOOTH"}));
}

TEST_F(RobotCommands, PositionDisplaysShowWhatWasReadWithoutEditing) {
    controller.answers["DECIMAL GF"] = "1 2 3 4 5 6 ";
    controller.answers["DECIMAL CF"] = "100 -200 ";
    registry.Run(ID_ROBOT_JOINT_POSITION);
    registry.Run(ID_ROBOT_CARTESIAN_POSITION);
    ASSERT_EQ(windows.shown.size(), 2u);
    EXPECT_FALSE(windows.shown[0].cartesian);
    EXPECT_FALSE(windows.shown[0].editable);
    EXPECT_EQ(windows.shown[0].record.values[5], 6);
    EXPECT_TRUE(windows.shown[1].cartesian);
    EXPECT_EQ(windows.shown[1].record.code, 2);
    // The rows a short answer leaves out show 0.
    EXPECT_EQ(windows.shown[1].record.values[1], -200);
    EXPECT_EQ(windows.shown[1].record.values[2], 0);
    EXPECT_EQ(controller.lines, (Lines{"DECIMAL GF", "DECIMAL CF"}));
}

TEST_F(RobotCommands, AFailedReadShowsNoDialogAndSendsNothingMore) {
    controller.refused = {"DECIMAL GF", "DECIMAL CF"};
    for (int id : {ID_ROBOT_JOINT_POSITION, ID_ROBOT_CARTESIAN_POSITION, ID_ROBOT_JOINT_ABS_MOVE,
                   ID_ROBOT_CARTESIAN_ABS_MOVE, ID_ROBOT_CARTESIAN_REL_MOVE}) {
        protocol().ReplyState = reply::kIdle;
        registry.Run(id);
    }
    EXPECT_TRUE(windows.shown.empty());
    EXPECT_EQ(controller.lines,
              (Lines{"DECIMAL GF", "DECIMAL CF", "DECIMAL GF", "DECIMAL CF", "DECIMAL CF"}));
}

TEST_F(RobotCommands, JointMovesSendTheEnteredValues) {
    controller.answers["DECIMAL GF"] = "10 20 30 40 50 60 ";
    TypeAndOk({11, 21});
    registry.Run(ID_ROBOT_JOINT_ABS_MOVE);
    TypeAndOk({0, -5, 0, 0, 0, 7});
    registry.Run(ID_ROBOT_JOINT_REL_MOVE);
    registry.Run(ID_ROBOT_JOINT_ABS_MOVE); // "Cancel": nothing is moved
    ASSERT_EQ(windows.shown.size(), 3u);
    EXPECT_EQ(windows.shown[0].record.values[2], 30);
    EXPECT_TRUE(windows.shown[0].editable);
    EXPECT_EQ(windows.shown[1].record, PositionRecord{});
    EXPECT_EQ(controller.lines, (Lines{"DECIMAL GF", "DECIMAL 60 50 40 30 21 11 JMA",
                                       "DECIMAL 7 0 0 0 -5 0 JMR", "DECIMAL GF"}));
}

TEST_F(RobotCommands, CartesianRelativeMoveAddsTheOffsetOnThePcWrapping) {
    arm.axes = 3;
    controller.answers["DECIMAL CF"] = "32000 -100 5 ";
    TypeAndOk({1000, -32700, 0});
    registry.Run(ID_ROBOT_CARTESIAN_REL_MOVE);
    // Zero deltas send the current position back.
    windows.edits.push_back([](PositionRecord&) { return true; });
    registry.Run(ID_ROBOT_CARTESIAN_REL_MOVE);
    ASSERT_EQ(windows.shown.size(), 2u);
    EXPECT_TRUE(windows.shown[0].cartesian);
    EXPECT_TRUE(IsZeroRecord(windows.shown[0].record));
    EXPECT_EQ(controller.lines,
              (Lines{"DECIMAL CF", "DECIMAL 5 32736 -32536 CM", "DECIMAL CF", "DECIMAL 5 -100 32000 CM"}));
}

TEST_F(RobotCommands, CartesianAbsoluteMoveStartsFromThePositionRead) {
    controller.answers["DECIMAL CF"] = "1 2 3 4 5 6 ";
    windows.edits.push_back([](PositionRecord& r) {
        r.values[3] = -3600;
        return true;
    });
    registry.Run(ID_ROBOT_CARTESIAN_ABS_MOVE);
    ASSERT_EQ(windows.shown.size(), 1u);
    EXPECT_EQ(windows.shown[0].record.values[0], 1);
    EXPECT_EQ(controller.lines, (Lines{"DECIMAL CF", "DECIMAL 6 5 -3600 3 2 1 CM"}));
}

TEST_F(RobotCommands, GripToggleFollowsTheQueriedFlag) {
    controller.answers["DECIMAL FGRIP C@ ."] = "0 ";
    registry.Run(ID_ROBOT_GRIP_TOGGLE);
    controller.answers["DECIMAL FGRIP C@ ."] = "1 ";
    registry.Run(ID_ROBOT_GRIP_TOGGLE);
    controller.answers["DECIMAL FGRIP C@ ."] = "-3 ";
    registry.Run(ID_ROBOT_GRIP_TOGGLE);
    controller.refused.insert("DECIMAL FGRIP C@ .");
    protocol().ReplyState = reply::kIdle;
    registry.Run(ID_ROBOT_GRIP_TOGGLE);
    EXPECT_EQ(controller.lines, (Lines{"DECIMAL FGRIP C@ .", "GRIP", "DECIMAL FGRIP C@ .", "UNGRIP",
                                       "DECIMAL FGRIP C@ .", "UNGRIP", "DECIMAL FGRIP C@ ."}));
}

} // namespace
