#pragma once

#include "core/base/UiSeam.h"

#include <string>
#include <vector>

// A seam for programs and tests without windows: pumps the QtCore event loop, keeps every message
// it was asked to show, and answers questions with a preset answer.
class EventLoopUi : public UiSeam {
public:
    void ShowMessage(const std::string& text) override;
    Answer AskYesNo(const std::string& text) override;
    Answer AskYesNoCancel(const std::string& text) override;
    void OpenWaitBox(const std::string& text, WaitBoxStyle style) override;
    void CloseWaitBox() override;
    void SetProgress(int done, int total) override;
    bool PumpMessages() override;
    bool WaitForEvent() override;

    // Marks the application as quitting: the next pump reports it and every wait ends.
    void RequestQuit() { m_quitting = true; }

    std::vector<std::string> messages;  // texts of ShowMessage, oldest first
    std::vector<std::string> questions; // texts of AskYesNo / AskYesNoCancel
    Answer answer = Answer::No;         // what every question is answered
    bool waitBoxOpen = false;
    WaitBoxStyle waitBoxStyle = WaitBoxStyle::Plain;
    std::string waitBoxText;
    int progressDone = 0;
    int progressTotal = 0;

private:
    bool m_quitting = false;
};
