#include "core/protocol/RobotExchange.h"
#include "core/app/CoreWiring.h"
#include "core/link/CommLink.h"
#include "core/protocol/Protocol.h"
#include "support/FixedArm.h"
#include "support/ProtocolFakeLink.h"
#include "support/ScriptedController.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

PositionRecord Record(std::initializer_list<int> values, std::uint16_t code = 0) {
    PositionRecord r;
    int i = 0;
    for (int v : values)
        r.values[i++] = static_cast<std::int16_t>(v);
    r.code = code;
    return r;
}

// A link on a fake port whose controller answers from a script.
class Exchange : public ::testing::Test {
protected:
    ScriptedUi ui;
    ScriptedController controller{ui};
    FakeLinkScope link{controller};
    FixedArm arm{5, 3};
};

TEST_F(Exchange, MovesSendValuesFromTheLastAxisToTheFirst) {
    EXPECT_TRUE(MoveJoints(Record({100, 0, -50, 0, 25, 999}), false));
    EXPECT_TRUE(MoveJoints(Record({-1, 2, -3, 4, -32768}), true));
    EXPECT_TRUE(MoveCartesian(Record({1234, -5, 70, 11, 12, 13}, 2)));
    EXPECT_EQ(controller.lines,
              (Lines{"DECIMAL 25 0 -50 0 100 JMA", "DECIMAL -32768 4 -3 2 -1 JMR", "DECIMAL 70 -5 1234 CM"}));
    EXPECT_EQ(controller.raw.back(), '\r');
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Exchange, LoadPlaceAlwaysSendsSixValuesAndStoreVariableItsNumber) {
    const AxisValues values = {1, 2, 3, 4, 5, -6};
    EXPECT_TRUE(LoadPlace(values, "CORNER"));
    EXPECT_TRUE(LoadPlace(values, "PATH 3 LINE"));
    EXPECT_TRUE(StoreVariable("CREEP-FACTOR", 3));
    EXPECT_TRUE(StoreVariable("INCR", -7));
    EXPECT_EQ(controller.lines,
              (Lines{"DECIMAL -6 5 4 3 2 1 CORNER DLD", "DECIMAL -6 5 4 3 2 1 PATH 3 LINE DLD",
                     "DECIMAL 3 CREEP-FACTOR !", "DECIMAL -7 INCR !"}));
    EXPECT_EQ(ui.boxTexts, Lines(4, "Waiting for controller"));
}

TEST_F(Exchange, MovesWaitUnderTheHeldBoxOfTheirKind) {
    EXPECT_TRUE(MoveJoints(Record({}), false));
    EXPECT_TRUE(MoveCartesian(Record({}, 2)));
    EXPECT_EQ(ui.boxTexts, (Lines{"Robot moving", "Robot Moving"}));
    EXPECT_EQ(ui.boxStyle, WaitBoxStyle::Plain);
    EXPECT_FALSE(ui.boxOpen);
    EXPECT_FALSE(protocol().heldBox);
}

TEST_F(Exchange, CancellingAMoveEndsTheWaitAndSendsNothingMore) {
    controller.silentLines.insert("DECIMAL 0 0 0 0 0 JMA");
    ui.events.push_back([] { protocol().WaitBoxClosed(); });
    EXPECT_FALSE(MoveJoints(Record({}), false));
    EXPECT_FALSE(ui.boxOpen);
    EXPECT_FALSE(protocol().heldBox);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(controller.lines.size(), 1u);
    EXPECT_EQ(protocol().ReplyState, reply::kCollecting);
}

TEST_F(Exchange, RefusedMoveReportsOkExpected) {
    controller.refused.insert("DECIMAL 0 0 0 CM");
    EXPECT_FALSE(MoveCartesian(Record({}, 2)));
    EXPECT_EQ(ui.messages, Lines{"OK expected"});
    EXPECT_FALSE(protocol().heldBox);
}

TEST_F(Exchange, NothingIsSentAndNoBoxShownWhileTheLinkIsClosed) {
    protocol().ReplyState = reply::kNotOpen;
    EXPECT_FALSE(MoveJoints(Record({}), false));
    int n = 4;
    EXPECT_FALSE(QueryNumber("1 2 +", n));
    EXPECT_EQ(n, 4);
    EXPECT_TRUE(ui.boxTexts.empty());
    EXPECT_TRUE(controller.raw.empty());
    EXPECT_EQ(ui.messages, Lines(2, "Communication is not open"));
}

