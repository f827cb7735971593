#pragma once

#include <streambuf>

class Protocol;

// Stream buffer without a put area: each character written goes to the controller at once. "\n" sends
// CR and waits for the reply; a refused line puts the stream into its bad state.
class conbuf : public std::streambuf {
public:
    explicit conbuf(Protocol& protocol) : m_protocol(protocol) {}

protected:
    int_type overflow(int_type c) override;

private:
    Protocol& m_protocol;
};
