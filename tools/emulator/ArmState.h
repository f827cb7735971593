#pragma once

#include <array>
#include <cstdint>
#include <string>

using AxisValues = std::array<int16_t, 6>;

// The arm as the emulator plays it: six joint values, and a Cartesian position derived from them by a
// fixed offset per axis (no real kinematics, but joint and Cartesian answers differ and stay consistent:
// a Cartesian move changes the joints and the other way round).
class ArmState {
public:
    static constexpr AxisValues kCartesianOffset = {1000, 0, 2000, 0, 900, 0};

    ArmState(int joints = 6, int cartesianAxes = 6);

    int JointCount() const { return m_jointCount; }
    int CartesianCount() const { return m_cartesianCount; }

    const AxisValues& Joints() const { return m_joints; }
    AxisValues Cartesian() const;
    void SetJoints(const AxisValues& values) { m_joints = values; }
    void SetCartesian(const AxisValues& values);
    // The position in the form a record code asks for: Cartesian when bit 1 is set.
    AxisValues Position(bool cartesian) const { return cartesian ? Cartesian() : m_joints; }
    void MoveTo(const AxisValues& values, bool cartesian);

    void Home();
    void Calibrate();
    void Start() { m_started = true; }
    bool Started() const { return m_started; }
    bool Calibrated() const { return m_calibrated; }
    const std::string& PathMode() const { return m_pathMode; }
    void SetPathMode(const std::string& mode) { m_pathMode = mode; }

private:
    int m_jointCount;
    int m_cartesianCount;
    AxisValues m_joints{};
    bool m_started = false;
    bool m_calibrated = false;
    std::string m_pathMode = "SEGMENTED";
};
