#pragma once

#include "core/robot/RobotUi.h"

#include <QEventLoop>
#include <QTimer>

#include <deque>
#include <functional>

// Robot windows without a screen: the position dialog answers from a queue, and a manual window
// stays up (running the event loop, so the controller's output keeps arriving) until a pad signal
// closes it or its scripted "Escape" or default button comes. Every window is bounded in time.
class LoopRobotUi : public RobotUi {
public:
    struct Pass {
        std::function<void()> whenShown; // what happens at the controller while the window is up
        int pressAfterMs = -1;           // a button pressed after this time (-1: none)
        ManualResult pressed = ManualResult::Escape;
    };

    bool EditPosition(PositionRecord& record, const std::string&, bool, bool) override {
        if (edits.empty())
            return false;
        auto edit = std::move(edits.front());
        edits.pop_front();
        edit(record);
        return true;
    }
    ManualResult ShowTeachWindow(int) override { return Show(); }
    ManualResult ShowJogWindow(int) override { return Show(); }
    bool AskTeachSpeed(int&) override { return false; }
    bool AskJogIncrement(float&) override { return false; }
    void CloseManualWindow() override {
        if (m_loop)
            QTimer::singleShot(0, m_loop, [this] { m_loop->exit(int(ManualResult::Escape)); });
    }

    std::deque<std::function<void(PositionRecord&)>> edits;
    std::deque<Pass> passes;
    int timedOut = 0;

private:
    ManualResult Show() {
        Pass pass = passes.empty() ? Pass{{}, 0, ManualResult::Escape} : passes.front();
        if (!passes.empty())
            passes.pop_front();
        QEventLoop loop;
        m_loop = &loop;
        QTimer limit;
        limit.setSingleShot(true);
        QObject::connect(&limit, &QTimer::timeout, [this, &loop] {
            ++timedOut;
            loop.exit(int(ManualResult::Escape));
        });
        limit.start(3000);
        if (pass.pressAfterMs >= 0)
            QTimer::singleShot(pass.pressAfterMs, &loop, [&loop, pass] { loop.exit(int(pass.pressed)); });
        if (pass.whenShown)
            QTimer::singleShot(0, &loop, pass.whenShown);
        const int result = loop.exec();
        m_loop = nullptr;
        return ManualResult(result);
    }

    QEventLoop* m_loop = nullptr;
};
