// Work against the controller emulator over its pseudo-terminal where time or the emulator program
// matters: moves that take a while, a transfer cancelled on a slow line, the controller's word list.
#include "EmulatorFixture.h"

#include "core/app/WordCheck.h"
#include "core/macros/Cmacdoc.h"
#include "core/protocol/BlockTransfer.h"
#include "core/protocol/Protocol.h"

#include "core/base/Screen.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

class WorkEmulatorTest : public EmulatorFixture {};

TEST_F(WorkEmulatorTest, AMacroWaitsForEachMoveToEnd) {
    ASSERT_TRUE(m_emulator->Control("movetime 100"));
    macroDoc().Append("Two", "HOME\r\nDECIMAL 60 50 40 30 20 10 JMA");
    EXPECT_TRUE(macroDoc().RunMacro(0));
    std::string joints;
    EXPECT_TRUE(protocol().QueryCommand("DECIMAL GF", joints));
    EXPECT_EQ(joints, " 10 20 30 40 50 60 ");
    EXPECT_EQ(m_emulator->Transcript(), QByteArray("\rHOME\rDECIMAL 60 50 40 30 20 10 JMA\rDECIMAL GF\r"));
}

TEST_F(WorkEmulatorTest, ADownloadCancelledOnASlowLineEndsAtOnceAndLeavesTheLinkUsable) {
    ASSERT_TRUE(m_emulator->Control("baud 2400")); // every STX takes a while
    QByteArray data(0x4000, 'd');
    QBuffer file(&data);
    file.open(QIODevice::ReadOnly);
    QTimer poll;
    poll.callOnTimeout([&poll, this] {
        if (m_ui.progressDone >= 0x1000) {
            poll.stop();
            protocol().WaitBoxClosed();
        }
    });
    poll.start(1);
    protocol().ShowHeldBox("Loading", WaitBoxStyle::Progress);
    EXPECT_FALSE(DownloadBlock(file, 1, 0x2000, 0x4000));
    protocol().CloseHeldBox();
    EXPECT_EQ(protocol().receiveMode, ReceiveMode::Text);
    ASSERT_TRUE(m_emulator->Control("baud 0"));
    EXPECT_TRUE(PumpUntil([] { return protocol().ReplyState == reply::kIdle; }));
    EXPECT_TRUE(protocol().SendCommand("1 2 +"));
    EXPECT_TRUE(m_ui.messages.empty());
}

TEST(WordListEmulatorTest, TheEmulatorsWordsAreTheControllerTableBesideTheProgram) {
    QTemporaryDir dir;
    QProcess emulator;
    emulator.start(EmulatorProcess::Program(), {"--words", QDir(dir.path()).filePath("KXWords.txt")});
    ASSERT_TRUE(emulator.waitForFinished(10000) && emulator.exitCode() == 0);
    EventLoopUi ui;
    InstallScreen({&ui});
    WordCheck check;
    ASSERT_TRUE(check.LoadControllerWords(dir.path()));
    const qint64 records = QFileInfo(QDir(dir.path()).filePath("KXWords.txt")).size() / 19;
    EXPECT_EQ(check.controllerTable().count(), std::min<qint64>(records, WordTable::kCapacity));
    EXPECT_EQ(check.CheckProject({"HOMES"}, ": HOME ;"), "HOME redefines a Kaventrix word\n");
#ifdef MARLIX_PROGRAM_DIR
    WordCheck installed;
    EXPECT_TRUE(installed.LoadControllerWords(MARLIX_PROGRAM_DIR));
#endif
    InstallScreen({});
}
