#include "core/protocol/Protocol.h"

#include "core/base/CoreState.h"
#include "core/base/UiSeam.h"
#include "core/link/LinkChannel.h"

namespace {

// The link of a handshake that has not been wired: nothing is sent and no console is kept.
class NoLink : public LinkChannel {
public:
    void SendBytes(const char*, int) override {}
    void DisplayText(const char*, int) override {}
    bool IsSimulated() const override { return false; }
    std::string LastScreenLine() const override { return std::string(); }
};

} // namespace

Protocol& protocol() {
    return coreState().Get<Protocol>();
}

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

Protocol::Protocol() : ControllerStream(nullptr), m_conbuf(*this) {
    ControllerStream.rdbuf(&m_conbuf);
}

LinkChannel& Protocol::link() const {
    static NoLink none;
    return m_link ? *m_link : none;
}

bool Protocol::Simulated() const {
    return link().IsSimulated();
}

void Protocol::LinkOpened() {
    ReplyState = reply::kIdle;
    SetNormalReply();
    ui().KickIdle();
    // The simulated controller is ready at once; a real one is synchronised with an empty line.
    if (!Simulated())
        SendCommand("");
}

void Protocol::LinkLost() {
    ReplyState = reply::kNotOpen;
    ui().KickIdle();
}

int Protocol::SendBytes(const char* data, int length) {
    if (ReplyState == reply::kNotOpen) {
        ui().ShowMessage("Communication is not open");
        return 1;
    }
    if (receiveMode == ReceiveMode::Block && Simulated()) {
        // The simulated controller acknowledges every send of a block transfer at once.
        ReplyState = reply::kIdle;
        ui().KickIdle();
        return 0;
    }
    link().SendBytes(data, length);
    return 0;
}

int Protocol::SendChar(char c) {
    return SendBytes(&c, 1);
}

int Protocol::SendString(const std::string& text) {
    return SendBytes(text.data(), static_cast<int>(text.size()));
}

void Protocol::ReceiveBytes(const char* data, int length) {
    if (receiveMode == ReceiveMode::Text)
        link().DisplayText(data, length);
    else if (BlockReceiver)
        BlockReceiver(data, length);
}

bool Protocol::SendLine(const std::string& text) {
    ArmReply();
    return SendString(text) == 0;
}

bool Protocol::SendCommand(std::string command) {
    command += '\r';
    if (!SendLine(command))
        return false;
    return WaitReply();
}

bool Protocol::WaitReply() {
    ShowWaitBox("Waiting for controller");
    for (;;) {
        if (PumpMessages())
            break;
        if (ReplyState >= reply::kIdle)
            break;
        if (CancelFlag) {
            ReplyState = reply::kCancelled;
            continue;
        }
        // Nothing pending and the reply not complete: sleep until the next event arrives.
        if (!ui().WaitForEvent())
            CancelFlag = true;
    }
    LastReplyLine = link().LastScreenLine();
    CloseWaitBox();

    switch (ReplyState) {
    case reply::kIdle:
        if (ReplyMode != reply::kNormalReply)
            return true;
        if (previousChar == 'O' && lastChar == 'K')
            return true;
        ui().ShowMessage("OK expected");
        return false;
    case reply::kPromptExpected:
        ui().ShowMessage("> expected");
        ReplyState = reply::kCollecting;
        return false;
    case reply::kCancelled:
        ReplyState = reply::kCollecting;
        return false;
    case reply::kNotOpen:
        // The link went away during the wait; it has been reported already.
        return false;
    default:
        return true;
    }
}

int Protocol::WaitTransferState() {
    for (;;) {
        if (PumpMessages())
            return 0;
        if (CancelFlag)
            return 0;
        if (ReplyState >= reply::kIdle)
            return ReplyState;
        if (!ui().WaitForEvent())
            CancelFlag = true;
    }
}

