#pragma once

#include "core/robot/RobotUi.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

// The robot windows for tests: records what each dialog was shown with and answers from queues.
// A manual window runs its scripted step (for example the controller printing "$") and then ends
// with "Escape" if a close was requested meanwhile, else with the step's result.
class ScriptedRobotUi : public RobotUi {
public:
    struct Shown {
        PositionRecord record;
        std::string title;
        bool cartesian;
        bool editable;
    };
    struct ManualStep {
        std::function<void()> whileShown;
        ManualResult result = ManualResult::Escape;
    };

    bool EditPosition(PositionRecord& record, const std::string& title, bool cartesian,
                      bool editable) override {
        shown.push_back({record, title, cartesian, editable});
        if (edits.empty())
            return false;
        auto edit = std::move(edits.front());
        edits.pop_front();
        return edit(record);
    }
    ManualResult ShowTeachWindow(int creepFactor) override {
        manualShown.push_back(creepFactor);
        return RunStep();
    }
    bool AskTeachSpeed(int& speed) override {
        speedPresets.push_back(speed);
        return Pop(newSpeeds, speed);
    }
    ManualResult ShowJogWindow(int increment) override {
        manualShown.push_back(increment);
        return RunStep();
    }
    bool AskJogIncrement(float& millimetres) override {
        incrementPresets.push_back(millimetres);
        return Pop(newIncrements, millimetres);
    }
    void CloseManualWindow() override {
        ++closeRequests;
        m_closeRequested = true;
    }

    // Answers of the position dialog: each edits the record and returns true for "OK".
    std::deque<std::function<bool(PositionRecord&)>> edits;
    std::deque<ManualStep> steps;
    std::deque<int> newSpeeds;       // values typed into the speed dialog ("OK"); empty: "Cancel"
    std::deque<float> newIncrements; // values typed into the increment dialog

    std::vector<Shown> shown;
    std::vector<int> manualShown; // the creep factor or increment each manual window showed
    std::vector<int> speedPresets;
    std::vector<float> incrementPresets;
    int closeRequests = 0;

private:
    ManualResult RunStep() {
        m_closeRequested = false;
        if (steps.empty())
            return ManualResult::Escape;
        ManualStep step = std::move(steps.front());
        steps.pop_front();
        if (step.whileShown)
            step.whileShown();
        return m_closeRequested ? ManualResult::Escape : step.result;
    }
    template <typename T> static bool Pop(std::deque<T>& queue, T& value) {
        if (queue.empty())
            return false;
        value = queue.front();
        queue.pop_front();
        return true;
    }
    bool m_closeRequested = false;
};
