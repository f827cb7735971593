// The core against the controller emulator over a real pseudo-terminal where only a real line or the
// emulator program shows it: opening (one CR), a device missing or held by another program, moves that take a
// while, a transfer cancelled on a slow line, the controller's word list. The fault matrix covers
// silence and unplugging.
#include "EmulatorSession.h"

#include "core/app/WordCheck.h"
#include "core/macros/Cmacdoc.h"
#include "core/protocol/BlockTransfer.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

// A wait box that shows no progress for four seconds is cancelled, so no test can hang; the test
// fails when that had to happen.
class LinkEmulatorTest : public ::testing::Test, public EmulatorSession {
protected:
    LinkEmulatorTest() : EmulatorSession(4000) {}
    void SetUp() override { ASSERT_EQ(Start(), ""); }
    void TearDown() override { EXPECT_EQ(screen.cancels, 0) << "a wait had to be cancelled"; }
};

TEST_F(LinkEmulatorTest, AMissingDeviceOrOneHeldUnderAnotherNameCannotBeOpened) {
    commLink().CloseComm();
    EXPECT_FALSE(OpenLink(dir.filePath("no-such-device")));
    EXPECT_EQ(screen.messages,
              std::vector<std::string>{"Port " + Path("no-such-device") + " is not available"});
    SerialPort holder;
    ASSERT_TRUE(holder.OpenComm(1, 19200, emulator.devicePath().toStdString()));
    EXPECT_FALSE(OpenLink(emulator.linkPath()));
    EXPECT_EQ(screen.messages.back(),
              "Port " + emulator.linkPath().toStdString() + " is in use by another application");
    EXPECT_EQ(protocol().ReplyState, reply::kNotOpen);
    holder.CloseComm();
    EXPECT_TRUE(OpenLink(emulator.linkPath()));
}

TEST_F(LinkEmulatorTest, AMacroWaitsForEachMoveToEnd) {
    ASSERT_TRUE(emulator.Control("movetime 100"));
    macroDoc().Append("Two", "HOME\r\nDECIMAL 60 50 40 30 20 10 JMA");
    EXPECT_TRUE(macroDoc().RunMacro(0));
    EXPECT_EQ(protocol().LastReplyLine, ">DECIMAL 60 50 40 30 20 10 JMA OK");
    std::string joints;
    EXPECT_TRUE(protocol().QueryCommand("DECIMAL GF", joints));
    EXPECT_EQ(joints, " 10 20 30 40 50 60 ");
    // The link opened with one CR; nothing else was sent.
    EXPECT_EQ(emulator.Transcript(), QByteArray("\rHOME\rDECIMAL 60 50 40 30 20 10 JMA\rDECIMAL GF\r"));
}

TEST_F(LinkEmulatorTest, ADownloadCancelledOnASlowLineEndsAtOnceAndLeavesTheLinkUsable) {
    ASSERT_TRUE(emulator.Control("baud 2400")); // every STX takes a while
    QByteArray data(0x4000, 'd');
    QBuffer file(&data);
    file.open(QIODevice::ReadOnly);
    QTimer poll;
    poll.callOnTimeout([&poll, this] {
        if (screen.progressDone >= 0x1000) {
            poll.stop();
            protocol().WaitBoxClosed();
        }
    });
    poll.start(1);
    protocol().ShowHeldBox("Loading", WaitBoxStyle::Progress);
    EXPECT_FALSE(DownloadBlock(file, 1, 0x2000, 0x4000));
    protocol().CloseHeldBox();
    EXPECT_EQ(protocol().receiveMode, ReceiveMode::Text);
    ASSERT_TRUE(emulator.Control("baud 0"));
    EXPECT_TRUE(PumpUntil([] { return protocol().ReplyState == reply::kIdle; }));
    EXPECT_TRUE(protocol().SendCommand("1 2 +"));
    EXPECT_TRUE(screen.messages.empty());
}

TEST(WordListEmulatorTest, TheEmulatorsWordsAreTheControllerTableBesideTheProgram) {
    QTemporaryDir dir;
    QProcess emulator;
    emulator.start(EmulatorProcess::Program(), {"--words", QDir(dir.path()).filePath("KXWords.txt")});
    ASSERT_TRUE(emulator.waitForFinished(10000) && emulator.exitCode() == 0);
    WordCheck check;
    ASSERT_TRUE(check.LoadControllerWords(dir.path()));
    const qint64 records = QFileInfo(QDir(dir.path()).filePath("KXWords.txt")).size() / 19;
    EXPECT_EQ(check.controllerTable().count(), std::min<qint64>(records, WordTable::kCapacity));
    EXPECT_EQ(check.CheckProject({"HOMES"}, ": HOME ;"), "HOME redefines a Kaventrix word\n");
#ifdef MARLIX_PROGRAM_DIR
    WordCheck installed;
    EXPECT_TRUE(installed.LoadControllerWords(MARLIX_PROGRAM_DIR));
#endif
}
