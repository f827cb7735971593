#include "ConsoleTestSupport.h"

#include <gtest/gtest.h>

namespace {
const char kEnq = 5, kStx = 2, kEtx = 3;

std::string Pattern(size_t length, int seed) {
    std::string data;
    for (size_t i = 0; i < length; ++i)
        data.push_back(char((i * 7 + size_t(seed)) & 0xFF));
    return data;
}
} // namespace

TEST(BlockTransfer, TransmitAnswersEachEnqWithABlockThenEtx) {
    ConsoleModel console;
    std::string data = Pattern(512, 3);
    for (size_t i = 0; i < data.size(); ++i)
        console.Memory().SetByte(2, 0x4000 + uint32_t(i), uint8_t(data[i]));
    // The bank selection and the command come on one line, as the PC sends them.
    EXPECT_EQ(RunLine(console, "2 BANK C! DECIMAL 16384 300 TRANSMIT"),
              "2 BANK C! DECIMAL 16384 300 TRANSMIT ")
        << "no OK: the blocks are the answer";
    console.Feed(std::string(1, kEnq));
    std::string block = console.TakeOutput();
    ASSERT_EQ(block.size(), 257u);
    EXPECT_EQ(block[0], kStx);
    EXPECT_EQ(block.substr(1), data.substr(0, 256));
    console.Feed(std::string(1, kEnq));
    block = console.TakeOutput();
    ASSERT_EQ(block.size(), 257u) << "a partial last block is still 256 bytes";
    EXPECT_EQ(block.substr(1), data.substr(256, 256));
    console.Feed(std::string(1, kEnq));
    EXPECT_EQ(console.TakeOutput(), std::string(1, kEtx)) << "nothing follows the ETX";
    EXPECT_FALSE(console.TransferActive());
    EXPECT_EQ(RunLine(console, "HOME"), "HOME OK\r\n>");
}

TEST(BlockTransfer, EmptyRangeEndsWithEtxAndBytesPastTheBankReadAsZero) {
    ConsoleModel console;
    RunLine(console, "0 BANK C! DECIMAL 0 0 TRANSMIT");
    console.Feed(std::string(1, kEnq));
    EXPECT_EQ(console.TakeOutput(), std::string(1, kEtx));

    console.Memory().SetByte(0, 0xFFFF, 0xAB);
    RunLine(console, "DECIMAL 65535 2 TRANSMIT");
    console.Feed(std::string(1, kEnq));
    std::string block = console.TakeOutput();
    ASSERT_EQ(block.size(), 257u);
    EXPECT_EQ(uint8_t(block[1]), 0xAB);
    EXPECT_EQ(block.substr(2), std::string(255, '\0'));
}

TEST(BlockTransfer, ReceiveStoresBlocksAndEndsWithOkOnEtx) {
    ConsoleModel console;
    std::string reply = RunLine(console, "3 BANK C! DECIMAL 4096 300 RECEIVE");
    EXPECT_EQ(reply.substr(reply.size() - 3), "\r\n>") << "the PC waits for the prompt before the first ENQ";
    std::string data = Pattern(512, 9);
    for (int block = 0; block < 2; ++block) {
        console.Feed(std::string(1, kEnq));
        EXPECT_EQ(console.TakeOutput(), std::string(1, kStx));
        console.Feed(data.substr(size_t(block) * 256, 100));
        console.Feed(data.substr(size_t(block) * 256 + 100, 156));
        EXPECT_EQ(console.TakeOutput(), "") << "block data are not echoed";
    }
    console.Feed(std::string(1, kEtx));
    EXPECT_EQ(console.TakeOutput(), " OK\r\n>");
    for (size_t i = 0; i < data.size(); ++i)
        ASSERT_EQ(console.Memory().Byte(3, 4096 + uint32_t(i)), uint8_t(data[i])) << "byte " << i;
    EXPECT_EQ(console.Memory().Byte(1, 4096), 0) << "the other banks are untouched";
}

TEST(BlockTransfer, ControlBytesInsideABlockAreData) {
    ConsoleModel console;
    RunLine(console, "1 BANK C! DECIMAL 0 256 RECEIVE");
    console.Feed(std::string(1, kEnq));
    console.TakeOutput();
    std::string data(256, '\0');
    data[0] = kEtx;
    data[1] = kEnq;
    data[2] = '\r';
    console.Feed(data);
    EXPECT_EQ(console.TakeOutput(), "");
    console.Feed(std::string(1, kEtx));
    EXPECT_EQ(console.TakeOutput(), " OK\r\n>");
    EXPECT_EQ(console.Memory().Byte(1, 1), kEnq);
}

TEST(BlockTransfer, OtherInputAbandonsTheTransferAndIsRead) {
    ConsoleModel console;
    RunLine(console, "DECIMAL 0 1024 TRANSMIT");
    EXPECT_EQ(RunLine(console, "HOME"), "HOME OK\r\n>");
    EXPECT_FALSE(console.TransferActive());
    console.Feed(std::string(1, kEnq));
    EXPECT_EQ(console.TakeOutput(), std::string(1, kEtx)) << "an ENQ outside a transfer gets ETX";
    EXPECT_EQ(RunLine(console, "7 BANK C! DECIMAL 0 16 TRANSMIT"),
              "7 BANK C! DECIMAL 0 16 TRANSMIT TRANSMIT ?\r\n>")
        << "there are only banks 0 to 3";
}
