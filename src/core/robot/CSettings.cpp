#include "core/robot/CSettings.h"

#include "core/base/CoreState.h"
#include "core/base/UiSeam.h"
#include "core/link/CommLink.h"
#include "core/robot/SettingsCodec.h"

CSettings& settings() {
    return coreState().Get<CSettings>();
}

CSettings::CSettings()
    : Cfdoc("Settings Files (*.cfg)|*.cfg||", "cfg", "*.cfg", "Config", "filename",
            "Do you wish to save new settings?") {
    commLink().HideMode = m_values.hideMode != 0;
}

bool CSettings::SimulateFlag() const {
    return commLink().Simulate;
}

bool CSettings::HideModeFlag() const {
    return commLink().HideMode;
}

SettingsValues CSettings::CurrentValues() const {
    SettingsValues v = m_values;
    v.simulate = SimulateFlag() ? 1 : 0;
    v.hideMode = HideModeFlag() ? 1 : 0;
    return v;
}

std::string CSettings::NameAt(const std::vector<std::string>& names, int i) {
    return i >= 0 && i < static_cast<int>(names.size()) ? names[static_cast<std::size_t>(i)] : std::string();
}

void CSettings::CopyNames(std::vector<std::string>& into, int count, const std::vector<std::string>& names) {
    if (static_cast<int>(into.size()) < count)
        into.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        into[static_cast<std::size_t>(i)] = NameAt(names, i);
}

void CSettings::SetJointNames(int count, const std::vector<std::string>& names) {
    m_values.joints = count;
    CopyNames(m_values.jointNames, count, names);
    SetModifiedFlag();
}

void CSettings::SetAxisNames(int count, const std::vector<std::string>& names) {
    m_values.cartesianAxes = count;
    CopyNames(m_values.axisNames, count, names);
    SetModifiedFlag();
}

void CSettings::ApplyConfiguration(bool simulate, bool hideMode) {
    if (simulate != SimulateFlag()) {
        CommLink& link = commLink();
        if (simulate)
            link.CloseComm();
        link.Simulate = simulate;
        link.OpenCommunication();
        SetModifiedFlag();
    }
    if (hideMode != HideModeFlag()) {
        commLink().HideMode = hideMode;
        SetModifiedFlag();
    }
}

void CSettings::ApplyLinkFlags() {
    CommLink& link = commLink();
    link.HideMode = m_values.hideMode != 0;
    const bool simulate = m_values.simulate != 0;
    if (link.Simulate == simulate)
        return;
    // Before the link has been opened (start-up) the flag is simply taken; later the link switches over
    // the way the "Configuration" dialog switches it.
    const bool linkInUse = link.document() != nullptr;
    if (linkInUse && simulate)
        link.CloseComm();
    link.Simulate = simulate;
    if (linkInUse)
        link.OpenCommunication();
}

bool CSettings::OnOpenDocument(const std::string& path) {
    QByteArray bytes;
    if (!ReadWholeFile(path, bytes))
        return false;
    switch (DecodeSettings(bytes, m_values)) {
    case SettingsDecode::Ok:
        ApplyLinkFlags();
        break;
    case SettingsDecode::WrongVersion:
        // The values in force stay; the file still counts as opened.
        ui().ShowMessage("Settings file version not supported");
        break;
    case SettingsDecode::Damaged:
        ui().ShowMessage("Settings file " + path +
                         " is damaged or incomplete; the settings in force are kept");
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

bool CSettings::OnSaveDocument(const std::string& path) {
    return WriteWholeFile(path, EncodeSettings(CurrentValues()));
}
