#include "core/protocol/BlockTransfer.h"
#include "core/link/CommLink.h"
#include "core/protocol/BlockReceiver.h"
#include "core/protocol/Protocol.h"
#include "support/FakeController.h"
#include "support/ProtocolFakeLink.h"
#include "support/ScriptedUi.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Progress = std::vector<std::pair<int, int>>;

std::string Pattern(int length, int seed) {
    std::string bytes;
    for (int i = 0; i < length; ++i)
        bytes += static_cast<char>((i * 7 + seed) & 0xff);
    return bytes;
}

std::string Block(const std::string& data) {
    return "\x02" + data;
}

class BlockTransferTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Callers hold the progress box around a transfer.
        protocol().ShowHeldBox("Transfer", WaitBoxStyle::Progress);
        image.assign(runlist::kImageSize, 0);
    }

    // What every transfer leaves behind, whatever its outcome.
    static void ExpectTextModeAnd(int state) {
        EXPECT_EQ(protocol().receiveMode, ReceiveMode::Text);
        EXPECT_EQ(protocol().ReplyState, state);
    }

    void DrainEvents() { DeliverEvents(ui); }

    static QByteArray Bytes(const std::string& s) { return QByteArray(s.data(), static_cast<int>(s.size())); }

    ScriptedUi ui;
    FakeController fake{ui};
    FakeLinkScope link{fake};
    std::vector<unsigned char> image;
};

TEST_F(BlockTransferTest, UploadWritesEveryBlockUntilTheControllerSaysEtx) {
    const std::string first = Pattern(256, 1), second = Pattern(256, 2);
    fake.enqAnswers = {Block(first), Block(second)};
    QBuffer file;
    file.open(QIODevice::WriteOnly);

    EXPECT_TRUE(UploadBlock(file, 2, 0x4000, 0x200));

    EXPECT_EQ(file.data(), Bytes(first + second));
    EXPECT_EQ(fake.lines, std::vector<std::string>{"2 BANK C! DECIMAL 16384 512 TRANSMIT"});
    EXPECT_EQ(fake.written, "2 BANK C! DECIMAL 16384 512 TRANSMIT\r\x05\x05\x05");
    EXPECT_EQ(ui.progress, (Progress{{256, 512}, {512, 512}}));
    EXPECT_TRUE(ui.messages.empty());
    ExpectTextModeAnd(reply::kIdle);
}

TEST_F(BlockTransferTest, UploadOfAnEmptyRangeGivesAnEmptyFile) {
    QBuffer file;
    file.open(QIODevice::WriteOnly);
    EXPECT_TRUE(UploadBlock(file, 0, 0, 0));
    EXPECT_TRUE(file.data().isEmpty());
    EXPECT_EQ(fake.enqCount, 1);
    ExpectTextModeAnd(reply::kIdle);
}

TEST_F(BlockTransferTest, UploadFailsOnTooMuchDataCancelAndAFileThatCannotBeWritten) {
    {
        SCOPED_TRACE("too much data");
        fake.enqAnswers = {Block(Pattern(300, 3))};
        QBuffer file;
        file.open(QIODevice::WriteOnly);
        EXPECT_FALSE(UploadBlock(file, 0, 0, 0x100));
        EXPECT_EQ(ui.messages, std::vector<std::string>{"Too much data"});
        EXPECT_TRUE(file.data().isEmpty());
        ExpectTextModeAnd(reply::kIdle);
    }
    {
        SCOPED_TRACE("cancel in the middle");
        fake.enqCount = 0;
        fake.enqAnswers = {Block(Pattern(256, 4)), Block(Pattern(256, 5))};
        fake.cancelAtEnq = 2;
        ui.progress.clear();
        QBuffer file;
        file.open(QIODevice::WriteOnly);
        EXPECT_FALSE(UploadBlock(file, 0, 0, 0x300));
        EXPECT_EQ(file.data(), Bytes(Pattern(256, 4)));
        EXPECT_EQ(ui.progress, (Progress{{256, 0x300}}));
        EXPECT_EQ(fake.enqCount, 2);
        ExpectTextModeAnd(reply::kIdle);
    }
    {
        SCOPED_TRACE("file not writable");
        fake.enqCount = 0;
        fake.cancelAtEnq = 0;
        fake.enqAnswers = {Block(Pattern(256, 6)), Block(Pattern(256, 7))};
        QByteArray data;
        QBuffer file(&data);
        file.open(QIODevice::ReadOnly);
        ui.messages.clear();
        EXPECT_FALSE(UploadBlock(file, 0, 0, 0x200));
        EXPECT_EQ(fake.enqCount, 1);
        EXPECT_TRUE(ui.messages.empty());
        ExpectTextModeAnd(reply::kIdle);
    }
}

