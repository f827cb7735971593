#include "core/link/CommLink.h"

#include "core/base/ProfileStore.h"
#include "core/base/UiSeam.h"
#include "core/link/Transport.h"
#include "core/protocol/Protocol.h"

#include <cstdio>

namespace {
std::unique_ptr<CommLink> g_link;
constexpr int kReadChunk = 80;
} // namespace

CommLink& commLink() {
    if (!g_link)
        g_link = std::make_unique<CommLink>();
    return *g_link;
}

void ResetCommLink() {
    g_link = std::make_unique<CommLink>();
}

CommLink::CommLink() = default;

CommLink::~CommLink() {
    if (m_transport) {
        m_transport->DataArrived = nullptr;
        m_transport->CommError = nullptr;
        m_transport->Lost = nullptr;
    }
}

void CommLink::SetTransport(Transport* transport) {
    m_transport = transport;
    if (!m_transport)
        return;
    m_transport->DataArrived = [this] { OnDataArrival(); };
    m_transport->CommError = [this](unsigned code) { ShowCommError(code); };
    m_transport->Lost = [this] { OnTransportLost(); };
}

Ccom1doc& CommLink::EnsureDocument() {
    if (!m_doc) {
        m_doc = std::make_unique<Ccom1doc>();
        ui().OpenCommWindow();
    }
    return *m_doc;
}

void CommLink::DropDocument() {
    m_doc.reset();
    m_terminal = nullptr;
}

void CommLink::OpenCommunication() {
    Ccom1doc& doc = EnsureDocument();
    Protocol& proto = protocol();
    if (Simulate) {
        m_simulator.Reset();
        proto.ReplyState = 2;
        proto.SetNormalReply();
        doc.title = "Simulated Communication";
        ui().KickIdle();
        return;
    }
    doc.title = "Communication";
    LoadCommSettings();
    if (m_transport && m_transport->OpenComm(port, baudRate, device)) {
        proto.ReplyState = 2;
        proto.SetNormalReply();
        ui().KickIdle();
        proto.SendCommand("");
    } else {
        proto.ReplyState = 1000;
        ui().KickIdle();
    }
}

void CommLink::CloseComm() {
    if (m_transport)
        m_transport->CloseComm();
}

void CommLink::ReOpen() {
    CloseComm();
    OpenCommunication();
}

void CommLink::LoadCommSettings() {
    baudIndex = GetProfileInt("Communication", "baudindex", kDefaultBaudIndex);
    // Only a hand-edited profile holds an index outside the table: fall back to 19200.
    if (baudIndex < 0 || baudIndex >= kBaudCount)
        baudIndex = kDefaultBaudIndex;
    baudRate = kBaudTable[baudIndex];
    port = GetProfileInt("Communication", "port", 1);
    if (port < 0)
        port = 1;
    device = GetProfileString("Communication", "device");
}

void CommLink::SaveCommSettings() {
    WriteProfileInt("Communication", "port", port);
    WriteProfileInt("Communication", "baudindex", baudIndex);
    WriteProfileString("Communication", "device", device);
}

int CommLink::SendBytes(const char* data, int length) {
    Protocol& proto = protocol();
    if (proto.ReplyState == 1000) {
        ui().ShowMessage("Communication is not open");
        return 1;
    }
    if (!Simulate) {
        if (m_transport)
            m_transport->CommWrite(data, length);
        return 0;
    }
    if (proto.receiveMode == 1) {
        // Block transfers: the simulated controller acknowledges every send at once.
        proto.ReplyState = 2;
        ui().KickIdle();
        return 0;
    }
    for (int i = 0; i < length; ++i) {
        const std::string answer = m_simulator.Answer(data[i], proto.ReplyMode);
        if (!answer.empty())
            DisplayText(answer.data(), static_cast<int>(answer.size()));
    }
    return 0;
}

void CommLink::OnDataArrival() {
    if (!m_transport)
        return;
    char buffer[kReadChunk];
    for (;;) {
        const int count = m_transport->CommRead(buffer, kReadChunk);
        if (count <= 0)
            break;
        protocol().ReceiveBytes(buffer, count);
    }
}

void CommLink::DisplayText(const char* data, int length) {
    if (!m_doc) {
        ui().ShowMessage("Comm window is not open");
        return;
    }
    Protocol& proto = protocol();
    for (int i = 0; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(data[i]);
        if (c >= 128)
            continue;
        proto.TrackReplyChar(static_cast<char>(c));
        // The tracker may have run code that closed the window.
        if (!m_doc)
            return;
        if (c >= 32 && c <= 126)
            m_doc->PutChar(static_cast<char>(c));
        else if (c == 7)
            ui().Beep();
        else if (c == 8)
            m_doc->BackSpace();
        else if (c == 10)
            m_doc->NewLine();
        else if (c == 13)
            m_doc->CarriageReturn();
    }
    if (m_terminal)
        m_terminal->TextArrived();
}

void CommLink::ShowCommError(unsigned code) {
    char text[32];
    const int n = std::snprintf(text, sizeof text, "<CE-%u>", code);
    DisplayText(text, n);
}

void CommLink::OnTransportLost() {
    Protocol& proto = protocol();
    proto.ReplyState = 1000;
    ui().KickIdle();
}
