#pragma once

#include "core/link/Transport.h"

#include <functional>
#include <string>

// The built-in stand-in for the controller's console, a transport like the serial port: it answers
// each byte written to it the way the reply handshake expects, at once, so every waiting operation
// works without an arm. A line end is answered " simOK", CR LF and ">"; a line that held "~" is
// answered " err" and CR LF without a prompt. While the handshake expects the prompt alone, bytes are
// not echoed and a line end is answered ">".
class SimulatedController : public Transport {
public:
    // The number every numeric query yields under simulation: the simulator knows no values.
    static constexpr int kQueryAnswer = 57;

    bool OpenComm(int port, unsigned baudRate, const std::string& device) override;
    void CloseComm() override {}
    int CommRead(char* buffer, int maximum) override;
    // Answers every byte, each answer announced through DataArrived before the next byte is taken.
    bool CommWrite(const char* data, int length) override;
    // Always ready: the simulator answers whether it was opened or not.
    bool IsConnected() const override { return true; }

    // Asked at every byte: true while the handshake expects the normal reply (echo, answer, "OK" and
    // the prompt). Set when the core is wired; unset, the normal reply is given.
    std::function<bool()> NormalReply;

    // The answer to one byte.
    std::string Answer(char c, bool normalReply);

private:
    bool m_errorMark = false; // a "~" was sent; the next line end in normal mode answers " err"
    std::string m_inbox;      // answered, not read yet
};
