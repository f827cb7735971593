#include "core/app/EventLoopUi.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcUi, "marlix.ui")

void EventLoopUi::ShowMessage(const std::string& text) {
    qCInfo(lcUi, "message: %s", text.c_str());
    messages.push_back(text);
}

Answer EventLoopUi::AskYesNo(const std::string& text) {
    questions.push_back(text);
    return answer == Answer::Cancel ? Answer::No : answer;
}

Answer EventLoopUi::AskYesNoCancel(const std::string& text) {
    questions.push_back(text);
    return answer;
}

void EventLoopUi::OpenWaitBox(const std::string& text, WaitBoxStyle style) {
    waitBoxOpen = true;
    waitBoxStyle = style;
    waitBoxText = text;
}

void EventLoopUi::CloseWaitBox() {
    waitBoxOpen = false;
}

void EventLoopUi::SetProgress(int done, int total) {
    progressDone = done;
    progressTotal = total;
}

bool EventLoopUi::PumpMessages() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return m_quitting;
}

bool EventLoopUi::WaitForEvent() {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return true;
}
