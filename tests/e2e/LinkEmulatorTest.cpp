// The serial link over a real pseudo-terminal against the controller emulator: what only a real line
// shows (opening, a device missing or held by another program); the fault matrix covers silence and
// unplugging.
#include "EmulatorFixture.h"

#include "core/link/CommLink.h"
#include "core/protocol/Protocol.h"

#include <QFile>

using Lines = std::vector<std::string>;

class LinkEmulatorTest : public EmulatorFixture {};

TEST_F(LinkEmulatorTest, OpeningSendsOneCrAndCommandsChangeWhatQueriesReadBack) {
    ASSERT_TRUE(m_emulator->WaitForTranscript(1));
    EXPECT_EQ(m_emulator->Transcript(), QByteArray("\r"));
    EXPECT_TRUE(protocol().SendCommand("DECIMAL 60 50 40 30 20 10 JMA"));
    EXPECT_EQ(protocol().LastReplyLine, ">DECIMAL 60 50 40 30 20 10 JMA OK");
    ASSERT_TRUE(m_emulator->Control("set joints 1 2 3 4 5 6")); // the teach pad moved the arm
    std::string answer;
    EXPECT_TRUE(protocol().QueryCommand("DECIMAL GF", answer));
    EXPECT_EQ(answer, " 1 2 3 4 5 6 ");
    EXPECT_TRUE(m_ui.messages.empty());
    EXPECT_FALSE(m_ui.waitBoxOpen);
}

TEST_F(LinkEmulatorTest, AMissingDeviceOrOneHeldUnderAnotherNameCannotBeOpened) {
    commLink().CloseComm();
    m_ui.messages.clear();
    EXPECT_FALSE(OpenLink(m_dir.filePath("no-such-device")));
    EXPECT_EQ(m_ui.messages, Lines{"Port " + Path("no-such-device") + " is not available"});
    SerialPort holder;
    ASSERT_TRUE(holder.OpenComm(1, 19200, m_emulator->devicePath().toStdString()));
    EXPECT_FALSE(OpenLink(m_emulator->linkPath()));
    EXPECT_EQ(m_ui.messages.back(),
              "Port " + m_emulator->linkPath().toStdString() + " is in use by another application");
    EXPECT_EQ(protocol().ReplyState, reply::kNotOpen);
    holder.CloseComm();
    EXPECT_TRUE(OpenLink(m_emulator->linkPath()));
}
