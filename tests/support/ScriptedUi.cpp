#include "support/ScriptedUi.h"

ScriptedUi::ScriptedUi() {
    InstallScreen({this});
}

ScriptedUi::~ScriptedUi() {
    InstallScreen({});
}

Answer ScriptedUi::AskYesNo(const std::string& text) {
    questions.push_back(text);
    if (answers.empty())
        return Answer::No;
    const Answer a = answers.front();
    answers.pop_front();
    return a;
}

Answer ScriptedUi::AskYesNoCancel(const std::string& text) {
    questions.push_back(text);
    if (answers.empty())
        return Answer::Cancel;
    const Answer a = answers.front();
    answers.pop_front();
    return a;
}

void ScriptedUi::OpenWaitBox(const std::string& text, WaitBoxStyle style) {
    boxOpen = true;
    boxStyle = style;
    boxTexts.push_back(text);
}

bool ScriptedUi::PumpMessages() {
    ++pumps;
    return quitting;
}

bool ScriptedUi::WaitForEvent() {
    ++waits;
    if (events.empty())
        return false;
    auto event = std::move(events.front());
    events.pop_front();
    event();
    return true;
}
