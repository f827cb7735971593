// The console's arm words: positions, moves, modes, the gripper and the teach pad.
#include "ConsoleModel.h"

void ConsoleModel::RegisterArmWords() {
    DefineVariable("CREEP-FACTOR", 10);
    DefineVariable("INCR", 10);
    DefineVariable("CARTMODE", 0);
    DefineVariable("FGRIP", 0);
    DefineVariable("MSP", 0);

    auto report = [this](const AxisValues& values, int count) {
        for (int i = 0; i < count; ++i)
            Answer(FormatNumber(values[size_t(i)]) + " ");
    };
    Builtin("GF", [this, report] { report(m_arm.Joints(), m_arm.JointCount()); });
    Builtin("CF", [this, report] { report(m_arm.Cartesian(), m_arm.CartesianCount()); });
    // Moves take their values last axis first, so the first axis is on top of the stack.
    Builtin("JMA", [this] {
        m_arm.SetJoints(PopValues(m_arm.JointCount(), m_arm.Joints()));
        StartMotion();
    });
    Builtin("JMR", [this] {
        AxisValues delta = PopValues(m_arm.JointCount(), AxisValues{});
        AxisValues joints = m_arm.Joints();
        for (size_t i = 0; i < joints.size(); ++i)
            joints[i] = int16_t(joints[i] + delta[i]);
        m_arm.SetJoints(joints);
        StartMotion();
    });
    Builtin("CM", [this] {
        m_arm.SetCartesian(PopValues(m_arm.CartesianCount(), m_arm.Cartesian()));
        StartMotion();
    });
    Builtin("START", [this] { m_arm.Start(); });
    Builtin("CALIBRATE", [this] {
        m_arm.Calibrate();
        StartMotion();
    });
    Builtin("HOME", [this] {
        m_arm.Home();
        StartMotion();
    });
    Builtin("GRIP", [this] { m_memory.SetSystemWord(VariableAddress("FGRIP"), 1); });
    Builtin("UNGRIP", [this] { m_memory.SetSystemWord(VariableAddress("FGRIP"), 0); });
    Builtin("JOINT", [this] { m_memory.SetSystemWord(VariableAddress("CARTMODE"), 0); });
    Builtin("CARTESIAN", [this] { m_memory.SetSystemWord(VariableAddress("CARTMODE"), 1); });
    for (const char* mode : {"SEGMENTED", "CONTINUOUS", "SMOOTH"})
        Builtin(mode, [this, mode] { m_arm.SetPathMode(mode); });
    // The pad drives the arm until ESC; the rest of the line is not run.
    Builtin("(TEACH)", [this] { m_mode = Mode::Teach; });
    Builtin("JOG", [this] { m_mode = Mode::Jog; });
    // DLD: six values, sixth first, into the record at an address of the RUN-LIST bank.
    Builtin("DLD", [this] {
        uint32_t address = uint16_t(Pop());
        AxisValues values = PopValues(6, AxisValues{});
        for (size_t i = 0; i < values.size(); ++i)
            m_memory.SetWord(RunListStore::kBank, address + 2 * uint32_t(i), uint16_t(values[i]));
    });
}
