#pragma once

#include "core/base/Screen.h"
#include "core/base/UiSeam.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

// Takes the next scripted answer into `value`; false when the queue is empty.
template <typename T, typename V> bool PopFront(std::deque<T>& queue, V&& value) {
    if (queue.empty())
        return false;
    value = std::move(queue.front());
    queue.pop_front();
    return true;
}

// Scripted answers of the project's dialogs (name, "Route Function", "Contour function"), in turn;
// a dialog whose queue is empty is cancelled. Every name dialog shown is kept as title + ": " + the
// name it started from, every function dialog as its word + " " + its parameter.
struct DialogAnswers {
    std::deque<std::string> names;
    std::deque<std::pair<std::string, int>> functions;
    std::deque<std::tuple<int, double, double>> contours; // code, a, b
    std::vector<std::string> nameDialogs;
    std::vector<std::string> functionDialogs; // the word and parameter each started from

    bool AnswerName(std::string& name, const std::string& title) {
        nameDialogs.push_back(title + ": " + name);
        return PopFront(names, name);
    }
    bool AnswerFunction(std::string& word, int& parameter) {
        functionDialogs.push_back(word + " " + std::to_string(parameter));
        return PopFront(functions, std::tie(word, parameter));
    }
    bool AnswerContour(int& code, double& a, double& b) { return PopFront(contours, std::tie(code, a, b)); }
};

// The screen of the unit tests: records messages, questions, wait-box traffic and file dialogs,
// answers questions and file dialogs from queues, and plays scripted "events" whenever the core
// waits. When the script runs dry a wait is told that nothing more can arrive, so no test can hang.
// For its lifetime it is the whole screen unless a ScreenScope installs more.
class ScriptedUi : public UiSeam, public DialogAnswers {
public:
    ScriptedUi() { InstallScreen({this}); }
    ~ScriptedUi() override { InstallScreen({}); }

    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    Answer AskYesNo(const std::string& text) override { return Ask(text, Answer::No); }
    Answer AskYesNoCancel(const std::string& text) override { return Ask(text, Answer::Cancel); }
    void OpenWaitBox(const std::string& text, WaitBoxStyle style) override {
        boxOpen = true;
        boxStyle = style;
        boxTexts.push_back(text);
    }
    void CloseWaitBox() override { boxOpen = false; }
    void SetProgress(int done, int total) override { progress.push_back({done, total}); }
    void SetWaitText(const std::string& text) override { waitTexts.push_back(text); }
    bool PumpMessages() override { return quitting; }
    bool WaitForEvent() override;
    void KickIdle() override { ++kicks; }
    void Beep() override { ++beeps; }
    void OpenCommWindow() override { ++commWindowsOpened; }
    bool AskName(std::string& name, const std::string& title) override { return AnswerName(name, title); }
    bool AskRouteFunction(std::string& word, int& parameter) override {
        return AnswerFunction(word, parameter);
    }
    bool AskContourFunction(int& code, double& a, double& b) override { return AnswerContour(code, a, b); }
    std::string AskOpenFileName(const std::string& title, const std::string& filter, const std::string& ext,
                                const std::string& start) override {
        return FileDialog(title + "|" + filter + "|" + ext + "|" + start);
    }
    std::string AskSaveFileName(const std::string& title, const std::string& filter, const std::string& ext,
                                const std::string& start) override {
        return FileDialog(title + "|" + filter + "|" + ext + "|" + start);
    }

    // Plays every scripted event that is left, as the event loop would.
    void RunEvents() {
        while (WaitForEvent()) {
        }
    }

    // Runs at the next WaitForEvent, in order (one event per wait).
    std::deque<std::function<void()>> events;
    // Answers for the next questions; an empty queue answers No (or Cancel for Yes/No/Cancel).
    std::deque<Answer> answers;
    // Answers for the next file dialogs; an empty queue cancels the dialog.
    std::deque<std::string> fileNames;
    bool quitting = false;

    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::vector<std::string> fileDialogs; // "<title>|<filter>|<extension>|<start path>"
    std::vector<std::string> boxTexts;
    std::vector<std::string> waitTexts; // texts given to the open box
    std::vector<std::pair<int, int>> progress;
    bool boxOpen = false;
    std::optional<WaitBoxStyle> boxStyle; // of the last box opened
    int kicks = 0;
    int beeps = 0;
    int waits = 0;
    int commWindowsOpened = 0;

private:
    Answer Ask(const std::string& text, Answer otherwise) {
        questions.push_back(text);
        PopFront(answers, otherwise);
        return otherwise;
    }
    std::string FileDialog(const std::string& request) {
        fileDialogs.push_back(request);
        std::string name;
        PopFront(fileNames, name);
        return name;
    }
};

// Installs a screen for as long as it lives; the silent defaults return when it goes.
class ScreenScope {
public:
    explicit ScreenScope(const Screen& screen) { InstallScreen(screen); }
    ~ScreenScope() { InstallScreen({}); }
    ScreenScope(const ScreenScope&) = delete;
    ScreenScope& operator=(const ScreenScope&) = delete;
};
