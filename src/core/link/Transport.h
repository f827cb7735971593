#pragma once

#include <functional>
#include <string>

// The byte pipe to the controller: a serial port in the program, a fake in tests. It knows nothing of
// lines, CR or replies; the link and the protocol above it do.
class Transport {
public:
    virtual ~Transport() = default;

    // Opens the device for the port number (1..19) or, when not empty, the named device path, at the
    // given baud rate with 8N1 and no flow control. Shows its own message on failure.
    virtual bool OpenComm(int port, unsigned baudRate, const std::string& device) = 0;
    // Closes the device; nothing happens when it is not open.
    virtual void CloseComm() = 0;
    // Copies at most `maximum` of the bytes already received into `buffer`; never blocks.
    virtual int CommRead(char* buffer, int maximum) = 0;
    // Writes the bytes and waits until they have left (or the write timed out).
    virtual bool CommWrite(const char* data, int length) = 0;
    virtual bool IsConnected() const = 0;

    // Set by the link: bytes are waiting to be read.
    std::function<void()> DataArrived;
    // Set by the link: a line or I/O error with the platform's code, shown as "<CE-%u>".
    std::function<void(unsigned code)> CommError;
    // Set by the link: the device went away (adaptor unplugged); the transport is already closed.
    std::function<void()> Lost;
};