TEST_F(BlockTransferTest, DownloadSendsWholeBlocksAfterEachStxAndPadsWithZeros) {
    const std::string content = Pattern(300, 8);
    QByteArray data = Bytes(content);
    QBuffer file(&data);
    file.open(QIODevice::ReadOnly);

    EXPECT_TRUE(DownloadBlock(file, 1, 0x1000, 300));

    EXPECT_EQ(fake.lines, std::vector<std::string>{"1 BANK C! DECIMAL 4096 300 RECEIVE"});
    EXPECT_EQ(fake.downloaded, content + std::string(212, '\0'));
    EXPECT_EQ(fake.enqCount, 2);
    EXPECT_EQ(fake.etxCount, 1);
    EXPECT_EQ(fake.written.back(), '\x03');
    EXPECT_EQ(ui.progress, (Progress{{0, 300}, {256, 300}}));
    EXPECT_EQ(protocol().ReplyMode, 0);
    ExpectTextModeAnd(reply::kIdle);
}

TEST_F(BlockTransferTest, DownloadAnsweredWithAWrongByteStopsAndStillEndsTheTransfer) {
    // Noise before the controller's own STX: the block it then waits for still goes whole.
    const struct {
        std::string answer;
        size_t sent;
    } cases[] = {{"\x15", 256u}, {"\x15\x99\x02", 512u}};
    for (const auto& c : cases) {
        ui.messages.clear();
        fake.downloaded.clear();
        fake.enqCount = fake.etxCount = 0;
        QByteArray data(600, 'x');
        QBuffer file(&data);
        file.open(QIODevice::ReadOnly);
        fake.enqAnswers = {"\x02", c.answer};

        EXPECT_FALSE(DownloadBlock(file, 0, 0, 600));

        EXPECT_EQ(ui.messages, std::vector<std::string>{"expecting STX, received 21"});
        EXPECT_EQ(fake.downloaded.size(), c.sent);
        EXPECT_EQ(fake.enqCount, 2);
        EXPECT_EQ(fake.etxCount, 1);
        // The final line is not awaited after a failure; it makes the link idle when it comes.
        ExpectTextModeAnd(reply::kCollecting);
        DrainEvents();
        EXPECT_EQ(protocol().ReplyState, reply::kIdle);
    }
}

TEST_F(BlockTransferTest, DownloadCancelledInTheMiddleSendsNoMoreBlocks) {
    QByteArray data(1024, 'y');
    QBuffer file(&data);
    file.open(QIODevice::ReadOnly);
    fake.cancelAtEnq = 3;

    EXPECT_FALSE(DownloadBlock(file, 0, 0, 1024));

    EXPECT_EQ(fake.downloaded.size(), 512u);
    EXPECT_EQ(fake.etxCount, 1);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(protocol().receiveMode, ReceiveMode::Text);
    // The controller's final line still brings the link back to idle once it arrives.
    DrainEvents();
    EXPECT_EQ(protocol().ReplyState, reply::kIdle);
}

TEST_F(BlockTransferTest, ACancelWhileTheAnswerIsOnItsWayStillEndsThatBlockWhole) {
    {
        SCOPED_TRACE("download: the STX came, so the controller gets its block before the ETX");
        QByteArray data = Bytes(Pattern(1024, 12));
        QBuffer file(&data);
        file.open(QIODevice::ReadOnly);
        fake.cancelAtEnq = 2;
        fake.answerAfterCancel = true;
        EXPECT_FALSE(DownloadBlock(file, 0, 0, 1024));
        EXPECT_EQ(fake.downloaded, Pattern(512, 12));
        EXPECT_EQ(fake.enqCount, 2);
        EXPECT_EQ(fake.written.back(), '\x03');
        EXPECT_EQ(protocol().receiveMode, ReceiveMode::Text);
    }
    link.StartOver();
    protocol().ShowHeldBox("Transfer", WaitBoxStyle::Progress);
    fake.enqCount = 0;
    {
        SCOPED_TRACE("upload: the block in flight is kept, none of it reaches the terminal");
        fake.enqAnswers = {Block(Pattern(256, 13)), Block(Pattern(256, 14)), Block(Pattern(256, 15))};
        QBuffer file;
        file.open(QIODevice::WriteOnly);
        const std::string screen = commLink().document()->SavedText();
        EXPECT_FALSE(UploadBlock(file, 0, 0, 0x300));
        EXPECT_EQ(file.data(), Bytes(Pattern(256, 13) + Pattern(256, 14)));
        EXPECT_EQ(fake.enqCount, 2);
        EXPECT_EQ(commLink().document()->SavedText(), screen);
        ExpectTextModeAnd(reply::kIdle);
    }
    fake.enqCount = 0;
    link.StartOver();
    protocol().ShowHeldBox("Transfer", WaitBoxStyle::Progress);
    {
        SCOPED_TRACE("run-list upload");
        fake.enqAnswers = {Block(Pattern(256, 16)), Block(Pattern(256, 17)), Block(Pattern(256, 18))};
        EXPECT_FALSE(UploadRunList(image.data(), 0x300));
        EXPECT_EQ(std::string(image.begin(), image.begin() + 768),
                  Pattern(256, 16) + Pattern(256, 17) + std::string(256, '\0'));
        ExpectTextModeAnd(reply::kIdle);
    }
}

