#pragma once

#include <string>

// The built-in stand-in for the controller's console: answers each sent byte the way the reply
// handshake expects, so every waiting operation works without an arm.
class SimulatedController {
public:
    // The answer to one byte sent in text mode while the reply mode is `replyMode` (0 normal).
    std::string Answer(char c, int replyMode);

    void Reset() { m_errorMark = false; }

private:
    bool m_errorMark = false; // a "~" was sent; the next line end in normal mode answers " err"
};
