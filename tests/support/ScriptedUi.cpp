#include "support/ScriptedUi.h"

ScriptedUi::ScriptedUi() {
    InstallScreen({this});
}

ScriptedUi::~ScriptedUi() {
    InstallScreen({});
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
