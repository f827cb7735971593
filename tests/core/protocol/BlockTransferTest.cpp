#include "core/protocol/BlockTransfer.h"
#include "core/link/CommLink.h"
#include "core/protocol/Protocol.h"
#include "support/CoreTest.h"

#include <QBuffer>

#include <random>
#include <tuple>

namespace {

// What the terminal may show of a transfer: its command line and the controller's "OK".
const char* const kCommandText = "0123456789 BANKC!DECIMLRUN-STOVEPX>\r\n";

class BlockTransferTest : public CoreTest {
protected:
    // A transfer as its callers run it, inside the held box with the progress bar.
    bool Transfer(bool download, QByteArray& file, int bank, quint32 start, quint32 length) {
        QBuffer buffer(&file);
        buffer.open(download ? QIODevice::ReadOnly : QIODevice::WriteOnly);
        protocol().ShowHeldBox("Transfer", WaitBoxStyle::Progress);
        const bool ok =
            download ? DownloadBlock(buffer, bank, start, length) : UploadBlock(buffer, bank, start, length);
        protocol().CloseHeldBox();
        return ok;
    }
};

// Random lengths, banks, cancel points and faults in both directions. Afterwards the controller's
// memory (or the file) holds every block that went through and nothing else, one ETX ended each
// download, text mode is back and no block byte reached the terminal.
TEST_F(BlockTransferTest, BlocksArriveWholeWhateverTheLengthBankCancelOrFault) {
    std::mt19937 random(11);
    for (int round = 0; round < 160; ++round) {
        const bool download = round % 2 == 0;
        const int length = round < 4 ? round / 2 * 256 : int(random() % 1400);
        const int blocks = (length + 255) / 256;
        const int bank = int(random() % 4);
        const quint32 start = random() % (65536 - 256 * blocks + 1);
        // None, cancel, cancel with the answer on its way, a wrong answer, the link lost (uploads) or
        // noise before the controller's STX (downloads: the block it then waits for still goes whole).
        const int fault = blocks == 0 ? 0 : int(random() % 5);
        const int at = blocks == 0 ? 0 : 1 + int(random() % blocks);
        SCOPED_TRACE(std::string(download ? "download " : "upload ") + std::to_string(length) + " bytes to " +
                     std::to_string(bank) + ":" + std::to_string(start) + " fault " + std::to_string(fault) +
                     " at ENQ " + std::to_string(at));

        for (int b = 0; b < 4; ++b)
            std::fill_n(controller.Bank(b), 65536, 0);
        QByteArray data;
        for (int i = 0; i < 256 * blocks; ++i)
            data.append(static_cast<char>(random()));
        if (!download)
            std::copy(data.begin(), data.end(), controller.Bank(bank) + start);
        controller.enqs = controller.etxs = 0;
        controller.cancelAtEnq = fault == 1 || fault == 2 ? at : 0;
        controller.answerAfterCancel = fault == 2;
        // ENQs count from 1: an answer or noise at ENQ 0 never comes.
        controller.enqAnswers = {{fault == 3 ? at : 0, download ? "\x15" : "\x02" + std::string(300, 'x')}};
        controller.enqNoise = {{fault == 4 && download ? at : 0, "\x15\x99"}};
        controller.lostAtEnq = fault == 4 && !download ? at : 0;
        ui.messages.clear();
        commLink().DropDocument();
        commLink().EnsureDocument();
        protocol().ReplyState = reply::kIdle;

        QByteArray file = download ? data.left(length) : QByteArray();
        const bool ok = Transfer(download, file, bank, start, static_cast<quint32>(length));
        const int through = fault == 0 ? blocks : fault == 2 || (fault == 4 && download) ? at : at - 1;
        EXPECT_EQ(ok, fault == 0);
        if (download)
            EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(controller.Bank(bank)) + start, 256 * blocks),
                      (file + QByteArray(256 * blocks - length, 0)).left(256 * through) +
                          QByteArray(256 * (blocks - through), 0));
        else
            EXPECT_EQ(file, data.left(256 * through));
        EXPECT_EQ(controller.etxs, download ? 1 : 0);
        const bool wrongByte = fault == 3 || (fault == 4 && download);
        EXPECT_EQ(ui.messages, wrongByte ? std::vector<std::string>{download ? "expecting STX, received 21"
                                                                             : "Too much data"}
                                         : std::vector<std::string>{});
        EXPECT_EQ(std::make_pair(protocol().receiveMode, ui.boxOpen),
                  std::make_pair(ReceiveMode::Text, false));
        ui.RunEvents(); // the controller's last words after a failed download
        EXPECT_EQ(protocol().ReplyState, fault == 4 && !download ? reply::kNotOpen : reply::kIdle);
        EXPECT_EQ(Terminal().find_first_not_of(kCommandText), std::string::npos) << Terminal();
    }
}

TEST_F(BlockTransferTest, NotOpenOrSimulatedTransfersSendNothing) {
    std::vector<unsigned char> image(runlist::kImageSize, 0x5a);
    QByteArray file(300, 'q');
    protocol().ReplyState = reply::kNotOpen;
    EXPECT_FALSE(Transfer(true, file, 0, 0, 300) || Transfer(false, file, 0, 0, 300) ||
                 DownloadRunList(image.data(), 16) || UploadRunList(image.data(), 16));
    EXPECT_EQ(ui.messages, std::vector<std::string>(4, "Communication is not open"));
    EXPECT_EQ(protocol().ReplyState, reply::kNotOpen);

    ui.messages.clear();
    commLink().Simulate = true;
    commLink().OpenCommunication();
    EXPECT_TRUE(Transfer(true, file, 0, 0, 300) && Transfer(false, file, 0, 0, 300));
    protocol().ShowHeldBox("Transfer", WaitBoxStyle::Progress);
    EXPECT_TRUE(DownloadRunList(image.data(), 16) && UploadRunList(image.data(), 16));
    protocol().CloseHeldBox();
    EXPECT_EQ(std::make_tuple(image[0], protocol().ReplyState, protocol().receiveMode, controller.written,
                              ui.messages.size()),
              std::make_tuple(0x5a, reply::kIdle, ReceiveMode::Text, "", size_t(0)));
}

TEST_F(BlockTransferTest, ARunListLongerThanTheImageIsTooMuchData) {
    std::vector<unsigned char> image(runlist::kImageSize, 0);
    controller.Run("DECIMAL 65534 NEXT !");                      // the controller's list fills its bank ...
    controller.enqAnswers[257] = "\x02" + std::string(256, 'z'); // ... and sends a block more
    protocol().ShowHeldBox("Transfer", WaitBoxStyle::Progress);
    EXPECT_FALSE(UploadRunList(image.data(), runlist::kImageSize));
    EXPECT_EQ(ui.messages, std::vector<std::string>{"Too much data"});
    EXPECT_EQ(protocol().receiveMode, ReceiveMode::Text);
}

} // namespace
