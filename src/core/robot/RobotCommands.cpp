#include "core/robot/RobotCommands.h"

#include "core/base/CommandIds.h"
#include "core/base/CommandRegistry.h"
#include "core/protocol/Protocol.h"
#include "core/protocol/RobotExchange.h"
#include "core/robot/RobotUi.h"
#include "core/robot/TeachPad.h"

#include <string>

namespace {

constexpr std::uint16_t kCartesianCode = poscode::kCartesian;

// Shows a position read from the arm; nothing when the read fails. Rows a short answer leaves
// unread show 0.
void ShowPosition(bool cartesian, const char* title) {
    PositionRecord record;
    if (cartesian)
        record.code = kCartesianCode;
    if (!ReadPosition(record))
        return;
    robotUi().EditPosition(record, title, cartesian, false);
}

void SendWord(const char* word) {
    protocol().SendCommand(word);
}

} // namespace

void ShowJointPosition() {
    ShowPosition(false, "Joint position");
}

void ShowCartesianPosition() {
    ShowPosition(true, "Cartesian Position");
}

void JointAbsoluteMove() {
    PositionRecord record;
    if (!ReadJoints(record.values))
        return;
    if (robotUi().EditPosition(record, "Joint Absolute Move", false, true))
        MoveJoints(record, false);
}

void JointRelativeMove() {
    PositionRecord offsets;
    if (robotUi().EditPosition(offsets, "Joint Relative Move", false, true))
        MoveJoints(offsets, true);
}

void CartesianAbsoluteMove() {
    PositionRecord record;
    record.code = kCartesianCode;
    if (!ReadCartesian(record.values))
        return;
    if (robotUi().EditPosition(record, "Cartesian Absolute Move", true, true))
        MoveCartesian(record);
}

// The offset is added on the PC and the controller is sent an absolute move to the sum.
void CartesianRelativeMove() {
    PositionRecord current;
    current.code = kCartesianCode;
    if (!ReadCartesian(current.values))
        return;
    PositionRecord offsets;
    offsets.code = kCartesianCode;
    if (!robotUi().EditPosition(offsets, "Cartesian Relative Move", true, true))
        return;
    AddRecord(current, offsets);
    MoveCartesian(current);
}

// The controller is asked each time; under simulation its fixed, non-zero answer makes this send
// "UNGRIP".
void GripToggle() {
    int closed = 0;
    if (!QueryNumber("FGRIP C@ .", closed))
        return;
    SendWord(closed != 0 ? "UNGRIP" : "GRIP");
}

const std::vector<RobotCommandInfo>& RobotCommandTable() {
    static const std::vector<RobotCommandInfo> table = {
        {ID_ROBOT_JOINT_POSITION, ""},
        {ID_ROBOT_CARTESIAN_POSITION, ""},
        {ID_ROBOT_JOINT_ABS_MOVE, ""},
        {ID_ROBOT_JOINT_REL_MOVE, ""},
        {ID_ROBOT_CARTESIAN_ABS_MOVE, ""},
        {ID_ROBOT_CARTESIAN_REL_MOVE, ""},
        {ID_ROBOT_START, "START"},
        {ID_ROBOT_CALIBRATE, "CALIBRATE"},
        {ID_ROBOT_HOME, "HOME"},
        {ID_ROBOT_TEACH, ""},
        {ID_ROBOT_JOG, ""},
        {ID_ROBOT_GRIP_TOGGLE, ""},
        {ID_ROBOT_JOINT_MODE, "JOINT"},
        {ID_ROBOT_CARTESIAN_MODE, "CARTESIAN"},
        {ID_ROBOT_SEGMENTED, "SEGMENTED"},
        {ID_ROBOT_CONTINUOUS, "CONTINUOUS"},
        {ID_ROBOT_SMOOTH, "SMOOTH"},
    };
    return table;
}

void BindRobotActions(CommandRegistry& registry) {
    InstallTeachPadHook();
    const CommandRegistry::Rule ready = [] { return LinkReady(); };
    registry.Bind(ID_ROBOT_JOINT_POSITION, ShowJointPosition, ready);
    registry.Bind(ID_ROBOT_CARTESIAN_POSITION, ShowCartesianPosition, ready);
    registry.Bind(ID_ROBOT_JOINT_ABS_MOVE, JointAbsoluteMove, ready);
    registry.Bind(ID_ROBOT_JOINT_REL_MOVE, JointRelativeMove, ready);
    registry.Bind(ID_ROBOT_CARTESIAN_ABS_MOVE, CartesianAbsoluteMove, ready);
    registry.Bind(ID_ROBOT_CARTESIAN_REL_MOVE, CartesianRelativeMove, ready);
    registry.Bind(
        ID_ROBOT_TEACH, [] { teachPad().RunTeach(); }, ready);
    registry.Bind(
        ID_ROBOT_JOG, [] { teachPad().RunJog(); }, ready);
    registry.Bind(ID_ROBOT_GRIP_TOGGLE, GripToggle, ready);
    for (const RobotCommandInfo& info : RobotCommandTable()) {
        if (info.word[0] == '\0')
            continue;
        const char* word = info.word;
        registry.Bind(
            info.id, [word] { SendWord(word); }, ready);
    }
}
