#pragma once

#include <string>

// What the exchanges and the robot dialogs need to know about the attached arm: how many values a
// joint or a Cartesian position carries and what the axes are called. The settings profile provides
// it; tests install a fixed one.
class ArmProfile {
public:
    static constexpr int kMaxAxes = 6;

    virtual ~ArmProfile() = default;
    virtual int JointCount() const = 0;
    virtual int CartesianAxisCount() const = 0;
    // Names of axis i, counted from 0.
    virtual std::string JointName(int i) const = 0;
    virtual std::string AxisName(int i) const = 0;
};

// The profile in force; never null.
ArmProfile& armProfile();
// Installs a profile (not owned); nullptr goes back to the settings profile.
void SetArmProfile(ArmProfile* profile);

// A count from the profile limited to 1..6, so a damaged profile never makes an exchange overrun.
int JointCount();
int CartesianAxisCount();
