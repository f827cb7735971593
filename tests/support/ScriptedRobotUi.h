#pragma once

#include "core/robot/RobotUi.h"
#include "support/ScriptedUi.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

// The robot windows for unit tests: records what each dialog was shown with and answers from queues.
// A manual window runs its scripted step (the controller printing "$", say) and then ends with
// "Escape" when a close was requested meanwhile, else with the step's result.
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
        std::function<void(PositionRecord&)> edit;
        if (!PopFront(edits, edit))
            return false;
        edit(record);
        return true;
    }
    ManualResult ShowTeachWindow(int creepFactor) override { return RunStep(creepFactor); }
    ManualResult ShowJogWindow(int increment) override { return RunStep(increment); }
    bool AskTeachSpeed(int& speed) override { return PopFront(newValues, speed); }
    bool AskJogIncrement(float& millimetres) override {
        int tenths = 0;
        if (!PopFront(newValues, tenths))
            return false;
        millimetres = static_cast<float>(tenths) / 10.0f;
        return true;
    }
    void CloseManualWindow() override {
        ++closeRequests;
        m_closeRequested = true;
    }

    // "OK" of the position dialog after each of these edits; with none left, "Cancel".
    std::deque<std::function<void(PositionRecord&)>> edits;
    std::deque<ManualStep> steps;
    // Typed into the speed dialog, or (in tenths of a millimetre) the increment dialog; none: "Cancel".
    std::deque<int> newValues;

    std::vector<Shown> shown;
    std::vector<int> manualShown; // the creep factor or increment each manual window showed
    int closeRequests = 0;

private:
    ManualResult RunStep(int value) {
        manualShown.push_back(value);
        m_closeRequested = false;
        ManualStep step;
        if (!PopFront(steps, step))
            return ManualResult::Escape;
        if (step.whileShown)
            step.whileShown();
        return m_closeRequested ? ManualResult::Escape : step.result;
    }
    bool m_closeRequested = false;
};
