#include "core/app/DemonstrationProfile.h"

#include "core/base/ProfileStore.h"
#include "core/link/CommLink.h"

bool UseDemonstrationProfile() {
    if (!GetProfileString("Config", "filename").empty())
        return false;
    if (!GetProfileString("Communication", "device").empty())
        return false;
    // A port chosen in "Configure..." counts as a configured device.
    return GetProfileInt("Communication", "port", -1) < 0;
}

bool ApplyDemonstrationProfile() {
    if (!UseDemonstrationProfile())
        return false;
    commLink().Simulate = true;
    return true;
}
