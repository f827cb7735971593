#include "ArmState.h"

ArmState::ArmState(int joints, int cartesianAxes) : m_jointCount(joints), m_cartesianCount(cartesianAxes) {}

AxisValues ArmState::Cartesian() const {
    AxisValues out{};
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = int16_t(m_joints[i] + kCartesianOffset[i]);
    return out;
}

void ArmState::SetCartesian(const AxisValues& values) {
    for (size_t i = 0; i < values.size(); ++i)
        m_joints[i] = int16_t(values[i] - kCartesianOffset[i]);
}

void ArmState::MoveTo(const AxisValues& values, bool cartesian) {
    if (cartesian)
        SetCartesian(values);
    else
        m_joints = values;
}

void ArmState::Home() {
    m_joints = AxisValues{};
}

void ArmState::Calibrate() {
    m_calibrated = true;
    Home();
}
