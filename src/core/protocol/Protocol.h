#pragma once

#include "core/protocol/ControllerStream.h"

#include <functional>
#include <ostream>
#include <string>

// Reply tracker states; ReplyState doubles as the link state.
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
} // namespace reply

// The command/reply handshake with the controller: sends command lines, follows the characters that
// come back, waits for the end of the reply while events keep flowing, judges the reply and keeps the
// last reply line. Also carries ControllerStream and the requests of other programs.
class Protocol {
public:
    Protocol();
    Protocol(const Protocol&) = delete;
    Protocol& operator=(const Protocol&) = delete;

    // Global handshake state.
    int ReplyState = reply::kNotOpen;
    int ReplyMode = 0;
    char previousChar = 0; // the two most recent characters collected while collecting a line
    char lastChar = 0;
    std::string LastReplyLine;
    bool CancelFlag = false;
    bool heldBox = false; // a held box ("Robot moving") is up: waits neither open nor close a box
    int receiveMode = 0;  // 0 text, 1 block

    // Send level: 0 sent, 1 the link is not open.
    int SendBytes(const char* data, int length);
    int SendChar(char c);
    int SendString(const std::string& text);
    void SetReceiveMode(int mode) { receiveMode = mode; }
    // Bytes read from the port: text to the terminal display, blocks to the block receiver.
    void ReceiveBytes(const char* data, int length);

    // Handshake level.
    void SetNormalReply() { ReplyMode = 0; }
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
    void TeachPadSignal(int code);

    // Wait box operations.
    void ShowWaitBox(const std::string& text);
    void ShowHeldBox(const std::string& text, int style);
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

    // Filled by the teach pad: told of "$" (1) and "%" (2) in the controller's output.
    std::function<void(int code)> TeachPadHook;
    // Filled by the block transfer: receives the bytes that arrive in block mode.
    std::function<void(const char* data, int length)> BlockReceiver;

private:
    void CompleteReply();

    conbuf m_conbuf;
    bool m_boxOpen = false;
    bool m_copyDataPending = false;
};

// The one handshake of the program.
Protocol& protocol();
// Starts the handshake over from its initial state (tests).
void ResetProtocol();

// Enabling rule "L" of the commands that talk to the controller: the link is ready (the reply state is
// idle).
bool LinkReady();
