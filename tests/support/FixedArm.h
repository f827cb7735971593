#pragma once

#include "core/protocol/ArmProfile.h"

#include <string>
#include <vector>

// An arm profile with chosen counts and names, installed for the life of the object.
class FixedArm : public ArmProfile {
public:
    FixedArm(int joints, int axes) : joints(joints), axes(axes) { SetArmProfile(this); }
    ~FixedArm() override { SetArmProfile(nullptr); }

    int JointCount() const override { return joints; }
    int CartesianAxisCount() const override { return axes; }
    std::string JointName(int i) const override { return Name(jointNames, i); }
    std::string AxisName(int i) const override { return Name(axisNames, i); }

    int joints;
    int axes;
    std::vector<std::string> jointNames = {"Waist", "Shoulder", "Elbow", "Hand", "Wrist", "Yaw"};
    std::vector<std::string> axisNames = {"X", "Y", "Z", "pitch", "roll", "yaw"};

private:
    static std::string Name(const std::vector<std::string>& names, int i) {
        return i >= 0 && i < static_cast<int>(names.size()) ? names[static_cast<size_t>(i)] : "";
    }
};
