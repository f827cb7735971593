#pragma once

#include "core/link/Ccom1doc.h"
#include "core/link/SimulatedController.h"

#include <memory>
#include <string>

class Transport;

// Shown by the terminal window; told when received text changed the screen buffer.
class TerminalView {
public:
    virtual ~TerminalView() = default;
    virtual void TextArrived() = 0;
};

// The link to the controller: the communication document with its screen buffer, the choice between
// the serial port and the simulated controller, and the link settings kept in the profile.
class CommLink {
public:
    static constexpr int kBaudCount = 13;
    static constexpr unsigned kBaudTable[kBaudCount] = {110,   300,   600,   1200,  2400,   4800,  9600,
                                                        14400, 19200, 38400, 56000, 128000, 256000};
    static constexpr int kDefaultBaudIndex = 8;

    CommLink();
    ~CommLink();

    // Opens the link: creates the communication document (and asks the screen for its window) when
    // there is none, then either starts the simulated controller or opens the port and synchronises
    // with an empty command line.
    void OpenCommunication();
    void CloseComm();
    void ReOpen();
    void LoadCommSettings();
    void SaveCommSettings();

    // Sends bytes to the port or the simulated controller: 0 sent, 1 the link is not open.
    int SendBytes(const char* data, int length);

    // Reads what the port has received, at most 80 bytes at a time, and passes it on.
    void OnDataArrival();
    // Draws received text into the screen buffer and feeds the reply tracker.
    void DisplayText(const char* data, int length);
    // Shows a line or I/O error of the port in the terminal as "<CE-%u>".
    void ShowCommError(unsigned code);
    // The device went away: the port is closed and the link is not open.
    void OnTransportLost();

    // The serial transport (not owned); the program installs the real port, tests a fake.
    void SetTransport(Transport* transport);
    Transport* transport() const { return m_transport; }

    Ccom1doc* document() const { return m_doc.get(); }
    // Creates the document if missing (the terminal window does this when it opens on its own).
    Ccom1doc& EnsureDocument();
    // The terminal window closed: the screen text goes with it.
    void DropDocument();
    void SetTerminal(TerminalView* view) { m_terminal = view; }

    // Link settings.
    int port = 1;
    int baudIndex = kDefaultBaudIndex;
    unsigned baudRate = 19200;
    std::string device; // "Communication"/"device": names the device directly when not empty

    // Owned by the settings profile: simulate the controller, hide downloaded text.
    bool Simulate = false;
    bool HideMode = false;

private:
    std::unique_ptr<Ccom1doc> m_doc;
    TerminalView* m_terminal = nullptr;
    Transport* m_transport = nullptr;
    SimulatedController m_simulator;
};

// The one link of the program.
CommLink& commLink();
// Starts the link over from its initial state (tests).
void ResetCommLink();
