#include "core/robot/RobotCommands.h"
#include "core/base/CommandIds.h"
#include "core/base/CommandRegistry.h"
#include "core/protocol/Protocol.h"
#include "core/robot/PositionValues.h"
#include "core/robot/TeachPad.h"
#include "support/CoreTest.h"
#include "support/ImageBuilder.h"

#include <tuple>

namespace {

using Lines = std::vector<std::string>;
using Ints = std::vector<int>;
const std::string kEsc(1, 27);

class RobotCommands : public CoreTest {
protected:
    RobotCommands() { BindRobotActions(registry); }
    // The position dialog's "OK" after typing `values` into its first rows.
    void TypeAndOk(std::vector<int> values) {
        robot.edits.push_back([values](PositionRecord& r) {
            for (size_t i = 0; i < values.size(); ++i)
                r.values[i] = static_cast<std::int16_t>(values[i]);
        });
    }
    CommandRegistry registry;
};

// Each command with what it sends; the dialogs answer "OK" with the values typed, or "Cancel".
TEST_F(RobotCommands, EachCommandSendsItsLines) {
    controller.Run("DECIMAL 60 50 40 30 20 10 JMA");
    Sent();
    // The command, the values typed (none: "Cancel"), the lines sent.
    const std::tuple<int, Ints, Lines> rows[] = {
        {ID_ROBOT_JOINT_POSITION, {}, {"DECIMAL GF"}},
        {ID_ROBOT_JOINT_ABS_MOVE, {11, 21}, {"DECIMAL GF", "DECIMAL 60 50 40 30 21 11 JMA"}},
        {ID_ROBOT_JOINT_ABS_MOVE, {}, {"DECIMAL GF"}},
        {ID_ROBOT_JOINT_REL_MOVE, {0, -5, 0, 0, 0, 7}, {"DECIMAL 7 0 0 0 -5 0 JMR"}},
        {ID_ROBOT_CARTESIAN_POSITION, {}, {"DECIMAL CF"}},
        {ID_ROBOT_CARTESIAN_ABS_MOVE,
         {32000, -100, 5, 0, 0, 0},
         {"DECIMAL CF", "DECIMAL 0 0 0 5 -100 32000 CM"}},
        // The offset is added on the PC, wrapping at 16 bits, and sent as an absolute move.
        {ID_ROBOT_CARTESIAN_REL_MOVE, {1000, -32700}, {"DECIMAL CF", "DECIMAL 0 0 0 5 32736 -32536 CM"}},
        {ID_ROBOT_CARTESIAN_REL_MOVE, {}, {"DECIMAL CF"}},
        {ID_ROBOT_START, {}, {"START"}},
        {ID_ROBOT_CALIBRATE, {}, {"CALIBRATE"}},
        {ID_ROBOT_HOME, {}, {"HOME"}},
        {ID_ROBOT_JOINT_MODE, {}, {"JOINT"}},
        {ID_ROBOT_CARTESIAN_MODE, {}, {"CARTESIAN"}},
        {ID_ROBOT_SEGMENTED, {}, {"SEGMENTED"}},
        {ID_ROBOT_CONTINUOUS, {}, {"CONTINUOUS"}},
        {ID_ROBOT_SMOOTH, {}, {"SMOOTH"}},
        {ID_ROBOT_GRIP_TOGGLE, {}, {"DECIMAL FGRIP C@ .", "GRIP"}},
        {ID_ROBOT_GRIP_TOGGLE, {}, {"DECIMAL FGRIP C@ .", "UNGRIP"}},
    };
    for (const auto& [id, typed, sent] : rows) {
        if (!typed.empty())
            TypeAndOk(typed);
        EXPECT_TRUE(registry.Run(id));
        EXPECT_EQ(Sent(), sent) << id;
    }
    EXPECT_TRUE(ui.messages.empty());
    // Each dialog with its title and layout, for editing only in the moves; the dialogs showed what
    // was read, relative moves start at zero.
    // (C: Cartesian, e: editable.)
    std::string shown;
    for (const auto& dialog : robot.shown)
        shown += dialog.title + (dialog.cartesian ? " C" : "") + (dialog.editable ? " e," : ",");
    EXPECT_EQ(shown, "Joint position,Joint Absolute Move e,Joint Absolute Move e,Joint Relative Move e,"
                     "Cartesian Position C,Cartesian Absolute Move C e,Cartesian Relative Move C e,"
                     "Cartesian Relative Move C e,");
    EXPECT_EQ(robot.shown[0].record, ImageBuilder::Record({10, 20, 30, 40, 50, 60}));
    // The absolute move's third joint, the Cartesian position's code, the relative moves zero.
    EXPECT_EQ((Ints{robot.shown[1].record.values[2], robot.shown[4].record.code,
                    robot.shown[3].record == PositionRecord{} && IsZeroRecord(robot.shown[6].record)}),
              (Ints{30, 2, 1}));
}

TEST_F(RobotCommands, AFailedReadShowsNoDialogAndAClosedLinkDisablesEveryCommand) {
    for (int id : {ID_ROBOT_JOINT_POSITION, ID_ROBOT_CARTESIAN_ABS_MOVE, ID_ROBOT_GRIP_TOGGLE}) {
        controller.Control("errors 1");
        protocol().ReplyState = reply::kIdle;
        registry.Run(id);
    }
    EXPECT_TRUE(robot.shown.empty());
    EXPECT_EQ(Sent(), (Lines{"DECIMAL GF", "DECIMAL CF", "DECIMAL FGRIP C@ ."}));
    protocol().ReplyState = reply::kNotOpen;
    EXPECT_FALSE(registry.Run(ID_ROBOT_HOME));
    EXPECT_TRUE(Sent().empty());
}

// The teach pad's own hook is installed by the commands themselves.
class TeachPadTest : public CoreTest {
protected:
    TeachPadTest() {
        teachPad().AppendLearnedLine = [this] { ++learned; };
        teachPad().DropLastLine = [this] { ++dropped; };
    }
    // A pass during which the controller's pad sends `signal` while the window is up.
    ScriptedRobotUi::ManualStep PadSends(const std::string& signal) {
        return {[this, signal] {
                    controller.Print(signal);
                    ui.RunEvents();
                },
                RobotUi::ManualResult::NewValue};
    }
    static ScriptedRobotUi::ManualStep Pressed(RobotUi::ManualResult result) { return {{}, result}; }
    int learned = 0;
    int dropped = 0;
};

TEST_F(TeachPadTest, PadSignalsCloseTheWindowAndStartTheNextPassUntilEscape) {
    controller.Control("set CREEP-FACTOR 12");
    robot.steps = {PadSends("$"), PadSends("%"), Pressed(RobotUi::ManualResult::NewValue)};
    robot.newValues = {40};
    teachPad().RunTeach(); // the second speed dialog is cancelled
    EXPECT_EQ(Sent(), (Lines{"DECIMAL CREEP-FACTOR ?", "(TEACH)", "(TEACH)", "(TEACH)",
                             "DECIMAL 40 CREEP-FACTOR !", "(TEACH)"}));
    EXPECT_EQ(robot.manualShown, (Ints{12, 12, 12, 40}));
    // ESCs sent, close requests, lines learned and dropped.
    EXPECT_EQ((Ints{int(std::count(controller.written.begin(), controller.written.end(), 27)),
                    robot.closeRequests, learned, dropped}),
              (Ints{4, 2, 1, 1}));
    EXPECT_EQ(controller.Control("var CREEP-FACTOR"), "40\nok\n");
    EXPECT_TRUE(!teachPad().ManualDialogActive() && protocol().ReplyState == reply::kIdle &&
                ui.messages.empty());
}

TEST_F(TeachPadTest, JogStoresTheIncrementInTenthsAndFailedQueriesOrStoresKeepThePcsValue) {
    robot.steps = {Pressed(RobotUi::ManualResult::NewValue), PadSends("$")};
    robot.newValues = {25}; // 2.5 mm
    teachPad().RunJog();
    EXPECT_EQ(robot.manualShown, (Ints{10, 25, 25}));
    EXPECT_EQ(controller.Control("var INCR"), "25\nok\n");
    EXPECT_EQ(learned, 1);

    robot.manualShown.clear();
    teachPad().CreepFactor = 9;
    controller.Control("errors 1");
    robot.steps = {Pressed(RobotUi::ManualResult::NewValue)};
    robot.newValues = {77};
    teachPad().RunTeach(); // the query fails: the PC keeps its value until a new one is typed
    EXPECT_EQ(robot.manualShown, (Ints{9, 77}));
    EXPECT_EQ(teachPad().CreepFactor, 77);
    EXPECT_EQ(ui.messages, Lines{"OK expected"});
}

// The value ranges of the robot dialogs' fields, with the messages that name them.
TEST(PositionValues, FieldsAcceptTheirRangeInclusiveAndNameItWhenRefusing) {
    // The text, the field's range, whether it takes integers, the message (empty: accepted), the value.
    const std::tuple<const char*, double, double, bool, const char*, double> rows[] = {
        {" 3276.0 ", -3276, 3276, false, "", 3276},
        {"0.1", 0.1, 25.5, false, "", 0.1},
        {"25.5", 0.1, 25.5, false, "", 25.5},
        {"-360.5", -360, 360, false, "Please enter a number between -360 and 360.", 0},
        {"0.05", 0.1, 25.5, false, "Please enter a number between 0.1 and 25.5.", 0},
        {"12mm", -3276, 3276, false, "Please enter a number.", 0},
        {"nan", -3276, 3276, false, "Please enter a number.", 0},
        {"1e999", -3276, 3276, false, "Please enter a number.", 0},
        {"", -3276, 3276, false, "Please enter a number.", 0},
        {"255", 1, 255, true, "", 255},
        {" -32768", -32768, 32767, true, "", -32768},
        {"0", 1, 255, true, "Please enter an integer between 1 and 255.", 0},
        {"99999999999999999999", -32768, 32767, true, "Please enter an integer between -32768 and 32767.", 0},
        {"1.5", -32768, 32767, true, "Please enter an integer.", 0},
        {"12x", -32768, 32767, true, "Please enter an integer.", 0},
    };
    for (const auto& [text, min, max, integer, message, value] : rows) {
        std::string said;
        float real = 7;
        long whole = 7;
        const bool ok = integer ? ReadIntegerField(text, long(min), long(max), whole, said)
                                : ReadRealField(text, float(min), float(max), real, said);
        EXPECT_EQ(std::make_tuple(ok, ok ? std::string() : said, integer ? double(whole) : double(real)),
                  std::make_tuple(!*message, std::string(message), ok ? double(float(value)) : 7.0))
            << text;
    }
    // Reals are kept in tenths, rounded toward the typed value; the jog step truncates.
    const std::pair<float, int> tenths[] = {
        {12.34f, 123}, {-1.25f, -13}, {0.05f, 0}, {-0.05f, -1}, {0.3f, 3}};
    for (const auto& [x, t] : tenths)
        EXPECT_EQ(TenthsFromReal(x), t) << x;
    EXPECT_EQ((Ints{JogIncrementFromMillimetres(0.7f), JogIncrementFromMillimetres(1.29f)}), (Ints{7, 12}));
}

} // namespace
