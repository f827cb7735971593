#include "gui/app/BindAllCommands.h"

#include "core/app/CommandRules.h"
#include "core/app/WordCheckCommand.h"
#include "core/base/CommandRegistry.h"
#include "core/project/ProjectCommands.h"
#include "gui/app/AppCommands.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/ProjectWindows.h"
#include "gui/app/QtUi.h"
#include "gui/link/CommCommands.h"
#include "gui/macros/MacroCommands.h"
#include "gui/robot/RobotBindings.h"
#include "gui/robot/SettingsCommands.h"
#include "gui/text/BinaryCommands.h"
#include "gui/text/TextCommands.h"
#include "gui/text/TextWindows.h"
#include "gui/windows/ProjectFormWindows.h"
#include "gui/windows/RouteEditorWindows.h"

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
    BindProjectFormWindows(registry, frame);
    FollowProjectWindows(frame);
    BindRouteEditorWindows(frame);
    UseCommandRules(registry);
}

Screen ProgramScreen(QtUi& ui) {
    return Screen{&ui, &robotWindows(), textWindows()};
}
