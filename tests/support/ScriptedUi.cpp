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

bool DialogAnswers::AnswerName(std::string& name, const std::string& title) {
    nameDialogs.push_back(title + ": " + name);
    if (names.empty())
        return false;
    name = names.front();
    names.pop_front();
    return true;
}

bool DialogAnswers::AnswerFunction(std::string& word, int& parameter) {
    if (functions.empty())
        return false;
    word = functions.front().first;
    parameter = functions.front().second;
    functions.pop_front();
    return true;
}

bool DialogAnswers::AnswerContour(int& code, double& a, double& b) {
    if (contours.empty())
        return false;
    code = contours.front().code;
    a = contours.front().a;
    b = contours.front().b;
    contours.pop_front();
    return true;
}
