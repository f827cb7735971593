#include "app/BindAllCommands.h"

#include "app/AppCommands.h"
#include "app/CMainFrame.h"
#include "app/CommandRegistry.h"
#include "app/WordCheckCommand.h"
#include "link/CommCommands.h"
#include "macros/MacroCommands.h"
#include "project/ProjectCommands.h"
#include "robot/RobotBindings.h"
#include "robot/SettingsCommands.h"
#include "text/BinaryCommands.h"
#include "text/TextCommands.h"

// Each subsystem binds its own commands (and fills its AppHooks fields, registers its window kinds
// with frame.windowKinds(), adds refresh hooks with frame.AddRefreshHook) from one function of its
// own. Add your subsystem's call below with a one-line edit, keeping the includes sorted.
void BindAllCommands(CommandRegistry& registry, CMainFrame& frame) {
    BindAppCommands(registry, frame);
    BindCommCommands(registry, &frame);
    BindSettingsCommands(registry);
    BindRobotCommands(registry);
    BindProjectCommands(registry);
    BindMacroCommands(registry, frame);
    BindBinaryCommands(registry, &frame);
    BindTextCommands(registry, frame);
    BindWordCheckCommands(registry);
}
