#pragma once

#include "core/link/Ccom1doc.h"
#include "core/link/ConsoleLog.h"
#include "core/link/LinkChannel.h"
#include "core/link/PortList.h"
#include "core/link/SimulatedController.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class Transport;

using ListPortsFunction = std::function<std::vector<PortInfo>()>;

// Shown by the terminal window; told when received text changed the screen buffer.
class TerminalView {
public:
    virtual ~TerminalView() = default;
    virtual void TextArrived() = 0;
};

// The link to the controller: the communication document with its screen buffer, the choice between
// the serial port and the simulated controller, and the link settings kept in the profile. What it
// receives and what becomes of it go up through the event callbacks below, which the core's wiring
// fills (core/app/CoreWiring.h); the link itself knows nothing of replies.
class CommLink : public LinkChannel {
public:
    static constexpr int kBaudCount = 13;
    static constexpr unsigned kBaudTable[kBaudCount] = {110,   300,   600,   1200,  2400,   4800,  9600,
                                                        14400, 19200, 38400, 56000, 128000, 256000};
    static constexpr int kDefaultBaudIndex = 8;

    CommLink();
    ~CommLink() override;
    CommLink(const CommLink&) = delete;
    CommLink& operator=(const CommLink&) = delete;

    // Opens the link: creates the communication document (and asks the screen for its window) when
    // there is none, then opens the simulated controller or the port and reports Opened or Lost. A
    // named device that is gone is looked for first by its adaptor's serial number (RefindDevice).
    void OpenCommunication();
    // Closes the port (the simulated controller needs no closing).
    void CloseComm();
    void ReOpen();
    void LoadCommSettings();
    void SaveCommSettings();

    // The simulated controller answers, or the port is open.
    bool IsOpen() const;
    // The link as the status bar shows it: "Simulated", the device and baud rate ("/dev/ttyUSB0
    // 19200"), or "Not open".
    std::string StatusText() const;

    // The console log ("Communication"/"log" and "logfile"). StartLog opens `path` for appending and
    // remembers it; a file that cannot be opened is reported and nothing is logged. StopLog closes it;
    // RestoreLog opens the log remembered from the last run, if it was on.
    bool StartLog(const std::string& path);
    void StopLog();
    void RestoreLog();
    bool IsLogging() const { return m_log.IsOpen(); }
    ConsoleLog& consoleLog() { return m_log; }

    // LinkChannel.
    void SendBytes(const char* data, int length) override;
    // Draws received text into the screen buffer, each character handed to ConsoleChar first. With
    // the terminal window closed, the text opens it again (a new, empty screen).
    void DisplayText(const char* data, int length) override;
    bool IsSimulated() const override { return Simulate; }
    std::string LastScreenLine() const override;

    // Shows a line or I/O error of the port in the terminal as "<CE-%u>".
    void ShowCommError(unsigned code);
    // The device went away: the port is closed and the link is not open.
    void OnTransportLost();

    // The serial transport (not owned); the program installs the real port, tests a fake.
    void SetTransport(Transport* transport);
    Transport* transport() const { return m_transport; }
    SimulatedController& simulator() { return m_simulator; }

    Ccom1doc* document() const { return m_doc.get(); }
    // Creates the document if missing and asks the screen for its window.
    Ccom1doc& EnsureDocument();
    // The terminal window closed: the screen text goes with it.
    void DropDocument();
    void SetTerminal(TerminalView* view) { m_terminal = view; }

    // Events, filled when the core is wired. Bytes read from the port or the simulated controller, at
    // most 80 at a time.
    std::function<void(const char* data, int length)> Received;
    // Each character of text being drawn into the console, just before it is drawn.
    std::function<void(char c)> ConsoleChar;
    // The link opened: the simulated controller answers, or the port is open.
    std::function<void()> Opened;
    // The link is not open: the port could not be opened, or its device went away.
    std::function<void()> Lost;

    // Link settings.
    int port = 1;
    int baudIndex = kDefaultBaudIndex;
    unsigned baudRate = 19200;
    std::string device; // "Communication"/"device": names the device directly when not empty
    // "Communication"/"serial": the serial number of the device's adaptor, by which a device that came
    // back under another name is found again; empty when it has none.
    std::string serialNumber;
    std::string logPath; // "Communication"/"logfile": the console log's file, also while it is off

    // The serial ports present; the system's unless a test gives a list of its own.
    ListPortsFunction ListPorts = SystemPorts;

    // Owned by the settings profile: simulate the controller, hide downloaded text.
    bool Simulate = false;
    bool HideMode = false;

private:
    // The simulated controller while Simulate is set, otherwise the serial transport (may be null).
    Transport* ActiveTransport();
    void Listen(Transport& transport);
    static void StopListening(Transport& transport);
    // Reads what the transport has received, at most 80 bytes at a time, and passes it on.
    void ReadFrom(Transport& transport);
    // The named device is gone: the port whose adaptor has the stored serial number takes its place,
    // and the new name is stored.
    void RefindDevice();

    std::unique_ptr<Ccom1doc> m_doc;
    TerminalView* m_terminal = nullptr;
    Transport* m_transport = nullptr;
    SimulatedController m_simulator;
    ConsoleLog m_log;
};

// The one link of the program.
CommLink& commLink();
