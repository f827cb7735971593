#include "EmulatorFixture.h"

#include "core/link/CommLink.h"
#include "core/protocol/Protocol.h"

#include <QFileInfo>
#include <QTimer>

#include <algorithm>
#include <numeric>

// Marlix's link and handshake against the controller emulator, over its pseudo-terminal.
class EmulatorLinkTest : public EmulatorFixture {
protected:
    // The joints as the controller reports them to GF.
    std::string QueryJoints() {
        std::string answer;
        if (!protocol().QueryCommand("DECIMAL GF", answer))
            return "failed";
        const auto first = answer.find_first_not_of(' ');
        const auto last = answer.find_last_not_of(' ');
        return first == std::string::npos ? std::string() : answer.substr(first, last - first + 1);
    }
};

TEST_F(EmulatorLinkTest, OpeningSendsOneCarriageReturnThenCommandsChangeTheArmAndQueriesReadItBack) {
    ASSERT_TRUE(m_emulator->WaitForTranscript(1));
    EXPECT_EQ(m_emulator->Transcript(), QByteArray("\r"));
    EXPECT_EQ(protocol().ReplyState, reply::kIdle);
    EXPECT_TRUE(m_port->IsConnected());

    EXPECT_TRUE(protocol().SendCommand("HOME"));
    // The prompt of the previous reply starts the line.
    EXPECT_EQ(protocol().LastReplyLine, ">HOME OK");
    EXPECT_EQ(QueryJoints(), "0 0 0 0 0 0");
    // Values go from the last axis to the first.
    EXPECT_TRUE(protocol().SendCommand("DECIMAL 60 50 40 30 20 10 JMA"));
    EXPECT_EQ(QueryJoints(), "10 20 30 40 50 60");
    EXPECT_EQ(m_emulator->Transcript(),
              QByteArray("\rHOME\rDECIMAL GF\rDECIMAL 60 50 40 30 20 10 JMA\rDECIMAL GF\r"));
    // A move of the teach pad, made behind Marlix's back, is read as well.
    ASSERT_TRUE(m_emulator->Control("set joints 1 2 3 4 5 6"));
    EXPECT_EQ(QueryJoints(), "1 2 3 4 5 6");
    EXPECT_TRUE(m_ui.messages.empty());
}

TEST_F(EmulatorLinkTest, SilentControllerWaitIsCancelled) {
    ASSERT_TRUE(m_emulator->Control("silent on"));
    CancelAfter(200);
    EXPECT_FALSE(protocol().SendCommand("HOME"));
    EXPECT_EQ(protocol().ReplyState, reply::kCollecting);
    EXPECT_TRUE(m_port->IsConnected());
    EXPECT_TRUE(m_ui.messages.empty());
    // The controller talks again: the link was never lost.
    ASSERT_TRUE(m_emulator->Control("silent off"));
    EXPECT_TRUE(protocol().SendCommand("HOME"));
}

TEST_F(EmulatorLinkTest, UnplugDuringWaitIsReportedOnceAndReopenWorksAfterReplug) {
    ASSERT_TRUE(m_emulator->Control("silent on"));
    QTimer::singleShot(150, [this] { m_emulator->Control("unplug"); });
    EXPECT_FALSE(protocol().SendCommand("HOME"));
    EXPECT_EQ(protocol().ReplyState, reply::kNotOpen);
    EXPECT_FALSE(m_port->IsConnected());
    const std::vector<std::string> lost{"Port " + m_emulator->linkPath().toStdString() +
                                        " is no longer available"};
    EXPECT_EQ(m_ui.messages, lost);
    // The device's name is gone with it, as an adaptor's is.
    EXPECT_FALSE(QFileInfo(m_emulator->linkPath()).isSymLink());
    // Nothing further is reported while the device stays away, and sending is refused.
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(m_ui.messages, lost);
    EXPECT_FALSE(protocol().SendCommand("HOME"));
    EXPECT_EQ(m_ui.messages.back(), "Communication is not open");

    ASSERT_TRUE(m_emulator->Control("replug"));
    ASSERT_TRUE(m_emulator->Control("silent off"));
    const qsizetype before = m_emulator->Transcript().size();
    commLink().ReOpen();
    EXPECT_EQ(protocol().ReplyState, reply::kIdle);
    EXPECT_TRUE(protocol().SendCommand("HOME"));
    EXPECT_EQ(ReceivedSince(before), QByteArray("\rHOME\r"));
    EXPECT_EQ(m_ui.messages.size(), 2u);
}

TEST_F(EmulatorLinkTest, ABurstIsReadInPiecesOfAtMostEighty) {
    m_port->reads.clear();
    ASSERT_TRUE(m_emulator->Control("garbage 1000"));
    ASSERT_TRUE(
        PumpUntil([this] { return std::accumulate(m_port->reads.begin(), m_port->reads.end(), 0) >= 1000; }));
    EXPECT_EQ(std::accumulate(m_port->reads.begin(), m_port->reads.end(), 0), 1000);
    EXPECT_LE(*std::max_element(m_port->reads.begin(), m_port->reads.end()), 80);
}
