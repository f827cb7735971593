#include "core/robot/RobotUi.h"

#include "core/base/Screen.h"

namespace {

// Without windows every dialog is cancelled at once, so no command can loop or wait on it.
class NoRobotWindows : public RobotUi {
public:
    bool EditPosition(PositionRecord&, const std::string&, bool, bool) override { return false; }
    ManualResult ShowTeachWindow(int) override { return ManualResult::Escape; }
    bool AskTeachSpeed(int&) override { return false; }
    ManualResult ShowJogWindow(int) override { return ManualResult::Escape; }
    bool AskJogIncrement(float&) override { return false; }
    void CloseManualWindow() override {}
};

NoRobotWindows g_none;

} // namespace

RobotUi& robotUi() {
    RobotUi* installed = installedScreen().robot;
    return installed ? *installed : g_none;
}
