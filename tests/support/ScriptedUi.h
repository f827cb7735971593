#pragma once

#include "core/base/Screen.h"
#include "core/base/UiSeam.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Scripted answers of the project's dialogs (name, "Route Function", "Contour function"), in turn;
// a dialog whose queue is empty is cancelled. Every name dialog shown is kept as title + ": " + the
// name it started from.
struct DialogAnswers {
    struct Contour {
        int code;
        double a;
        double b;
    };
    std::deque<std::string> names;
    std::deque<std::pair<std::string, int>> functions;
    std::deque<Contour> contours;
    std::vector<std::string> nameDialogs;

    bool AnswerName(std::string& name, const std::string& title);
    bool AnswerFunction(std::string& word, int& parameter);
    bool AnswerContour(int& code, double& a, double& b);
};

// A seam for unit tests: records messages, questions and wait-box traffic, answers questions from a
// queue, and plays "events" from a script whenever the core waits. When the script runs dry a wait
// is told that nothing more can arrive, so no test can hang. For its lifetime it is the whole screen
// (no robot windows, no text documents) unless a ScreenScope installs more.
class ScriptedUi : public UiSeam, public DialogAnswers {
public:
    ScriptedUi();
    ~ScriptedUi() override;

    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    Answer AskYesNo(const std::string& text) override;
    Answer AskYesNoCancel(const std::string& text) override;
    void OpenWaitBox(const std::string& text, WaitBoxStyle style) override;
    void CloseWaitBox() override { boxOpen = false; }
    void SetProgress(int done, int total) override { progress.push_back({done, total}); }
    void SetWaitText(const std::string& text) override { waitTexts.push_back(text); }
    bool PumpMessages() override;
    bool WaitForEvent() override;
    void KickIdle() override { ++kicks; }
    void Beep() override { ++beeps; }
    void OpenCommWindow() override { ++commWindowsOpened; }
    bool AskName(std::string& name, const std::string& title) override { return AnswerName(name, title); }
    bool AskRouteFunction(std::string& word, int& parameter) override {
        return AnswerFunction(word, parameter);
    }
    bool AskContourFunction(int& code, double& a, double& b) override { return AnswerContour(code, a, b); }

    // Runs at the next WaitForEvent, in order (one event per wait).
    std::deque<std::function<void()>> events;
    // Answers for the next questions; an empty queue answers No (or Cancel for Yes/No/Cancel).
    std::deque<Answer> answers;
    bool quitting = false;

    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::vector<std::string> boxTexts;
    std::vector<std::string> waitTexts; // texts given to the open box
    std::vector<std::pair<int, int>> progress;
    bool boxOpen = false;
    std::optional<WaitBoxStyle> boxStyle; // of the last box opened
    int kicks = 0;
    int beeps = 0;
    int pumps = 0;
    int waits = 0;
    int commWindowsOpened = 0;
};

// Installs a screen for as long as it lives; the silent defaults return when it goes.
class ScreenScope {
public:
    explicit ScreenScope(const Screen& screen) { InstallScreen(screen); }
    ~ScreenScope() { InstallScreen({}); }
    ScreenScope(const ScreenScope&) = delete;
    ScreenScope& operator=(const ScreenScope&) = delete;
};
