#pragma once

#include <string>

// The link as the reply handshake reaches it: sending bytes, drawing received text into the console,
// whether the controller is simulated, and the console's last completed line (the reply line). The
// communication link implements it; the handshake is given it when the core is wired
// (core/app/CoreWiring.h), so the handshake and the link need not know each other.
class LinkChannel {
public:
    virtual ~LinkChannel() = default;

    // Writes the bytes to the serial port or the simulated controller, whatever the write reports.
    virtual void SendBytes(const char* data, int length) = 0;
    // Draws received text into the console text.
    virtual void DisplayText(const char* data, int length) = 0;
    virtual bool IsSimulated() const = 0;
    // The last completed line of the console text; empty while there is no console.
    virtual std::string LastScreenLine() const = 0;
};
