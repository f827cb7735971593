#pragma once

#include "core/base/UiSeam.h"

#include <functional>
#include <ostream>
#include <streambuf>
#include <string>

class LinkChannel;
class Protocol;

// Reply tracker states; ReplyState doubles as the link state (kIdle: the link is ready, kNotOpen: it
// is not open).
namespace reply {
constexpr int kNotOpen = 1000;
constexpr int kIdle = 2;
constexpr int kCollecting = 0;
constexpr int kAfterCr = 1;
constexpr int kLineEnded = -8;
constexpr int kPromptOnly = -1;
constexpr int kSkipToPrompt = -20;
constexpr int kPromptExpected = 3;
constexpr int kCancelled = 4;
constexpr int kWaitingForStx = -10;
constexpr int kBlockData = -9;
constexpr int kStxExpected = 5;
constexpr int kTooMuchData = 10;

// Reply modes (ReplyMode), armed into ReplyState before a send. The normal reply (echo, answer, "OK",
// CR LF, prompt) starts in the collecting state; kPromptOnly and kSkipToPrompt wait for the prompt.
constexpr int kNormalReply = kCollecting;
} // namespace reply

// Where received bytes go: the console text and the reply tracker, or the block receiver.
enum class ReceiveMode { Text = 0, Block = 1 };

// The teach pad's signals in the controller's output: "$" learns the arm's position, "%" drops the
// route's last line.
enum class PadSignal { None = 0, Learn = 1, Drop = 2 };

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

// The command/reply handshake with the controller: sends command lines, follows the characters that
// come back, waits for the end of the reply while events keep flowing, judges the reply and keeps the
// last reply line. Also carries ControllerStream and the requests of other programs. It reaches the
// link through a LinkChannel and hears from it through the handlers below, both wired at start-up
// (core/app/CoreWiring.h).
class Protocol {
public:
    Protocol();
    Protocol(const Protocol&) = delete;
    Protocol& operator=(const Protocol&) = delete;

    // Global handshake state.
    int ReplyState = reply::kNotOpen;
    int ReplyMode = reply::kNormalReply;
    char previousChar = 0; // the two most recent characters collected while collecting a line
    char lastChar = 0;
    std::string LastReplyLine;
    bool CancelFlag = false;
    bool heldBox = false; // a held box ("Robot moving") is up: waits neither open nor close a box
    ReceiveMode receiveMode = ReceiveMode::Text;

    // The link the handshake sends through (not owned); without one, bytes go nowhere.
    void SetLink(LinkChannel* link) { m_link = link; }
    LinkChannel& link() const;
    // The simulated controller answers instead of the port.
    bool Simulated() const;

    // The link's events. Opened: the reply state becomes idle with the normal reply, and a real
    // controller is synchronised with an empty command line. Lost: the link is not open.
    void LinkOpened();
    void LinkLost();

    // Send level: 0 sent, 1 the link is not open.
    int SendBytes(const char* data, int length);
    int SendChar(char c);
    int SendString(const std::string& text);
    void SetReceiveMode(ReceiveMode mode) { receiveMode = mode; }
    // Bytes read from the link: text to the console (and the reply tracker), blocks to the block
    // receiver.
    void ReceiveBytes(const char* data, int length);

    // Handshake level.
    void SetNormalReply() { ReplyMode = reply::kNormalReply; }
    void SetPromptReply() { ReplyMode = reply::kSkipToPrompt; }
    // Arms the tracker for the next reply; a link that is not open stays not open so the send that
    // follows can report it.
    void ArmReply() {
        if (ReplyState != reply::kNotOpen)
            ReplyState = ReplyMode;
    }
    bool SendLine(const std::string& text);
    bool SendCommand(std::string command);
    bool WaitReply();
    int WaitTransferState();
    int ReplyStatus() const;
    bool QueryCommand(const std::string& command, std::string& answer);
    void CheckPrompt();
    void SetIOFlag();
    bool PumpMessages();
    void TrackReplyChar(char c);
    void TeachPadSignal(PadSignal signal);

    // Wait box operations.
    void ShowWaitBox(const std::string& text);
    void ShowHeldBox(const std::string& text, WaitBoxStyle style);
    void CloseWaitBox();
    void CloseHeldBox();
    void ShowProgress(int done, int total);
    // The box was closed (its "Cancel" button or any other close).
    void WaitBoxClosed();
    bool waitBoxOpen() const { return m_boxOpen; }

    // Requests of other programs: copy data (1 sent, 0 not open), reply status, last reply line.
    int CopyData(const char* data, int length);

    // Text written here is sent to the controller line by line, each "\n" waiting for the reply.
    std::ostream ControllerStream;

    // Filled by the teach pad: told of "$" and "%" in the controller's output.
    std::function<void(PadSignal signal)> TeachPadHook;
    // Filled by the block transfer: receives the bytes that arrive in block mode.
    std::function<void(const char* data, int length)> BlockReceiver;

private:
    void CompleteReply();

    LinkChannel* m_link = nullptr;
    conbuf m_conbuf;
    bool m_boxOpen = false;
    bool m_copyDataPending = false;
};

// The one handshake of the program.
Protocol& protocol();

// Enabling rule "L" of the commands that talk to the controller: the link is ready (the reply state is
// idle).
bool LinkReady();
