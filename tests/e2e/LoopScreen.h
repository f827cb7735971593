#pragma once

#include "core/app/EventLoopUi.h"
#include "core/protocol/Protocol.h"
#include "support/ScriptedUi.h"

#include <QTimer>

// The screen of the runs against the controller emulator: the event loop pumped as the program does,
// the project's dialogs answered from queues, and an operator who presses "Cancel" on a wait box that
// has shown no progress for a while.
class LoopScreen : public EventLoopUi, public DialogAnswers {
public:
    explicit LoopScreen(int cancelAfterMs) {
        m_cancel.setSingleShot(true);
        m_cancel.setInterval(cancelAfterMs);
        QObject::connect(&m_cancel, &QTimer::timeout, [this] {
            if (!waitBoxOpen)
                return;
            ++cancels;
            protocol().WaitBoxClosed();
        });
    }
    void OpenWaitBox(const std::string& text, WaitBoxStyle style) override {
        EventLoopUi::OpenWaitBox(text, style);
        m_cancel.start();
    }
    void SetProgress(int done, int total) override {
        EventLoopUi::SetProgress(done, total);
        m_cancel.start();
    }
    void KickIdle() override { ++replies; }
    bool AskName(std::string& name, const std::string& title) override { return AnswerName(name, title); }
    bool AskRouteFunction(std::string& word, int& parameter) override {
        return AnswerFunction(word, parameter);
    }
    bool AskContourFunction(int& code, double& a, double& b) override { return AnswerContour(code, a, b); }
    std::string AskSaveFileName(const std::string&, const std::string&, const std::string&,
                                const std::string&) override {
        return savePath;
    }

    int cancels = 0;      // waits cancelled for want of progress
    int replies = 0;      // replies completed (each one kicks the command states)
    std::string savePath; // the save dialog's answer

private:
    QTimer m_cancel;
};
