#include "core/app/CoreWiring.h"
#include "core/link/CommLink.h"
#include "core/link/SimulatedController.h"
#include "core/protocol/Protocol.h"
#include "core/protocol/RobotExchange.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

#include <tuple>

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

// How a command ended, as one text: accepted or refused, the link's state, the last reply line, the
// query's answer, then the messages shown and the teach-pad signals collected.
std::string Outcome(bool accepted, const std::string& answer, const Console& h) {
    const int state = protocol().ReplyState;
    std::string text = std::string(accepted ? "ok " : "refused ") +
                       (state == reply::kIdle         ? "idle"
                        : state == reply::kCollecting ? "collecting"
                                                      : std::to_string(state)) +
                       " [" + protocol().LastReplyLine + "] [" + answer + "]";
    for (const std::string& m : h.ui.messages)
        text += " \"" + m + "\"";
    for (int s : h.signals)
        text += " " + std::to_string(s);
    return text;
}

// How each reply ends the command that asked for it.
TEST(Replies, EachReplyGivesItsCompletionLastLineAndPadSignals) {
    const int normal = reply::kNormalReply, promptOnly = reply::kPromptOnly;
    const struct {
        const char* command;
        bool query;
        int mode;
        std::string reply;
        bool cancel; // the operator presses "Cancel" after the reply
        const char* outcome;
    } cases[] = {
        {"HOME", false, normal, "HOME OK\r\n>", false, "ok idle [HOME OK] []"},
        // Stray LFs before the prompt, a CR without LF inside the line.
        {"GF", false, normal, "GF 10\rx OK\r\n\n\n>", false, "ok idle [] []"},
        {"FOO", false, normal, "FOO err\r\n>", false, "refused idle [FOO err] [] \"OK expected\""},
        // Pad signals inside a line are not collected.
        {"X", false, normal, "X O$K%\r\n>", false, "ok idle [X O$K%] [] 1 2"},
        {"DECIMAL GF", true, normal, "DECIMAL GF  10 20 30 OK\r\n>", false,
         "ok idle [DECIMAL GF  10 20 30 OK] [10 20 30 ]"},
        {"DECIMAL GF", true, normal, "DECIMAL GF  OK\r\n>", false, "refused idle [DECIMAL GF  OK] []"},
        {"|", false, promptOnly, "| >", false, "ok idle [] []"},
        {"LINE", false, promptOnly, "\r\n>", false, "refused collecting [] [] \"> expected\""},
        {"HOME", false, normal, "HOME OK\r\n", true, "refused collecting [HOME OK] []"},
    };
    for (const auto& c : cases) {
        Console h;
        h.Reply({c.reply});
        if (c.cancel)
            h.ui.events.push_back([] { protocol().WaitBoxClosed(); });
        protocol().ReplyMode = c.mode;
        std::string answer;
        const bool accepted =
            c.query ? protocol().QueryCommand(c.command, answer) : protocol().SendCommand(c.command);
        EXPECT_EQ(Outcome(accepted, answer, h), c.outcome) << c.reply;
        EXPECT_FALSE(h.ui.boxOpen);
    }
}

TEST_F(Handshake, AReplyReopensAClosedTerminalAndTypedTextKeepsTheLinkBusyUntilThePrompt) {
    commLink().DropDocument();
    ui.commWindowsOpened = 0;
    Reply({"HOME ", "OK\r\n>"});
    EXPECT_EQ(Outcome(protocol().SendCommand("HOME"), "", *this), "ok idle [HOME OK] []");
    EXPECT_EQ(ui.commWindowsOpened, 1);
    // Text the operator types makes the link busy until the prompt.
    const int kicks = ui.kicks;
    Receive("A");
    EXPECT_EQ(protocol().ReplyStatus(), 2);
    Receive("B OK\r\n>");
    EXPECT_EQ(std::make_pair(protocol().ReplyStatus(), ui.kicks), std::make_pair(1, kicks + 1));
    EXPECT_EQ(commLink().document()->SavedText(), "HOME OK\r\n>AB OK\r\n>");
}

TEST_F(Handshake, AClosedLinkRefusesEverySendAndALostLinkEndsTheWait) {
    protocol().ReplyState = reply::kNotOpen;
    EXPECT_FALSE(protocol().SendCommand("HOME"));
    EXPECT_EQ(protocol().CopyData("X\r", 2), 0);
    EXPECT_TRUE((protocol().ControllerStream << "A\n").bad());
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

// The simulated controller answers inside the send, before any wait begins; a query gets its one number.
TEST_F(Handshake, TheSimulatedControllerAnswersAtOnce) {
    commLink().Simulate = true;
    commLink().OpenCommunication();
    EXPECT_TRUE(protocol().SendCommand("HOME"));
    EXPECT_EQ(std::make_tuple(protocol().LastReplyLine, commLink().document()->title, ui.waits),
              std::make_tuple("HOME simOK", "Simulated Communication", 0));
    protocol().CheckPrompt();
    EXPECT_TRUE(protocol().SendCommand("DATA 1 2"));
    protocol().SetIOFlag();
    EXPECT_EQ(protocol().LastReplyLine, ">>>IOFLAG C0SET simOK"); // prompt-only answers leave their ">"
    int n = 0;
    AxisValues values = {1, 2, 3, 4, 5, 6};
    EXPECT_TRUE(QueryNumber("FGRIP C@ .", n) && ReadJoints(values));
    EXPECT_EQ(std::make_tuple(n, values[5]), std::make_tuple(SimulatedController::kQueryAnswer, 6));
    EXPECT_TRUE(ui.messages.empty());
}

} // namespace
