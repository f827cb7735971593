#include "core/base/UiSeam.h"

namespace {

// Answers everything without a screen; waits end at once because nothing can arrive.
class SilentUi : public UiSeam {
public:
    void ShowMessage(const std::string&) override {}
    Answer AskYesNo(const std::string&) override { return Answer::No; }
    Answer AskYesNoCancel(const std::string&) override { return Answer::Cancel; }
    void OpenWaitBox(const std::string&, int) override {}
    void CloseWaitBox() override {}
    void SetProgress(int, int) override {}
    bool PumpMessages() override { return false; }
    bool WaitForEvent() override { return false; }
};

SilentUi g_silent;
UiSeam* g_ui = &g_silent;

} // namespace

UiSeam& ui() {
    return *g_ui;
}

void SetUi(UiSeam* seam) {
    g_ui = seam ? seam : &g_silent;
}
