#include "core/app/CoreWiring.h"
#include "core/link/CommLink.h"
#include "core/protocol/Protocol.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

namespace {

// A link with a document and no port: bytes "from the controller" are fed with Receive().
class Handshake : public ::testing::Test {
protected:
    void SetUp() override {
        ResetCore();
        commLink().EnsureDocument();
        protocol().ReplyState = reply::kIdle;
    }
    void TearDown() override { ResetCore(); }
    static void Receive(const std::string& bytes) {
        protocol().ReceiveBytes(bytes.data(), static_cast<int>(bytes.size()));
    }
    // Schedules the controller's output, one chunk per wait.
    void Reply(std::initializer_list<std::string> chunks) {
        for (const std::string& chunk : chunks)
            ui.events.push_back([chunk] { Receive(chunk); });
    }
    ScriptedUi ui;
};

TEST_F(Handshake, AcceptedReplyKeepsTheEchoAndOkAsLastLine) {
    Reply({"HOME OK\r\n>"});
    EXPECT_TRUE(protocol().SendCommand("HOME"));
    EXPECT_EQ(protocol().LastReplyLine, "HOME OK");
    EXPECT_EQ(protocol().ReplyState, reply::kIdle);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(ui.boxOpen);
    EXPECT_EQ(ui.boxTexts, std::vector<std::string>{"Waiting for controller"});
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

TEST_F(Handshake, HostileByteOrdersStillCompleteTheReply) {
    // Split into single bytes, stray LFs before the prompt, a CR without LF inside the line.
    Reply({"G", "F 1", "0\r", "x O", "K\r", "\n", "\n\n", ">"});
    EXPECT_TRUE(protocol().SendCommand("GF"));
    EXPECT_EQ(protocol().ReplyState, reply::kIdle);
}

TEST_F(Handshake, ReplyWithoutOkIsRefusedAfterThePrompt) {
    Reply({"FOO err\r\n", ">"});
    EXPECT_FALSE(protocol().SendCommand("FOO"));
    EXPECT_EQ(ui.messages, std::vector<std::string>{"OK expected"});
    EXPECT_EQ(protocol().ReplyState, reply::kIdle);
}

TEST_F(Handshake, TeachPadSignalsInsideALineAreNotCollected) {
    std::vector<PadSignal> signals;
    protocol().TeachPadHook = [&](PadSignal signal) { signals.push_back(signal); };
    Reply({"X O$K%\r\n>"});
    EXPECT_TRUE(protocol().SendCommand("X"));
    EXPECT_EQ(signals, (std::vector<PadSignal>{PadSignal::Learn, PadSignal::Drop}));
}

TEST_F(Handshake, NoPromptWaitsUntilCancelled) {
    Reply({"HOME OK\r\n"});
    ui.events.push_back([] { protocol().WaitBoxClosed(); }); // the operator presses "Cancel"
    EXPECT_FALSE(protocol().SendCommand("HOME"));
    EXPECT_EQ(protocol().ReplyState, reply::kCollecting);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(protocol().ReplyStatus(), 2);
}

TEST_F(Handshake, PromptOnlyMode) {
    Reply({"| >"});
    protocol().ReplyMode = reply::kPromptOnly;
    EXPECT_TRUE(protocol().SendCommand("|"));
    Reply({"\r\n>"});
    EXPECT_FALSE(protocol().SendCommand("LINE"));
    EXPECT_EQ(ui.messages, std::vector<std::string>{"> expected"});
    EXPECT_EQ(protocol().ReplyState, reply::kCollecting);
}

TEST_F(Handshake, QueryCutsTheAnswerBetweenEchoAndOk) {
    std::string answer = "unchanged";
    Reply({"DECIMAL GF  OK\r\n>"});
    EXPECT_FALSE(protocol().QueryCommand("DECIMAL GF", answer)); // empty answer area
    EXPECT_EQ(answer, "unchanged");
    // The prompt of the previous reply now leads the line; the answer keeps one leading blank.
    Reply({"DECIMAL GF  10 20 30 OK\r\n>"});
    EXPECT_TRUE(protocol().QueryCommand("DECIMAL GF", answer));
    EXPECT_EQ(protocol().LastReplyLine, ">DECIMAL GF  10 20 30 OK");
    EXPECT_EQ(answer, " 10 20 30 ");
}

TEST_F(Handshake, ClosedLinkRefusesEverySend) {
    protocol().ReplyState = reply::kNotOpen;
    EXPECT_FALSE(protocol().SendCommand("HOME"));
    EXPECT_EQ(ui.messages, std::vector<std::string>{"Communication is not open"});
    EXPECT_EQ(protocol().CopyData("X\r", 2), 0);
    protocol().ControllerStream << "A\n";
    EXPECT_TRUE(protocol().ControllerStream.bad());
}

TEST_F(Handshake, LinkLostDuringAWaitEndsItWithFalse) {
    ui.events.push_back([] { commLink().OnTransportLost(); });
    EXPECT_FALSE(protocol().SendCommand("HOME"));
    EXPECT_EQ(protocol().ReplyState, reply::kNotOpen);
}

TEST_F(Handshake, QuittingEndsTheWait) {
    ui.quitting = true;
    EXPECT_TRUE(protocol().SendCommand("HOME"));
    EXPECT_FALSE(ui.boxOpen);
}

TEST_F(Handshake, HeldBoxStaysUpAcrossWaitsAndCancelEndsThem) {
    protocol().ShowHeldBox("Robot moving", WaitBoxStyle::Plain);
    Reply({"JMA 1 OK\r\n>"});
    EXPECT_TRUE(protocol().SendCommand("JMA 1"));
    EXPECT_TRUE(ui.boxOpen);
    ui.events.push_back([] { protocol().WaitBoxClosed(); });
    EXPECT_FALSE(protocol().SendCommand("JMA 2"));
    EXPECT_FALSE(ui.boxOpen);
    protocol().CloseHeldBox();
    EXPECT_FALSE(protocol().heldBox);
}

TEST_F(Handshake, TypedLineMovesIdleThroughCollectingBackToIdle) {
    Receive("A");
    EXPECT_EQ(protocol().ReplyState, reply::kCollecting);
    EXPECT_EQ(protocol().ReplyStatus(), 2);
    Receive("B OK\r\n>");
    EXPECT_EQ(protocol().ReplyState, reply::kIdle);
    EXPECT_EQ(protocol().ReplyStatus(), 1);
    EXPECT_GE(ui.kicks, 1);
}

TEST_F(Handshake, BytesInBlockModeGoToTheBlockReceiver) {
    std::string block;
    protocol().BlockReceiver = [&](const char* data, int n) { block.append(data, n); };
    protocol().SetReceiveMode(ReceiveMode::Block);
    Receive("\x02"
            "ab"
            "\x80");
    EXPECT_EQ(block, "\x02"
                     "ab"
                     "\x80");
    EXPECT_EQ(commLink().document()->GetLine(0), "");
}

// The simulated controller answers inside the send, before any wait begins.
class Simulated : public Handshake {
protected:
    void SetUp() override {
        Handshake::SetUp();
        commLink().Simulate = true;
        commLink().OpenCommunication();
    }
};

TEST_F(Simulated, CommandIsEchoedAndAnsweredSimOk) {
    EXPECT_TRUE(protocol().SendCommand("HOME"));
    EXPECT_EQ(protocol().LastReplyLine, "HOME simOK");
    EXPECT_EQ(commLink().document()->title, "Simulated Communication");
    EXPECT_EQ(ui.waits, 0); // never blocked: the reply was complete before the wait began
}

TEST_F(Simulated, TildeIsAnsweredErrWithoutPromptAndTheNextLineIsFine) {
    ui.events.push_back([] { protocol().WaitBoxClosed(); });
    EXPECT_FALSE(protocol().SendCommand("A~B"));
    EXPECT_EQ(commLink().document()->GetLastLine(), "A~B err");
    EXPECT_TRUE(ui.messages.empty());
    Receive("\r\n>"); // the operator presses Enter in the terminal
    EXPECT_TRUE(protocol().SendCommand("HOME"));
    EXPECT_EQ(protocol().LastReplyLine, ">HOME simOK");
}

TEST_F(Simulated, ControllerStreamSendsLineByLineAndStopsAtTheFirstRefusal) {
    protocol().ControllerStream << "ONE\r\nTWO\n";
    EXPECT_TRUE(protocol().ControllerStream.good());
    EXPECT_EQ(protocol().LastReplyLine, ">TWO simOK");
    ui.events.push_back([] { protocol().WaitBoxClosed(); });
    protocol().ControllerStream << "B~AD\nTHREE\n";
    EXPECT_TRUE(protocol().ControllerStream.bad());
    protocol().ControllerStream.clear();
    EXPECT_EQ(commLink().document()->GetLine(commLink().document()->GetLineCount() - 2), ">B~AD err");
}

TEST_F(Simulated, PromptOnlyModeAnswersWithThePromptAlone) {
    protocol().CheckPrompt();
    EXPECT_EQ(protocol().ReplyMode, reply::kPromptOnly);
    EXPECT_TRUE(protocol().SendCommand("DATA 1 2"));
    protocol().SetIOFlag();
    EXPECT_EQ(protocol().ReplyMode, 0);
    EXPECT_EQ(protocol().LastReplyLine, ">>IOFLAG C0SET simOK"); // prompt-only answers leave their ">"
}

TEST_F(Simulated, EscapeIsAnsweredLikeCarriageReturn) {
    protocol().ArmReply();
    protocol().SendChar(27);
    EXPECT_EQ(protocol().ReplyState, reply::kIdle);
    EXPECT_EQ(commLink().document()->GetLastLine(), " simOK");
}

TEST_F(Simulated, CopyDataTakesItsReplyLineAsLastLine) {
    EXPECT_EQ(protocol().CopyData("HOME\r", 5), 1);
    EXPECT_EQ(protocol().ReplyStatus(), 1);
    EXPECT_EQ(protocol().LastReplyLine, "HOME simOK");
}

TEST_F(Simulated, BlockModeSendsAreAcknowledgedAtOnce) {
    protocol().SetReceiveMode(ReceiveMode::Block);
    protocol().ReplyState = reply::kWaitingForStx;
    protocol().SendChar(5);
    EXPECT_EQ(protocol().ReplyState, reply::kIdle);
}

} // namespace