TEST_F(BlockTransferTest, DownloadWhoseCommandGetsNoPromptSendsNothing) {
    fake.lineAnswer = [](const std::string& line) { return line; };
    QByteArray data(10, 'z');
    QBuffer file(&data);
    file.open(QIODevice::ReadOnly);

    EXPECT_FALSE(DownloadBlock(file, 0, 0, 10));

    EXPECT_EQ(fake.enqCount, 0);
    EXPECT_EQ(protocol().ReplyMode, 0);
    EXPECT_EQ(protocol().receiveMode, ReceiveMode::Text);
    EXPECT_FALSE(protocol().ControllerStream.fail());
}

TEST_F(BlockTransferTest, TransfersOnALinkThatIsNotOpenSayItOnce) {
    protocol().ReplyState = reply::kNotOpen;
    QByteArray data(10, 'z');
    QBuffer file(&data);
    file.open(QIODevice::ReadWrite);
    EXPECT_FALSE(DownloadBlock(file, 0, 0, 10));
    EXPECT_FALSE(UploadBlock(file, 0, 0, 10));
    EXPECT_FALSE(DownloadRunList(image.data(), 16));
    EXPECT_FALSE(UploadRunList(image.data(), 16));
    EXPECT_EQ(ui.messages, std::vector<std::string>(4, "Communication is not open"));
    EXPECT_TRUE(fake.written.empty());
    ExpectTextModeAnd(reply::kNotOpen);
}

TEST_F(BlockTransferTest, RunListDownloadSendsTheUsedPartOfTheImageInBank1) {
    for (int i = 0; i < 300; ++i)
        image[i] = static_cast<unsigned char>(i);
    EXPECT_TRUE(DownloadRunList(image.data(), 300));
    EXPECT_EQ(fake.lines, std::vector<std::string>{"1 BANK C! DECIMAL RUN-LIST 300 RECEIVE"});
    EXPECT_EQ(fake.downloaded, std::string(image.begin(), image.begin() + 512));
    EXPECT_EQ(fake.etxCount, 1);
    EXPECT_EQ(ui.progress, (Progress{{0, 300}, {256, 300}}));
    ExpectTextModeAnd(reply::kIdle);
}

TEST_F(BlockTransferTest, RunListUploadStoresTheBlocksOneAfterAnother) {
    const std::string first = Pattern(256, 9), second = Pattern(256, 10);
    fake.enqAnswers = {Block(first), Block(second)};
    EXPECT_TRUE(UploadRunList(image.data(), 100));
    EXPECT_EQ(fake.lines, std::vector<std::string>{"1 BANK C! DECIMAL RUN-LIST NEXT @ RUN-LIST - TRANSMIT"});
    EXPECT_EQ(std::string(image.begin(), image.begin() + 512), first + second);
    EXPECT_EQ(image[512], 0);
    // The bar stops at its total.
    EXPECT_EQ(ui.progress, (Progress{{100, 100}, {100, 100}}));
    ExpectTextModeAnd(reply::kIdle);
}

TEST_F(BlockTransferTest, RunListUploadBeyondTheImageIsTooMuchData) {
    for (int i = 0; i <= runlist::kImageSize / block::kSize; ++i)
        fake.enqAnswers.push_back(Block(Pattern(256, i)));
    EXPECT_FALSE(UploadRunList(image.data(), runlist::kImageSize));
    EXPECT_EQ(ui.messages, std::vector<std::string>{"Too much data"});
    EXPECT_EQ(fake.enqCount, runlist::kImageSize / block::kSize + 1);
    ExpectTextModeAnd(reply::kIdle);
}

TEST_F(BlockTransferTest, ALinkLostDuringATransferStaysNotOpen) {
    // The device goes away while the first block is awaited.
    ui.events.push_back([] { commLink().OnTransportLost(); });
    fake.enqAnswers = {Block(Pattern(256, 11))};
    QBuffer file;
    file.open(QIODevice::WriteOnly);
    EXPECT_FALSE(UploadBlock(file, 0, 0, 256));
    EXPECT_TRUE(file.data().isEmpty());
    ExpectTextModeAnd(reply::kNotOpen);
}

TEST_F(BlockTransferTest, TheSimulatedControllerCompletesEveryTransferAtOnce) {
    commLink().Simulate = true;
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    EXPECT_TRUE(UploadBlock(out, 0, 0, 0x100));
    EXPECT_TRUE(out.data().isEmpty());
    ExpectTextModeAnd(reply::kIdle);

    image[0] = 0x5a;
    EXPECT_TRUE(UploadRunList(image.data(), 16));
    EXPECT_EQ(image[0], 0x5a);
    ExpectTextModeAnd(reply::kIdle);

    QByteArray data(300, 'q');
    QBuffer in(&data);
    in.open(QIODevice::ReadOnly);
    EXPECT_TRUE(DownloadBlock(in, 0, 0, 300));
    ExpectTextModeAnd(reply::kIdle);
    EXPECT_TRUE(DownloadRunList(image.data(), 16));
    ExpectTextModeAnd(reply::kIdle);
    EXPECT_TRUE(fake.written.empty());
    EXPECT_TRUE(ui.messages.empty());
}

} // namespace
