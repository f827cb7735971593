#pragma once

#include "core/app/CoreWiring.h"
#include "core/link/CommLink.h"
#include "core/link/Transport.h"
#include "core/protocol/Protocol.h"
#include "support/ScriptedUi.h"

// For as long as it lives: a fresh core whose link is open and idle with `transport` behind it; the
// core starts over again when it goes.
class FakeLinkScope {
public:
    explicit FakeLinkScope(Transport& transport) : m_transport(transport) { StartOver(); }
    ~FakeLinkScope() { ResetCore(); }
    // A fresh core again, on the same transport.
    void StartOver() {
        ResetCore();
        commLink().SetTransport(&m_transport);
        commLink().EnsureDocument();
        protocol().ReplyState = reply::kIdle;
    }
    FakeLinkScope(const FakeLinkScope&) = delete;
    FakeLinkScope& operator=(const FakeLinkScope&) = delete;

private:
    Transport& m_transport;
};

// Delivers what the controller still has to say, as the event loop would.
inline void DeliverEvents(ScriptedUi& ui) {
    while (!ui.events.empty()) {
        auto event = std::move(ui.events.front());
        ui.events.pop_front();
        event();
    }
}
