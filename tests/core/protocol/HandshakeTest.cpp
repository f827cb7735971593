#include "core/app/CoreWiring.h"
#include "core/link/CommLink.h"
#include "core/protocol/Protocol.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using Lines = std::vector<std::string>;

// A link with its terminal and no port: the controller's bytes are fed to the handshake by scripted
// events, one chunk per wait.
struct Console {
    Console() {
        ResetCore();
        commLink().EnsureDocument();
        protocol().ReplyState = reply::kIdle;
        protocol().TeachPadHook = [this](PadSignal s) { signals.push_back(static_cast<int>(s)); };
    }
    ~Console() { ResetCore(); }
    static void Receive(const std::string& bytes) {
        protocol().ReceiveBytes(bytes.data(), static_cast<int>(bytes.size()));
    }
    void Reply(const std::vector<std::string>& chunks) {
        for (const std::string& chunk : chunks)
            ui.events.push_back([chunk] { Receive(chunk); });
    }
    ScriptedUi ui;
    std::vector<int> signals;
};

class Handshake : public ::testing::Test, public Console {};

struct Outcome;
std::ostream& operator<<(std::ostream& out, const Outcome& o);

struct Outcome {
    bool accepted;
    int state;
    std::string lastLine, answer;
    Lines messages;
    std::vector<int> signals;
    bool operator==(const Outcome& o) const {
        return std::tie(accepted, state, lastLine, answer, messages, signals) ==
               std::tie(o.accepted, o.state, o.lastLine, o.answer, o.messages, o.signals);
    }
};

std::ostream& operator<<(std::ostream& out, const Outcome& o) {
    out << o.accepted << " " << o.state << " [" << o.lastLine << "] [" << o.answer << "]";
    for (const std::string& m : o.messages)
        out << " \"" << m << "\"";
    for (int s : o.signals)
        out << " " << s;
    return out;
}

struct ReplyCase {
    const char* command;
    bool query;
    int mode;
    std::string reply;
    bool cancel; // the operator presses "Cancel" after the reply
    Outcome expected;
};

// Any reply, cut into chunks at random points, ends the same way as in one piece.
TEST(SplitReplies, EveryCutGivesTheSameCompletionLastLineAndPadSignals) {
    const ReplyCase cases[] = {
        {"HOME",
         false,
         reply::kNormalReply,
         "HOME OK\r\n>",
         false,
         {true, reply::kIdle, "HOME OK", "", {}, {}}},
        // Stray LFs before the prompt, a CR without LF inside the line.
        {"GF",
         false,
         reply::kNormalReply,
         "GF 10\rx OK\r\n\n\n>",
         false,
         {true, reply::kIdle, "", "", {}, {}}},
        {"FOO",
         false,
         reply::kNormalReply,
         "FOO err\r\n>",
         false,
         {false, reply::kIdle, "FOO err", "", {"OK expected"}, {}}},
        // Pad signals inside a line are not collected.
        {"X",
         false,
         reply::kNormalReply,
         "X O$K%\r\n>",
         false,
         {true, reply::kIdle, "X O$K%", "", {}, {1, 2}}},
        {"DECIMAL GF",
         true,
         reply::kNormalReply,
         "DECIMAL GF  10 20 30 OK\r\n>",
         false,
         {true, reply::kIdle, "DECIMAL GF  10 20 30 OK", "10 20 30 ", {}, {}}},
        {"DECIMAL GF",
         true,
         reply::kNormalReply,
         "DECIMAL GF  OK\r\n>",
         false,
         {false, reply::kIdle, "DECIMAL GF  OK", "", {}, {}}},
        {"|", false, reply::kPromptOnly, "| >", false, {true, reply::kIdle, "", "", {}, {}}},
        {"LINE",
         false,
         reply::kPromptOnly,
         "\r\n>",
         false,
         {false, reply::kCollecting, "", "", {"> expected"}, {}}},
        {"HOME",
         false,
         reply::kNormalReply,
         "HOME OK\r\n",
         true,
         {false, reply::kCollecting, "HOME OK", "", {}, {}}},
    };
    std::mt19937 random(7);
    for (const ReplyCase& c : cases) {
        for (int round = 0; round < 30; ++round) {
            Console h;
            std::vector<std::string> chunks;
            for (size_t at = 0; at < c.reply.size();) {
                const size_t n = round == 0 ? c.reply.size() : 1 + random() % 4;
                chunks.push_back(c.reply.substr(at, n));
                at += n;
            }
            SCOPED_TRACE(c.reply + " in " + std::to_string(chunks.size()) + " chunks");
            h.Reply(chunks);
            if (c.cancel)
                h.ui.events.push_back([] { protocol().WaitBoxClosed(); });
            protocol().ReplyMode = c.mode;
            Outcome got{};
            got.accepted =
                c.query ? protocol().QueryCommand(c.command, got.answer) : protocol().SendCommand(c.command);
            got.state = protocol().ReplyState;
            got.lastLine = protocol().LastReplyLine;
            got.messages = h.ui.messages;
            got.signals = h.signals;
            EXPECT_EQ(got, c.expected);
            EXPECT_FALSE(h.ui.boxOpen);
        }
    }
}

