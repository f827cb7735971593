#include "core/text/BinaryBlocks.h"
#include "core/link/CommLink.h"
#include "core/protocol/Protocol.h"
#include "support/FakeController.h"
#include "support/ProtocolFakeLink.h"
#include "support/ScriptedUi.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

std::string Pattern(int length, int seed) {
    std::string bytes;
    for (int i = 0; i < length; ++i)
        bytes += static_cast<char>((i * 13 + seed) & 0xff);
    return bytes;
}

class BinaryBlocks : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    std::string Path(const char* name) const { return dir.filePath(name).toStdString(); }
    void WriteFile(const std::string& path, const std::string& bytes) {
        QFile file(QString::fromStdString(path));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
    static std::string ReadFile(const std::string& path) {
        QFile file(QString::fromStdString(path));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("<missing>");
    }
    void ExpectBoxClosedAndLinkIdle() {
        EXPECT_FALSE(ui.boxOpen);
        EXPECT_FALSE(protocol().heldBox);
        EXPECT_EQ(protocol().receiveMode, ReceiveMode::Text);
        EXPECT_EQ(protocol().ReplyState, reply::kIdle);
    }

    ScriptedUi ui;
    FakeController fake{ui};
    FakeLinkScope link{fake};
    QTemporaryDir dir;
};

TEST_F(BinaryBlocks, SavedBlockHoldsWhatTheControllerSent) {
    const std::string memory = Pattern(256, 3);
    fake.enqAnswers = {"\x02" + memory, "\x03"};
    const std::string path = Path("one.ram");
    EXPECT_TRUE(binblocks::SaveBinaryFile(path, 2, 0x1000, 0x100));
    EXPECT_EQ(ReadFile(path), memory);
    ASSERT_EQ(fake.lines.size(), 1u);
    EXPECT_EQ(fake.lines[0], "2 BANK C! DECIMAL 4096 256 TRANSMIT");
    EXPECT_EQ(ui.boxTexts.front(), "Saving " + path);
    EXPECT_EQ(ui.boxStyle, WaitBoxStyle::Progress);
    EXPECT_FALSE(ui.progress.empty());
    ExpectBoxClosedAndLinkIdle();
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(BinaryBlocks, CancelledSaveKeepsTheBlocksThatArrived) {
    const std::string first = Pattern(256, 9);
    fake.enqAnswers = {"\x02" + first};
    fake.cancelAtEnq = 2;
    const std::string path = Path("cut.ram");
    EXPECT_FALSE(binblocks::SaveBinaryFile(path, 0, 0, 0x400));
    EXPECT_EQ(ReadFile(path), first);
    EXPECT_FALSE(ui.boxOpen);
    EXPECT_EQ(protocol().receiveMode, ReceiveMode::Text);
}

TEST_F(BinaryBlocks, FileThatCannotBeCreatedIsReportedBeforeAnythingIsSent) {
    const std::string path = Path("no/such/folder/x.ram");
    EXPECT_FALSE(binblocks::SaveBinaryFile(path, 0, 0, 0x100));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].rfind(path + " could not be opened because of this error: ", 0), 0u);
    EXPECT_TRUE(fake.written.empty());
    EXPECT_TRUE(ui.boxTexts.empty());
}

TEST_F(BinaryBlocks, ShortFileStillLoadsWholeBlocksForTheLength) {
    const std::string data = Pattern(300, 1);
    const std::string path = Path("short.ram");
    WriteFile(path, data);
    EXPECT_TRUE(binblocks::LoadBinaryFile(path, 1, 0x2000, 0x300));
    ASSERT_EQ(fake.lines.size(), 1u);
    EXPECT_EQ(fake.lines[0], "1 BANK C! DECIMAL 8192 768 RECEIVE");
    EXPECT_EQ(fake.enqCount, 3);
    EXPECT_EQ(fake.etxCount, 1);
    // The data first, then zeros to the end of the third block.
    EXPECT_EQ(fake.downloaded, data + std::string(768 - 300, '\0'));
    EXPECT_EQ(ui.boxTexts.front(), "Loading " + path);
    ExpectBoxClosedAndLinkIdle();
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(BinaryBlocks, MissingFileIsReportedAndNothingIsSent) {
    const std::string path = Path("none.ram");
    EXPECT_FALSE(binblocks::LoadBinaryFile(path, 0, 0, 0x100));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].rfind(path + " could not be opened because of this error: ", 0), 0u);
    EXPECT_TRUE(fake.written.empty());
}

} // namespace
