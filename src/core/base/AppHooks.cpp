#include "core/base/AppHooks.h"

#include "core/base/CoreState.h"

namespace {

void RunIfSet(const std::function<void()>& step) {
    if (step)
        step();
}

} // namespace

AppHooks& appHooks() {
    return coreState().Get<AppHooks>();
}

bool AppHooks::AskCloseQuestions() const {
    for (const auto* ask : {&MayCloseSettings, &MayCloseProject, &MayCloseMacros}) {
        if (*ask && !(*ask)())
            return false;
    }
    return true;
}

void AppHooks::RunReopenSteps() const {
    RunIfSet(ReopenSettings);
    RunIfSet(ReopenMacros);
    RunIfSet(LoadProjectName);
    RunIfSet(ReopenLog);
}

void AppHooks::RunRememberSteps() const {
    RunIfSet(RememberSettingsName);
    RunIfSet(RememberProjectName);
    RunIfSet(RememberMacrosName);
}