TEST_F(Handshake, AReplyWhileTheTerminalIsClosedReopensItAndCompletes) {
    commLink().DropDocument();
    ui.commWindowsOpened = 0;
    Reply({"HOME ", "OK\r\n>"});
    EXPECT_TRUE(protocol().SendCommand("HOME"));
    EXPECT_EQ(protocol().LastReplyLine, "HOME OK");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.commWindowsOpened, 1);
}

// With no screen installed nothing can arrive: a wait for a reply ends at once instead of hanging.
TEST(SilentScreen, AReplyThatCannotComeEndsTheWaitAtOnce) {
    ResetCore();
    commLink().EnsureDocument();
    protocol().ReplyState = reply::kIdle;
    EXPECT_FALSE(protocol().SendCommand("HOME"));
    ResetCore();
}

TEST_F(Handshake, AClosedLinkRefusesEverySendAndALostLinkEndsTheWait) {
    protocol().ReplyState = reply::kNotOpen;
    EXPECT_FALSE(protocol().SendCommand("HOME"));
    EXPECT_EQ(protocol().CopyData("X\r", 2), 0);
    protocol().ControllerStream << "A\n";
    EXPECT_TRUE(protocol().ControllerStream.bad());
    EXPECT_EQ(ui.messages, Lines(3, "Communication is not open"));

    protocol().ControllerStream.clear();
    protocol().ReplyState = reply::kIdle;
    ui.events.push_back([] { commLink().OnTransportLost(); });
    EXPECT_FALSE(protocol().SendCommand("HOME"));
    EXPECT_EQ(protocol().ReplyState, reply::kNotOpen);
    ui.quitting = true; // quitting ends any wait
    protocol().ReplyState = reply::kIdle;
    EXPECT_TRUE(protocol().SendCommand("HOME"));
}

TEST_F(Handshake, AHeldBoxStaysUpAcrossWaitsUntilCancelled) {
    protocol().ShowHeldBox("Robot moving", WaitBoxStyle::Plain);
    Reply({"JMA 1 OK\r\n>"});
    EXPECT_TRUE(protocol().SendCommand("JMA 1"));
    EXPECT_TRUE(ui.boxOpen);
    EXPECT_TRUE(protocol().waitBoxOpen());
    ui.events.push_back([] { protocol().WaitBoxClosed(); });
    EXPECT_FALSE(protocol().SendCommand("JMA 2"));
    EXPECT_FALSE(ui.boxOpen);
    EXPECT_FALSE(protocol().waitBoxOpen());
    protocol().CloseHeldBox();
    EXPECT_FALSE(protocol().heldBox);
    EXPECT_EQ(ui.boxTexts, Lines{"Robot moving"});
}

TEST_F(Handshake, TypedTextMakesTheLinkBusyUntilThePromptAndBlockBytesBypassTheTerminal) {
    Receive("A");
    EXPECT_EQ(protocol().ReplyStatus(), 2);
    Receive("B OK\r\n>");
    EXPECT_EQ(protocol().ReplyStatus(), 1);
    EXPECT_GE(ui.kicks, 1);
    std::string block;
    protocol().BlockReceiver = [&](const char* data, int n) { block.append(data, n); };
    protocol().SetReceiveMode(ReceiveMode::Block);
    Receive("\x02xy");
    EXPECT_EQ(block, "\x02xy");
    EXPECT_EQ(commLink().document()->GetLastLine(), "AB OK");
    EXPECT_EQ(commLink().document()->GetLine(1), ">");
}

// The simulated controller answers inside the send, before any wait begins.
TEST_F(Handshake, TheSimulatedControllerAnswersAtOnce) {
    commLink().Simulate = true;
    commLink().OpenCommunication();
    EXPECT_TRUE(protocol().SendCommand("HOME"));
    EXPECT_EQ(protocol().LastReplyLine, "HOME simOK");
    EXPECT_EQ(commLink().document()->title, "Simulated Communication");
    EXPECT_EQ(ui.waits, 0);
    EXPECT_EQ(protocol().CopyData("GO\r", 3), 1);
    EXPECT_EQ(protocol().LastReplyLine, ">GO simOK");
    protocol().CheckPrompt();
    EXPECT_TRUE(protocol().SendCommand("DATA 1 2"));
    protocol().SetIOFlag();
    EXPECT_EQ(protocol().LastReplyLine, ">>>IOFLAG C0SET simOK"); // prompt-only answers leave their ">"
    protocol().ArmReply();
    protocol().SendChar(27); // ESC is answered like CR
    EXPECT_EQ(commLink().document()->GetLastLine(), "> simOK");

    // "~" is answered " err" without a prompt: the stream stops at that line.
    ui.events.push_back([] { protocol().WaitBoxClosed(); });
    protocol().ControllerStream << "ONE\nB~AD\nTHREE\n";
    EXPECT_TRUE(protocol().ControllerStream.bad());
    protocol().ControllerStream.clear();
    EXPECT_EQ(commLink().document()->GetLastLine(), ">B~AD err");
    EXPECT_TRUE(ui.messages.empty());
    Receive("\r\n>"); // the operator presses Enter in the terminal
    EXPECT_TRUE(protocol().SendCommand("HOME"));
}

} // namespace
