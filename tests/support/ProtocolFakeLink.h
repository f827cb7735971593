#pragma once

#include "core/link/CommLink.h"
#include "core/link/Transport.h"
#include "core/protocol/Protocol.h"
#include "support/ScriptedUi.h"

// For as long as it lives, `transport` stands behind a fresh link that is open and idle; the link
// and the reply state are reset again when it goes.
class FakeLinkScope {
public:
    explicit FakeLinkScope(Transport& transport) {
        ResetProtocol();
        ResetCommLink();
        commLink().SetTransport(&transport);
        commLink().EnsureDocument();
        protocol().ReplyState = reply::kIdle;
    }
    ~FakeLinkScope() {
        ResetProtocol();
        ResetCommLink();
    }
    FakeLinkScope(const FakeLinkScope&) = delete;
    FakeLinkScope& operator=(const FakeLinkScope&) = delete;
};

// Delivers what the controller still has to say, as the event loop would.
inline void DeliverEvents(ScriptedUi& ui) {
    while (!ui.events.empty()) {
        auto event = std::move(ui.events.front());
        ui.events.pop_front();
        event();
    }
}