TEST_F(Exchange, PositionAnswersFillAsManyAxesAsTheProfileHas) {
    controller.answers["DECIMAL GF"] = "10 -20 30 40 50 60 70 ";
    controller.answers["DECIMAL CF"] = "-1 2 ";
    PositionRecord joints = Record({9, 9, 9, 9, 9, 9});
    EXPECT_TRUE(ReadPosition(joints));
    EXPECT_EQ(joints, Record({10, -20, 30, 40, 50, 9}));

    // A short answer still counts as read; the axes it leaves out keep their values.
    PositionRecord cartesian = Record({9, 9, 9, 9, 9, 9}, 2);
    EXPECT_TRUE(ReadPosition(cartesian));
    EXPECT_EQ(cartesian, Record({-1, 2, 9, 9, 9, 9}, 2));
    EXPECT_EQ(controller.lines, (Lines{"DECIMAL GF", "DECIMAL CF"}));
}

TEST_F(Exchange, PositionReadWithAnEmptyAnswerFailsAndChangesNothing) {
    AxisValues values = {1, 2, 3, 4, 5, 6};
    EXPECT_FALSE(ReadJoints(values)); // "DECIMAL GF OK": no answer area
    controller.refused.insert("DECIMAL CF");
    EXPECT_FALSE(ReadCartesian(values));
    EXPECT_EQ(values[0], 1);
    EXPECT_EQ(values[5], 6);
    EXPECT_EQ(ui.messages, Lines{"OK expected"});
}

TEST_F(Exchange, AxisAnswersStopAtTheFirstUnreadableNumber) {
    AxisValues values = {0, 0, 0, 0, 0, 0};
    EXPECT_EQ(ParseAxisValues("  7\t-8 12ab 5", 6, values), 3);
    EXPECT_EQ(values[2], 12);
    EXPECT_EQ(ParseAxisValues("1 40000 3", 6, values), 1);
    EXPECT_EQ(values[1], -8);
    EXPECT_EQ(ParseAxisValues("-32768 32767", 2, values), 2);
    EXPECT_EQ(values[0], -32768);
}

TEST_F(Exchange, NumericQueriesReadTheLeadingNumber) {
    controller.answers["DECIMAL FGRIP C@ ."] = "1 ";
    controller.answers["DECIMAL CREEP-FACTOR ?"] = " -12 ";
    controller.answers["DECIMAL INCR ?"] = "x ";
    int grip = -1, creep = -1, incr = -1;
    EXPECT_TRUE(QueryNumber("FGRIP C@ .", grip));
    EXPECT_TRUE(QueryVariable("CREEP-FACTOR", creep));
    EXPECT_TRUE(QueryVariable("INCR", incr));
    EXPECT_EQ(grip, 1);
    EXPECT_EQ(creep, -12);
    EXPECT_EQ(incr, 0);

    int unchanged = 5;
    controller.refused.insert("DECIMAL NOPE ?");
    EXPECT_FALSE(QueryVariable("NOPE", unchanged));
    EXPECT_EQ(unchanged, 5);
}

// The built-in simulated controller answers every line with " simOK".
class SimulatedExchange : public ::testing::Test {
protected:
    void SetUp() override {
        ResetCore();
        commLink().Simulate = true;
        commLink().OpenCommunication();
    }
    void TearDown() override { ResetCore(); }
    ScriptedUi ui;
    FixedArm arm{6, 6};
};

TEST_F(SimulatedExchange, NumericQueriesYieldTheFixedAnswerAndPositionReadsSucceedEmpty) {
    int n = 0;
    EXPECT_TRUE(QueryNumber("FGRIP C@ .", n));
    EXPECT_EQ(n, SimulatedController::kQueryAnswer);
    EXPECT_TRUE(QueryVariable("CREEP-FACTOR", n));
    EXPECT_EQ(n, SimulatedController::kQueryAnswer);
    AxisValues values = {1, 2, 3, 4, 5, 6};
    EXPECT_TRUE(ReadJoints(values));
    EXPECT_EQ(values[0], 1);
    EXPECT_EQ(values[5], 6);
    EXPECT_TRUE(MoveCartesian(Record({}, 2)));
    EXPECT_TRUE(ui.messages.empty());
}

} // namespace
