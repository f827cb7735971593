#pragma once

#include "core/base/Cfdoc.h"
#include "core/protocol/ArmProfile.h"
#include "core/robot/SettingsValues.h"

#include <string>
#include <vector>

// The settings profile: how many joints and Cartesian axes the attached arm has and what they are
// called, whether the controller is simulated and whether source downloads run in hide mode. Kept in a
// .cfg file; one instance lives for the whole run. The simulate and hide flags in force are the link's
// (commLink().Simulate, commLink().HideMode); the profile keeps them in step whenever it changes.
class CSettings : public Cfdoc, public ArmProfile {
public:
    CSettings();

    // ArmProfile: counts as stored, names counted from 0 (empty beyond the stored names).
    int JointCount() const override { return m_values.joints; }
    int CartesianAxisCount() const override { return m_values.cartesianAxes; }
    std::string JointName(int i) const override { return NameAt(m_values.jointNames, i); }
    std::string AxisName(int i) const override { return NameAt(m_values.axisNames, i); }

    // The flags in force, as the link holds them.
    bool SimulateFlag() const;
    bool HideModeFlag() const;
    int NewRouteCoordinates() const { return m_values.newRouteCoordinates; }
    // Every value of the profile with the flags in force, as a save writes them.
    SettingsValues CurrentValues() const;

    // "OK" of the "Configuration" dialog. A change of "Simulate" re-opens the link (closing the port
    // first when simulation goes on); any change marks the profile modified.
    void ApplyConfiguration(bool simulate, bool hideMode);
    // "OK" of a names dialog: the count and the first `count` names; marks the profile modified.
    void SetJointNames(int count, const std::vector<std::string>& names);
    void SetAxisNames(int count, const std::vector<std::string>& names);

protected:
    bool OnOpenDocument(const std::string& path) override;
    bool OnSaveDocument(const std::string& path) override;

private:
    static std::string NameAt(const std::vector<std::string>& names, int i);
    static void CopyNames(std::vector<std::string>& into, int count, const std::vector<std::string>& names);
    // Makes the link's flags those of a loaded profile; re-opens the link when simulation changed
    // while the link is already in use.
    void ApplyLinkFlags();

    SettingsValues m_values;
};

// The program's one settings profile.
CSettings& settings();
