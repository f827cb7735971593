#include "core/protocol/ControllerStream.h"

#include "core/protocol/Protocol.h"

conbuf::int_type conbuf::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    const char ch = traits_type::to_char_type(c);
    if (ch == '\n') {
        m_protocol.ArmReply();
        if (m_protocol.SendChar('\r') != 0)
            return traits_type::eof();
        return m_protocol.WaitReply() ? c : traits_type::eof();
    }
    if (ch == '\r')
        return c;
    return m_protocol.SendChar(ch) == 0 ? c : traits_type::eof();
}
