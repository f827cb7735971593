#include "core/protocol/ArmProfile.h"

#include "core/base/CoreState.h"

#include <algorithm>

namespace {

// The arm of a fresh settings profile: six joints and six Cartesian axes with their usual names.
class DefaultArm : public ArmProfile {
public:
    int JointCount() const override { return 6; }
    int CartesianAxisCount() const override { return 6; }
    std::string JointName(int i) const override {
        static const char* const names[] = {"Waist", "Shoulder", "Elbow", "Hand", "Wrist", "Yaw"};
        return i >= 0 && i < kMaxAxes ? names[i] : "";
    }
    std::string AxisName(int i) const override {
        static const char* const names[] = {"X", "Y", "Z", "pitch", "roll", "yaw"};
        return i >= 0 && i < kMaxAxes ? names[i] : "";
    }
};

DefaultArm g_defaultArm;

// The profile installed in the core (reset with it).
struct InstalledArm {
    ArmProfile* profile = nullptr;
};

int Limit(int count) {
    return std::clamp(count, 1, ArmProfile::kMaxAxes);
}

} // namespace

ArmProfile& armProfile() {
    ArmProfile* installed = coreState().Get<InstalledArm>().profile;
    return installed ? *installed : g_defaultArm;
}

void SetArmProfile(ArmProfile* profile) {
    coreState().Get<InstalledArm>().profile = profile;
}

int JointCount() {
    return Limit(armProfile().JointCount());
}

int CartesianAxisCount() {
    return Limit(armProfile().CartesianAxisCount());
}
