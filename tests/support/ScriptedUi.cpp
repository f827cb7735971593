#include "support/ScriptedUi.h"

ScriptedUi::ScriptedUi() {
    InstallScreen({this});
}

ScriptedUi::~ScriptedUi() {
    InstallScreen({});
}

Answer ScriptedUi::Ask(const std::string& text, Answer otherwise) {
    questions.push_back(text);
    if (answers.empty())
        return otherwise;
    const Answer a = answers.front();
    answers.pop_front();
    return a;
}

std::string ScriptedUi::FileDialog(const std::string& request) {
    fileDialogs.push_back(request);
    if (fileNames.empty())
        return std::string();
    std::string name = fileNames.front();
    fileNames.pop_front();
    return name;
}

std::string ScriptedUi::AskOpenFileName(const std::string& title, const std::string& filter,
                                        const std::string& ext, const std::string& start) {
    return FileDialog(title + "|" + filter + "|" + ext + "|" + start);
}

std::string ScriptedUi::AskSaveFileName(const std::string& title, const std::string& filter,
                                        const std::string& ext, const std::string& start) {
    return FileDialog(title + "|" + filter + "|" + ext + "|" + start);
}

void ScriptedUi::OpenWaitBox(const std::string& text, WaitBoxStyle style) {
    boxOpen = true;
    boxStyle = style;
    boxTexts.push_back(text);
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

void ScriptedUi::RunEvents() {
    while (WaitForEvent()) {
    }
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
    functionDialogs.push_back(word + " " + std::to_string(parameter));
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
