#include "support/ScriptedUi.h"

bool ScriptedUi::WaitForEvent() {
    ++waits;
    std::function<void()> event;
    if (!PopFront(events, event))
        return false;
    event();
    return true;
}
