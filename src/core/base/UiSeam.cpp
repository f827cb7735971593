#include "core/base/UiSeam.h"

#include "core/base/Screen.h"

namespace {

// Answers everything without a screen; waits end at once because nothing can arrive.
class SilentUi : public UiSeam {
public:
    void ShowMessage(const std::string&) override {}
    Answer AskYesNo(const std::string&) override { return Answer::No; }
    Answer AskYesNoCancel(const std::string&) override { return Answer::Cancel; }
    void OpenWaitBox(const std::string&, WaitBoxStyle) override {}
    void CloseWaitBox() override {}
    void SetProgress(int, int) override {}
    bool PumpMessages() override { return false; }
    bool WaitForEvent() override { return false; }
};

SilentUi g_silent;

} // namespace

UiSeam& ui() {
    UiSeam* installed = installedScreen().ui;
    return installed ? *installed : g_silent;
}
