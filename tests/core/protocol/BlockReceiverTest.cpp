#include "core/protocol/BlockReceiver.h"
#include "core/app/CoreWiring.h"
#include "core/link/CommLink.h"
#include "core/protocol/Protocol.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class BlockReceiverTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetCore();
        buffer.assign(block::kSize, 0);
        Target(buffer.data(), buffer.data() + buffer.size());
    }

    static void Target(unsigned char* at, unsigned char* end) {
        blockTarget().writePointer = at;
        blockTarget().endBound = end;
        blockTarget().expected = block::kSize;
    }
    static void Feed(const std::string& bytes) {
        ReceiveBlockBytes(bytes.data(), static_cast<int>(bytes.size()));
    }
    static int State() { return protocol().ReplyState; }
    std::string Received(int n) const { return std::string(buffer.begin(), buffer.begin() + n); }

    ScriptedUi ui;
    std::vector<unsigned char> buffer;
};

TEST_F(BlockReceiverTest, WaitingForStxSkipsLeadingBytesAndKeepsTheRestOfTheChunk) {
    protocol().ReplyState = reply::kWaitingForStx;
    Feed("DECIMAL 0 256 TRANSMIT\x02"
         "abc");
    EXPECT_EQ(State(), reply::kBlockData);
    EXPECT_EQ(Received(3), "abc");
    EXPECT_EQ(blockTarget().expected, block::kSize - 3);
    // A chunk without STX leaves the state alone.
    protocol().ReplyState = reply::kWaitingForStx;
    Feed("junk");
    EXPECT_EQ(State(), reply::kWaitingForStx);
}

TEST_F(BlockReceiverTest, EtxWhileWaitingEndsTheTransferAndDropsTheRest) {
    protocol().ReplyState = reply::kWaitingForStx;
    const int kicks = ui.kicks;
    Feed(std::string("x\x03\x02zz", 5));
    EXPECT_EQ(State(), reply::kIdle);
    EXPECT_EQ(ui.kicks, kicks + 1);
    EXPECT_EQ(blockTarget().expected, block::kSize);
    EXPECT_EQ(buffer[0], 0);
}

TEST_F(BlockReceiverTest, ABlockSplitOverChunksCompletesAtExactly256Bytes) {
    protocol().ReplyState = reply::kWaitingForStx;
    Feed(std::string("\x02") + std::string(79, 'a'));
    Feed(std::string(80, 'b'));
    EXPECT_EQ(State(), reply::kBlockData);
    Feed(std::string(97, 'c'));
    EXPECT_EQ(State(), block::kComplete);
    EXPECT_EQ(Received(256), std::string(79, 'a') + std::string(80, 'b') + std::string(97, 'c'));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(BlockReceiverTest, MoreThanTheBlockHoldsIsTooMuchDataAndNothingOfItIsCopied) {
    protocol().ReplyState = reply::kWaitingForStx;
    Feed(std::string("\x02") + std::string(200, 'a'));
    Feed(std::string(100, 'b'));
    EXPECT_EQ(State(), reply::kTooMuchData);
    ASSERT_EQ(ui.messages, std::vector<std::string>{"Too much data"});
    EXPECT_EQ(buffer[200], 0);
    EXPECT_EQ(blockTarget().expected, 56);
}

TEST_F(BlockReceiverTest, TheEndBoundStopsABlockThatWouldRunPastTheImage) {
    Target(buffer.data() + 200, buffer.data() + buffer.size());
    protocol().ReplyState = reply::kBlockData;
    Feed(std::string(57, 'a'));
    EXPECT_EQ(State(), reply::kTooMuchData);
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST_F(BlockReceiverTest, DownloadHandshakeAcceptsOnlyStxAsTheFirstByte) {
    protocol().ReplyState = reply::kCollecting;
    Feed("\x02junk");
    EXPECT_EQ(State(), reply::kIdle);
    EXPECT_TRUE(ui.messages.empty());

    protocol().ReplyState = reply::kCollecting;
    Feed("\x15\x02");
    EXPECT_EQ(State(), reply::kStxExpected);
    protocol().ReplyState = reply::kCollecting;
    Feed("\xf0");
    EXPECT_EQ(ui.messages,
              (std::vector<std::string>{"expecting STX, received 21", "expecting STX, received -16"}));
}

TEST_F(BlockReceiverTest, OtherStatesAndEmptyChunksAreIgnored) {
    for (int state : {reply::kIdle, reply::kStxExpected, reply::kTooMuchData, block::kComplete}) {
        protocol().ReplyState = state;
        Feed("\x02\x03"
             "abc");
        EXPECT_EQ(State(), state);
    }
    protocol().ReplyState = reply::kWaitingForStx;
    ReceiveBlockBytes("\x03", 0);
    EXPECT_EQ(State(), reply::kWaitingForStx);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(BlockReceiverTest, TheChannelPassesBlockModeBytesToTheInstalledReceiver) {
    InstallBlockReceiver();
    commLink().EnsureDocument();
    protocol().SetReceiveMode(ReceiveMode::Block);
    protocol().ReplyState = reply::kWaitingForStx;
    protocol().ReceiveBytes("\x02xy", 3);
    EXPECT_EQ(Received(2), "xy");
    EXPECT_EQ(commLink().document()->GetLine(0), "");
    ResetCore();
}

} // namespace
