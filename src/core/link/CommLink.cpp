#include "core/link/CommLink.h"

#include "core/base/CoreState.h"
#include "core/base/ProfileStore.h"
#include "core/base/UiSeam.h"
#include "core/link/Transport.h"

#include <QFileInfo>

#include <cstdio>

namespace {
constexpr int kReadChunk = 80;
constexpr char kBell = 7;
constexpr char kBackSpace = 8;
constexpr char kLineFeed = 10;
constexpr char kCarriageReturn = 13;
} // namespace

CommLink& commLink() {
    return coreState().Get<CommLink>();
}

CommLink::CommLink() {
    Listen(m_simulator);
}

CommLink::~CommLink() {
    if (m_transport)
        StopListening(*m_transport);
}

void CommLink::Listen(Transport& transport) {
    Transport* source = &transport;
    transport.DataArrived = [this, source] { ReadFrom(*source); };
    transport.CommError = [this](unsigned code) { ShowCommError(code); };
    transport.Lost = [this] { OnTransportLost(); };
}

void CommLink::StopListening(Transport& transport) {
    transport.DataArrived = nullptr;
    transport.CommError = nullptr;
    transport.Lost = nullptr;
}

void CommLink::SetTransport(Transport* transport) {
    if (m_transport && m_transport != transport)
        StopListening(*m_transport);
    m_transport = transport;
    if (m_transport)
        Listen(*m_transport);
}

Ccom1doc& CommLink::EnsureDocument() {
    if (!m_doc) {
        m_doc = std::make_unique<Ccom1doc>();
        m_doc->title = Simulate ? "Simulated Communication" : "Communication";
        ui().OpenCommWindow();
    }
    return *m_doc;
}

void CommLink::DropDocument() {
    m_doc.reset();
    m_terminal = nullptr;
}

void CommLink::OpenCommunication() {
    EnsureDocument().title = Simulate ? "Simulated Communication" : "Communication";
    // The stored settings are read afresh at every opening, also for the simulated controller (which
    // needs none): "Configure..." shows them and writes them back.
    LoadCommSettings();
    if (!Simulate)
        RefindDevice();
    Transport* transport = ActiveTransport();
    const bool opened = transport && transport->OpenComm(port, baudRate, device);
    const std::function<void()>& report = opened ? Opened : Lost;
    if (report)
        report();
}

Transport* CommLink::ActiveTransport() {
    return Simulate ? &m_simulator : m_transport;
}

void CommLink::RefindDevice() {
    if (device.empty() || serialNumber.empty() || !ListPorts ||
        QFileInfo::exists(QString::fromStdString(device)))
        return;
    const std::vector<PortInfo> ports = ListPorts();
    const PortInfo* found = FindPortBySerial(ports, serialNumber);
    if (!found || found->device == device)
        return;
    device = found->device;
    SaveCommSettings();
}

void CommLink::CloseComm() {
    if (m_transport)
        m_transport->CloseComm();
    // The status bar shows the link closed.
    ui().KickIdle();
}

bool CommLink::IsOpen() const {
    return Simulate || (m_transport && m_transport->IsConnected());
}

std::string CommLink::StatusText() const {
    if (Simulate)
        return "Simulated";
    if (!IsOpen())
        return "Not open";
    return (device.empty() ? NumberedPortDevice(port) : device) + " " + std::to_string(baudRate);
}

bool CommLink::StartLog(const std::string& path) {
    if (!m_log.Open(path)) {
        ui().ShowMessage("The log file " + path + " could not be opened");
        return false;
    }
    logPath = path;
    WriteProfileString("Communication", "logfile", path);
    WriteProfileInt("Communication", "log", 1);
    return true;
}

void CommLink::StopLog() {
    m_log.Close();
    WriteProfileInt("Communication", "log", 0);
}

void CommLink::RestoreLog() {
    logPath = GetProfileString("Communication", "logfile");
    if (GetProfileInt("Communication", "log", 0) != 0 && !logPath.empty() && !StartLog(logPath))
        WriteProfileInt("Communication", "log", 0);
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
    serialNumber = GetProfileString("Communication", "serial");
}

void CommLink::SaveCommSettings() {
    WriteProfileInt("Communication", "port", port);
    WriteProfileInt("Communication", "baudindex", baudIndex);
    WriteProfileString("Communication", "device", device);
    WriteProfileString("Communication", "serial", serialNumber);
}

void CommLink::SendBytes(const char* data, int length) {
    m_log.Record(ConsoleLog::Direction::Sent, data, length);
    if (Transport* transport = ActiveTransport())
        transport->CommWrite(data, length);
}

void CommLink::ReadFrom(Transport& transport) {
    char buffer[kReadChunk];
    for (;;) {
        const int count = transport.CommRead(buffer, kReadChunk);
        if (count <= 0)
            break;
        m_log.Record(ConsoleLog::Direction::Received, buffer, count);
        if (Received)
            Received(buffer, count);
    }
}

void CommLink::DisplayText(const char* data, int length) {
    // Text that arrives while the terminal window is closed opens it again, on an empty screen: the
    // operator sees what the controller says, and the reply is followed as always.
    EnsureDocument();
    for (int i = 0; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(data[i]);
        if (c >= 128)
            continue;
        if (ConsoleChar)
            ConsoleChar(static_cast<char>(c));
        // Following the character may have run code that closed the window.
        if (!m_doc)
            return;
        if (c >= 32 && c <= 126)
            m_doc->PutChar(static_cast<char>(c));
        else if (c == kBell)
            ui().Beep();
        else if (c == kBackSpace)
            m_doc->BackSpace();
        else if (c == kLineFeed)
            m_doc->NewLine();
        else if (c == kCarriageReturn)
            m_doc->CarriageReturn();
    }
    if (m_terminal)
        m_terminal->TextArrived();
}

std::string CommLink::LastScreenLine() const {
    return m_doc ? m_doc->GetLastLine() : std::string();
}

void CommLink::ShowCommError(unsigned code) {
    char text[32];
    const int n = std::snprintf(text, sizeof text, "<CE-%u>", code);
    DisplayText(text, n);
}

void CommLink::OnTransportLost() {
    if (Lost)
        Lost();
}