int Protocol::ReplyStatus() const {
    if (ReplyState != reply::kIdle)
        return 2;
    return previousChar == 'O' && lastChar == 'K' ? 1 : 0;
}

bool Protocol::QueryCommand(const std::string& command, std::string& answer) {
    if (!SendLine(command + '\r'))
        return false;
    if (!WaitReply())
        return false;
    const long L = static_cast<long>(command.size());
    const long R = static_cast<long>(LastReplyLine.size());
    const long n = R - L - 4;
    if (n <= 0)
        return false;
    answer = LastReplyLine.substr(static_cast<size_t>(L + 2), static_cast<size_t>(n));
    return true;
}

void Protocol::CheckPrompt() {
    ReplyMode = reply::kPromptOnly;
    SendCommand("|");
}

void Protocol::SetIOFlag() {
    SetNormalReply();
    SendCommand("IOFLAG C0SET");
}

bool Protocol::PumpMessages() {
    return ui().PumpMessages();
}

void Protocol::TrackReplyChar(char c) {
    switch (ReplyState) {
    case reply::kCollecting:
        if (c == '\r')
            ReplyState = reply::kAfterCr;
        else if (c == '$')
            TeachPadSignal(PadSignal::Learn);
        else if (c == '%')
            TeachPadSignal(PadSignal::Drop);
        else {
            previousChar = lastChar;
            lastChar = c;
        }
        break;
    case reply::kAfterCr:
        ReplyState = c == '\n' ? reply::kLineEnded : reply::kCollecting;
        break;
    case reply::kLineEnded:
        if (c == '\n')
            break;
        if (c == '>') {
            CompleteReply();
            break;
        }
        ReplyState = reply::kCollecting;
        TrackReplyChar(c);
        break;
    case reply::kPromptOnly:
        if (c == '>')
            CompleteReply();
        else if (c != ' ' && c != '|')
            ReplyState = reply::kPromptExpected;
        break;
    case reply::kSkipToPrompt:
        if (c == '>')
            CompleteReply();
        break;
    case reply::kIdle:
        ReplyState = c == '\r' ? reply::kAfterCr : reply::kCollecting;
        break;
    default:
        break;
    }
}

void Protocol::CompleteReply() {
    ReplyState = reply::kIdle;
    if (m_copyDataPending) {
        // A command sent by another program: its reply line answers the next last-line request.
        m_copyDataPending = false;
        LastReplyLine = link().LastScreenLine();
    }
    ui().KickIdle();
}

void Protocol::TeachPadSignal(PadSignal signal) {
    if (TeachPadHook)
        TeachPadHook(signal);
}

void Protocol::ShowWaitBox(const std::string& text) {
    if (heldBox)
        return;
    CancelFlag = false;
    m_boxOpen = true;
    ui().OpenWaitBox(text, WaitBoxStyle::Plain);
}

void Protocol::ShowHeldBox(const std::string& text, WaitBoxStyle style) {
    heldBox = true;
    CancelFlag = false;
    m_boxOpen = true;
    ui().OpenWaitBox(text, style);
}

void Protocol::CloseWaitBox() {
    if (heldBox)
        return;
    if (m_boxOpen)
        WaitBoxClosed();
}

void Protocol::CloseHeldBox() {
    heldBox = false;
    if (m_boxOpen)
        WaitBoxClosed();
}

void Protocol::ShowProgress(int done, int total) {
    if (done > total)
        done = total;
    ui().SetProgress(done, total);
}

void Protocol::WaitBoxClosed() {
    CancelFlag = true;
    if (!m_boxOpen)
        return;
    m_boxOpen = false;
    ui().CloseWaitBox();
}

int Protocol::CopyData(const char* data, int length) {
    ArmReply();
    // Set before sending: the simulated controller completes the reply inside the send.
    m_copyDataPending = true;
    if (SendBytes(data, length) != 0) {
        m_copyDataPending = false;
        return 0;
    }
    return 1;
}

bool LinkReady() {
    return protocol().ReplyState == reply::kIdle;
}
