#include "EmulatorFixture.h"

#include "core/link/CommLink.h"
#include "core/protocol/BlockTransfer.h"
#include "core/protocol/Protocol.h"
#include "core/text/SourceDownload.h"

#include <QBuffer>
#include <QElapsedTimer>

// Memory blocks and source text against the controller emulator, over its pseudo-terminal.
class BlockTextEmulatorTest : public EmulatorFixture {
protected:
    // A transfer as its callers run it: inside the held box with the progress bar.
    static bool Download(const QByteArray& data, int bank, quint32 start) {
        QByteArray bytes = data;
        QBuffer file(&bytes);
        file.open(QIODevice::ReadOnly);
        protocol().ShowHeldBox("Loading", WaitBoxStyle::Progress);
        const bool ok = DownloadBlock(file, bank, start, static_cast<quint32>(data.size()));
        protocol().CloseHeldBox();
        return ok;
    }
    static bool Upload(QByteArray& into, int bank, quint32 start, quint32 length) {
        QBuffer file(&into);
        file.open(QIODevice::WriteOnly);
        protocol().ShowHeldBox("Saving", WaitBoxStyle::Progress);
        const bool ok = UploadBlock(file, bank, start, length);
        protocol().CloseHeldBox();
        return ok;
    }

    // Presses "Cancel" once the progress bar has passed `done` bytes.
    void CancelAtProgress(int done) {
        m_cancelPoll.setInterval(1);
        m_cancelPoll.callOnTimeout([this, done] {
            if (m_ui.progressDone < done)
                return;
            m_cancelPoll.stop();
            protocol().WaitBoxClosed();
        });
        m_cancelPoll.start();
    }

    QTimer m_cancelPoll;
};

TEST_F(BlockTextEmulatorTest, DownloadAnsweredWithAWrongByteStopsWithTheByteNamed) {
    const QByteArray before = Memory(0, 0x1000, 0x200);
    // The RECEIVE line fails, so the controller answers the first ENQ with ETX ("no data").
    ASSERT_TRUE(m_emulator->Control("errors 1"));
    EXPECT_FALSE(Download(Pattern(0x200, 1), 0, 0x1000));
    EXPECT_EQ(m_ui.messages, std::vector<std::string>{"expecting STX, received 3"});
    EXPECT_EQ(protocol().receiveMode, ReceiveMode::Text);
    EXPECT_EQ(Memory(0, 0x1000, 0x200), before);
    // The link goes on working at once.
    EXPECT_TRUE(protocol().SendCommand(""));
    EXPECT_EQ(protocol().ReplyState, reply::kIdle);
}

TEST_F(BlockTextEmulatorTest, CancelInTheMiddleOfADownloadEndsItAndKeepsTheLinkUsable) {
    ASSERT_TRUE(m_emulator->Control("baud 2400")); // every STX takes a while
    const QByteArray data = Pattern(0x4000, 2);
    CancelAtProgress(0x1000);
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(Download(data, 1, 0x2000));
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_EQ(protocol().receiveMode, ReceiveMode::Text);
    EXPECT_TRUE(m_ui.messages.empty());
    ASSERT_TRUE(m_emulator->Control("baud 0"));
    // The ETX after the cancel ends the controller's RECEIVE with its OK line.
    EXPECT_TRUE(PumpUntil([] { return protocol().ReplyState == reply::kIdle; }));
    const QByteArray memory = Memory(1, 0x2000, 0x4000);
    int blocks = 0;
    while (blocks < 64 && memory.mid(blocks * 256, 256) == data.mid(blocks * 256, 256))
        ++blocks;
    EXPECT_GT(blocks, 0);
    EXPECT_LT(blocks, 64);
    EXPECT_TRUE(protocol().SendCommand("1 2 +"));
}

TEST_F(BlockTextEmulatorTest, CancelInTheMiddleOfAnUploadKeepsTheWholeBlocksReceived) {
    QByteArray loaded = Pattern(0x1000, 3);
    ASSERT_TRUE(Download(loaded, 0, 0x4000));
    ASSERT_TRUE(m_emulator->Control("baud 9600"));
    QByteArray saved;
    CancelAfter(400);
    EXPECT_FALSE(Upload(saved, 0, 0x4000, 0x1000));
    EXPECT_EQ(protocol().receiveMode, ReceiveMode::Text);
    EXPECT_EQ(protocol().ReplyState, reply::kIdle);
    EXPECT_EQ(saved.size() % 256, 0);
    EXPECT_GT(saved.size(), 0);
    EXPECT_LT(saved.size(), 0x1000);
    EXPECT_EQ(saved, loaded.left(saved.size()));
    ASSERT_TRUE(m_emulator->Control("baud 0"));
}

TEST_F(BlockTextEmulatorTest, ASourceOfThreeLinesWithAFinalLineEndSendsFourLines) {
    const std::string path = WriteFile("three.txt", "1 2 +\n: SQ DUP * ;\n5 SQ .\n");
    const qsizetype start = m_emulator->Transcript().size();
    EXPECT_TRUE(DownloadSourceFile(path));
    EXPECT_EQ(ReceivedSince(start), QByteArray("1 2 +\n\r: SQ DUP * ;\n\r5 SQ .\n\r\n\r"));
    EXPECT_TRUE(m_ui.messages.empty());
    EXPECT_EQ(protocol().ReplyState, reply::kIdle);
    EXPECT_FALSE(m_ui.waitBoxOpen);
    QStringList history;
    ASSERT_TRUE(m_emulator->Control("history 4", &history));
    EXPECT_EQ(history, (QStringList{"1 2 +", ": SQ DUP * ;", "5 SQ .", ""}));
}

TEST_F(BlockTextEmulatorTest, HideModeSendsTheLinesInPromptOnlyMode) {
    commLink().HideMode = true;
    const std::string path = WriteFile("hidden.txt", "1 2 +\n3 4 +");
    const qsizetype start = m_emulator->Transcript().size();
    EXPECT_TRUE(DownloadSourceFile(path));
    EXPECT_EQ(ReceivedSince(start), QByteArray("|\r1 2 +\n\r3 4 +\n\rIOFLAG C0SET\r"));
    EXPECT_TRUE(m_ui.messages.empty());
    EXPECT_EQ(protocol().ReplyMode, 0);
    EXPECT_EQ(protocol().ReplyState, reply::kIdle);
}
