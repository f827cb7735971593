#pragma once

#include "core/app/EventLoopUi.h"
#include "core/protocol/Protocol.h"
#include "core/robot/RobotUi.h"
#include "support/ScriptedUi.h"

#include <QEventLoop>
#include <QTimer>

#include <deque>
#include <functional>

// The screen of the runs against the controller emulator: the event loop pumped as the program does,
// the project's dialogs answered from queues, and an operator who presses "Cancel" on a wait box that
// has shown no progress for a while. Its robot windows: the position dialog answers from a queue; a
// manual window stays up, running the event loop so that the controller's output keeps arriving,
// until a pad signal closes it, its scripted "Escape" comes or three seconds pass.
class LoopScreen : public EventLoopUi, public DialogAnswers, public RobotUi {
public:
    struct Pass {
        std::function<void()> whenShown; // what happens at the controller while the window is up
        int escapeAfterMs = -1;          // "Escape" pressed after this time (-1: never)
    };

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

    bool EditPosition(PositionRecord& record, const std::string&, bool, bool) override {
        if (edits.empty())
            return false;
        edits.front()(record);
        edits.pop_front();
        return true;
    }
    ManualResult ShowTeachWindow(int) override { return ShowManualWindow(); }
    ManualResult ShowJogWindow(int) override { return ShowManualWindow(); }
    bool AskTeachSpeed(int&) override { return false; }
    bool AskJogIncrement(float&) override { return false; }
    void CloseManualWindow() override {
        if (m_loop)
            QMetaObject::invokeMethod(m_loop, &QEventLoop::quit, Qt::QueuedConnection);
    }

    int cancels = 0;      // waits cancelled for want of progress
    int replies = 0;      // replies completed (each one kicks the command states)
    int timedOut = 0;     // manual windows that nothing closed
    std::string savePath; // the save dialog's answer
    std::deque<std::function<void(PositionRecord&)>> edits;
    std::deque<Pass> passes; // none left: "Escape" at once

private:
    ManualResult ShowManualWindow() {
        const Pass pass = passes.empty() ? Pass{{}, 0} : passes.front();
        if (!passes.empty())
            passes.pop_front();
        QEventLoop loop;
        m_loop = &loop;
        QTimer::singleShot(3000, &loop, [this, &loop] {
            ++timedOut;
            loop.quit();
        });
        if (pass.escapeAfterMs >= 0)
            QTimer::singleShot(pass.escapeAfterMs, &loop, &QEventLoop::quit);
        if (pass.whenShown)
            QTimer::singleShot(0, &loop, pass.whenShown);
        loop.exec();
        m_loop = nullptr;
        return ManualResult::Escape;
    }

    QTimer m_cancel;
    QEventLoop* m_loop = nullptr;
};
