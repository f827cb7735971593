#include "gui/robot/SettingsCommands.h"

#include "core/base/AppHooks.h"
#include "core/base/CommandIds.h"
#include "core/base/CommandRegistry.h"
#include "core/base/UiSeam.h"
#include "core/robot/CSettings.h"
#include "gui/robot/CCnfdlg.h"
#include "gui/robot/CJname.h"

#include <QApplication>

namespace {

QWidget* DialogParent() {
    return QApplication::activeWindow();
}

void RunConfiguration() {
    CSettings& profile = settings();
    CCnfdlg dialog(profile.SimulateFlag(), profile.HideModeFlag(), DialogParent());
    if (dialog.exec() == QDialog::Accepted)
        profile.ApplyConfiguration(dialog.simulate(), dialog.hideMode());
}

std::vector<std::string> FirstNames(int count, std::string (CSettings::*name)(int) const) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i)
        names.push_back((settings().*name)(i));
    return names;
}

void RunJointNames() {
    CSettings& profile = settings();
    CJname dialog(QStringLiteral("Joint names"), profile.JointCount(),
                  FirstNames(profile.JointCount(), &CSettings::JointName), DialogParent());
    if (dialog.exec() == QDialog::Accepted)
        profile.SetJointNames(dialog.count(), dialog.names());
}

void RunAxisNames() {
    CSettings& profile = settings();
    CJname dialog(QStringLiteral("Cartesian axes"), profile.CartesianAxisCount(),
                  FirstNames(profile.CartesianAxisCount(), &CSettings::AxisName), DialogParent());
    if (dialog.exec() == QDialog::Accepted)
        profile.SetAxisNames(dialog.count(), dialog.names());
}

// Runs a command, then has the main window refresh its commands and the settings pane.
CommandRegistry::Action Refreshing(std::function<void()> command) {
    return [command = std::move(command)] {
        command();
        ui().KickIdle();
    };
}

void JoinApplication() {
    AppHooks& hooks = appHooks();
    hooks.ReopenSettings = [] { settings().ReopenRememberedFile(); };
    hooks.MayCloseSettings = [] { return settings().SaveModified(); };
    hooks.RememberSettingsName = [] { settings().RememberFileName(); };
    hooks.SettingsTitle = [] { return settings().GetTitle(); };
}

} // namespace

void BindSettingsCommands(CommandRegistry& registry) {
    SetArmProfile(&settings());
    JoinApplication();

    registry.Bind(ID_SETTINGS_NEW, Refreshing([] { settings().NewFileDocument(); }));
    registry.Bind(ID_SETTINGS_OPEN, Refreshing([] { settings().OpenFileDocument(); }));
    registry.Bind(ID_SETTINGS_SAVE, Refreshing([] { settings().SaveFileDocument(); }));
    registry.Bind(ID_SETTINGS_SAVE_AS, Refreshing([] { settings().SaveFileDocumentAs(); }));
    registry.Bind(ID_SETTINGS_CONFIGURATION, Refreshing(RunConfiguration));
    registry.Bind(ID_SETTINGS_JOINT_NAMES, Refreshing(RunJointNames));
    registry.Bind(ID_SETTINGS_CARTESIAN_AXES, Refreshing(RunAxisNames));
}
