#include "core/protocol/RobotExchange.h"
#include "core/link/CommLink.h"
#include "core/protocol/Protocol.h"
#include "support/CoreTest.h"
#include "support/FixedArm.h"
#include "support/ImageBuilder.h"

#include <tuple>

namespace {

using Lines = std::vector<std::string>;
PositionRecord Record(std::initializer_list<int> values, std::uint16_t code = 0) {
    return ImageBuilder::Record(values, code);
}

class Exchange : public CoreTest {};

// The command texts: decimal values from the last axis to the first, as many as the arm has.
TEST_F(Exchange, CommandTexts) {
    FixedArm arm(5, 3);
    controller.NewConsole(5, 3);
    controller.Run("PLACE P1");
    Sent();
    const std::vector<bool> accepted = {MoveJoints(Record({100, 0, -50, 0, 25, 999}), false),
                                        MoveJoints(Record({-1, 2, -3, 4, -5}), true),
                                        MoveCartesian(Record({1234, -5, 70, 11}, 2)),
                                        LoadPlace({1, 2, 3, 4, 5, -6}, "P1"),
                                        StoreVariable("CREEP-FACTOR", 3),
                                        StoreVariable("INCR", -7)};
    EXPECT_EQ(accepted, std::vector<bool>(6, true));
    EXPECT_EQ(Sent(),
              (Lines{"DECIMAL 25 0 -50 0 100 JMA", "DECIMAL -5 4 -3 2 -1 JMR", "DECIMAL 70 -5 1234 CM",
                     "DECIMAL -6 5 4 3 2 1 P1 DLD", "DECIMAL 3 CREEP-FACTOR !", "DECIMAL -7 INCR !"}));
    EXPECT_EQ(controller.Run("DECIMAL CF"), "DECIMAL CF  1234 -5 70 OK\r\n>");
    EXPECT_EQ(controller.Control("var INCR"), "65529\nok\n");
    EXPECT_TRUE(ui.messages.empty());
    // Moves wait under the held box of their kind, every other exchange under the plain one.
    EXPECT_EQ(ui.boxTexts, (Lines{"Robot moving", "Robot moving", "Robot Moving", "Waiting for controller",
                                  "Waiting for controller", "Waiting for controller"}));
    EXPECT_FALSE(protocol().heldBox);
}

TEST_F(Exchange, ReadsFillTheAxesTheAnswerHoldsAndQueriesReadTheLeadingNumber) {
    FixedArm arm(6, 6);
    controller.NewConsole(5, 3); // a controller that answers with fewer values than the profile has
    controller.Run("DECIMAL 50 40 30 20 -10 JMA");
    PositionRecord joints = Record({9, 9, 9, 9, 9, 9});
    EXPECT_TRUE(ReadPosition(joints));
    EXPECT_EQ(joints, Record({-10, 20, 30, 40, 50, 9}));
    AxisValues cartesian = {9, 9, 9, 9, 9, 9};
    controller.Run("DECIMAL 300 -200 100 CM");
    EXPECT_TRUE(ReadCartesian(cartesian));
    EXPECT_EQ(std::vector<int>(cartesian, cartesian + 6), (std::vector<int>{100, -200, 300, 9, 9, 9}));

    controller.Control("set CREEP-FACTOR 12");
    controller.Run("GRIP");
    int grip = -1, creep = -1, unchanged = 5;
    const std::vector<bool> accepted = {QueryNumber("FGRIP C@ .", grip), QueryVariable("CREEP-FACTOR", creep),
                                        QueryVariable("NOPE", unchanged)};
    EXPECT_EQ(accepted, (std::vector<bool>{true, true, false}));
    EXPECT_EQ(std::make_tuple(grip, creep, unchanged), std::make_tuple(1, 12, 5));
    EXPECT_EQ(ui.messages, Lines{"OK expected"});
}

TEST_F(Exchange, RefusedOrCancelledMovesEndWithoutTheHeldBox) {
    controller.Control("errors 1");
    EXPECT_FALSE(MoveCartesian(Record({}, 2)));
    EXPECT_EQ(ui.messages, Lines{"OK expected"});
    controller.Control("movetime 1000"); // the move never ends: the operator cancels
    EXPECT_FALSE(MoveJoints(Record({}), false));
    EXPECT_EQ(std::make_tuple(protocol().ReplyState, protocol().heldBox, ui.boxOpen),
              std::make_tuple(reply::kCollecting, false, false));
}

TEST_F(Exchange, AxisAnswersStopAtTheFirstUnreadableNumber) {
    AxisValues values = {0, 0, 0, 0, 0, 9};
    const int counts[] = {ParseAxisValues("  -32768\t32767 12ab 5", 6, values),
                          ParseAxisValues("1 40000 3", 6, values), ParseAxisValues("-8 7", 1, values)};
    EXPECT_EQ(std::vector<int>(counts, counts + 3), (std::vector<int>{3, 1, 1}));
    EXPECT_EQ(std::vector<int>(values, values + 6), (std::vector<int>{-8, 32767, 12, 0, 0, 9}));
}

// Offsets add and subtract on every axis with 16-bit wrap; clearing keeps the zero field.
TEST(PositionRecordTest, OffsetsWrapOnEveryAxisAndClearingKeepsTheZeroField) {
    PositionRecord a = Record({30000, -30000, 1, 2, 3, 4}, 2), b = Record({10000, 10000, 5, 5, 5, 5});
    a.zero = 0x7777;
    PositionRecord sum = a;
    AddRecord(sum, b);
    EXPECT_EQ(std::vector<int>(sum.values, sum.values + 6), (std::vector<int>{-25536, -20000, 6, 7, 8, 9}));
    SubtractRecord(sum, b);
    EXPECT_EQ(sum, a);
    ClearRecord(a, 3);
    EXPECT_EQ(std::make_tuple(IsZeroRecord(a), a.code, a.zero), std::make_tuple(true, 3, 0x7777));
    ZeroValues(b);
    EXPECT_EQ(b, Record({}));
}

} // namespace
