#include "core/protocol/BlockTransfer.h"

#include "core/base/UiSeam.h"
#include "core/protocol/BlockReceiver.h"
#include "core/protocol/Protocol.h"

#include <QCoreApplication>
#include <QFileDevice>
#include <QIODevice>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <cstring>
#include <functional>
#include <string>

namespace {

// Fills the next outgoing block; false stops the transfer as failed.
using BlockSource = std::function<bool(unsigned char* block)>;

void BeginBlockMode() {
    InstallBlockReceiver();
    protocol().SetReceiveMode(ReceiveMode::Block);
}

// Every way out of a transfer: received bytes go to the terminal again and the reply state is set,
// unless the link went away meanwhile (then it stays "not open").
void EndTransfer(int state) {
    Protocol& proto = protocol();
    proto.SetReceiveMode(ReceiveMode::Text);
    if (proto.ReplyState != reply::kNotOpen)
        proto.ReplyState = state;
}

void Progress(quint64 done, quint64 total) {
    while (total > static_cast<quint64>(INT_MAX)) {
        done /= 2;
        total /= 2;
    }
    protocol().ShowProgress(static_cast<int>(done), static_cast<int>(total));
}

// How long a cancelled transfer still takes the controller's answer that was already on its way.
constexpr int kLateAnswerMs = 300;

// The operator cancelled while the controller's answer to an ENQ was awaited. That answer may already
// be on the line: a controller that sent STX expects a whole block, and block data arriving after the
// switch back to text would land in the terminal. So it is still taken for a moment. Returns the state
// it reached, or 0 when nothing came.
int AwaitLateAnswer() {
    Protocol& proto = protocol();
    // The wait ends when this single shot has fired; it also wakes the wait when nothing arrives.
    // Without an event loop (no application) the screen's own waits decide.
    QTimer wakeUp;
    wakeUp.setSingleShot(true);
    wakeUp.setTimerType(Qt::PreciseTimer);
    const bool timed = QCoreApplication::instance() != nullptr;
    if (timed)
        wakeUp.start(kLateAnswerMs);
    for (;;) {
        if (proto.PumpMessages())
            return 0;
        if (proto.ReplyState >= reply::kIdle)
            return proto.ReplyState;
        if (timed && !wakeUp.isActive())
            return 0;
        if (!ui().WaitForEvent())
            return 0;
    }
}

// The controller's answer to an ENQ. After a cancel `cancelled` is set and the answer already on its
// way is still taken, so that the block in progress ends whole; the transfer stops after it.
int WaitAnswer(bool& cancelled) {
    Protocol& proto = protocol();
    const int state = proto.WaitTransferState();
    if (state != 0 || !proto.CancelFlag)
        return state;
    cancelled = true;
    return AwaitLateAnswer();
}

// Noise broke the download handshake, but the controller's own answer to the ENQ may still come after
// it: a controller that sent STX waits for a whole block and would take the next commands as its data.
// An STX in the noise's piece or within a moment after it counts; true when one came.
bool StxAfterNoise() {
    Protocol& proto = protocol();
    BlockTarget& target = blockTarget();
    if (target.stxAfterNoise)
        return true;
    proto.ReplyState = reply::kCollecting;
    target.resynchronising = true;
    const int state = AwaitLateAnswer();
    target.resynchronising = false;
    return state == reply::kIdle;
}

bool SendEnq() {
    return protocol().SendChar(block::kEnq) == 0;
}

// The end of a download's data; nothing is sent over a link that went away (it has been reported).
void SendEtx() {
    if (protocol().ReplyState != reply::kNotOpen)
        protocol().SendChar(block::kEtx);
}

void ExpectBlock(unsigned char* at, unsigned char* end) {
    BlockTarget& target = blockTarget();
    target.writePointer = at;
    target.endBound = end;
    target.expected = block::kSize;
}

// Sends `total` bytes as whole blocks, each one only after the controller answered ENQ with STX.
bool SendBlocks(quint64 total, const BlockSource& source) {
    Protocol& proto = protocol();
    unsigned char buffer[block::kSize];
    quint64 remaining = total;
    while (remaining > 0) {
        proto.ReplyState = reply::kCollecting;
        std::memset(buffer, 0, sizeof buffer);
        if (!source(buffer))
            return false;
        if (!SendEnq())
            return false;
        bool cancelled = false;
        blockTarget().stxAfterNoise = false;
        const int answer = WaitAnswer(cancelled);
        if (answer == reply::kStxExpected && StxAfterNoise()) {
            // The block goes whole so the controller ends it; the transfer has failed all the same.
            proto.SendBytes(reinterpret_cast<const char*>(buffer), block::kSize);
            return false;
        }
        if (answer != reply::kIdle)
            return false;
        if (proto.SendBytes(reinterpret_cast<const char*>(buffer), block::kSize) != 0)
            return false;
        Progress(total - remaining, total);
        if (cancelled)
            return false;
        remaining -= remaining < block::kSize ? remaining : block::kSize;
    }
    return true;
}

std::string FileLabel(const QIODevice& file) {
    if (auto fileDevice = qobject_cast<const QFileDevice*>(&file))
        return fileDevice->fileName().toStdString();
    return "The file";
}

// Reads the next piece of the file into the block; the end of the file leaves zeros.
BlockSource FileSource(QIODevice& file) {
    return [&file](unsigned char* block) {
        if (file.atEnd())
            return true;
        if (file.read(reinterpret_cast<char*>(block), block::kSize) >= 0)
            return true;
        ui().ShowMessage(FileLabel(file) + " could not be read because of this error: " +
                         file.errorString().left(255).toStdString());
        return false;
    };
}

// The end of a download. After the blocks went through, the controller's final "OK" line is awaited
// on a real link. After a failure it is not: a controller that answered ENQ with something else may
// never send that line; the reply state stays "collecting" and a later prompt makes the link idle.
// The simulated controller has nothing more to say, so the link is idle at once.
void FinishDownload(bool blocksSent) {
    Protocol& proto = protocol();
    if (!proto.Simulated()) {
        if (blocksSent)
            proto.WaitReply();
        return;
    }
    if (proto.ReplyState != reply::kNotOpen) {
        proto.ReplyState = reply::kIdle;
        ui().KickIdle();
    }
}

} // namespace

int SelectBank(int bank) {
    return protocol().SendString(std::to_string(bank) + " BANK C! ");
}

bool UploadBlock(QIODevice& file, int bank, quint32 start, quint32 length) {
    Protocol& proto = protocol();
    if (SelectBank(bank) != 0)
        return false;
    if (!proto.SendLine("DECIMAL " + std::to_string(start) + " " + std::to_string(length) + " TRANSMIT\r"))
        return false;
    BeginBlockMode();
    unsigned char buffer[block::kSize];
    quint64 received = 0;
    bool result = false;
    for (;;) {
        proto.ReplyState = reply::kWaitingForStx;
        ExpectBlock(buffer, buffer + block::kSize);
        if (!SendEnq())
            break;
        bool cancelled = false;
        const int state = WaitAnswer(cancelled);
        if (state != block::kComplete) {
            result = !cancelled && state == reply::kIdle;
            break;
        }
        received += block::kSize;
        Progress(received, length);
        if (file.write(reinterpret_cast<const char*>(buffer), block::kSize) != block::kSize || cancelled)
            break;
    }
    EndTransfer(reply::kIdle);
    return result;
}

bool DownloadBlock(QIODevice& file, int bank, quint32 start, quint32 length) {
    Protocol& proto = protocol();
    proto.SetPromptReply();
    if (SelectBank(bank) != 0) {
        proto.SetNormalReply();
        return false;
    }
    std::ostream& stream = proto.ControllerStream;
    stream << "DECIMAL " << start << " " << length << " RECEIVE"
           << "\n";
    if (stream.fail()) {
        stream.clear();
        proto.SetNormalReply();
        return false;
    }
    proto.SetNormalReply();
    BeginBlockMode();
    const bool result = SendBlocks(length, FileSource(file));
    SendEtx();
    EndTransfer(reply::kCollecting);
    FinishDownload(result);
    return result;
}

bool DownloadRunList(const unsigned char* image, int count) {
    Protocol& proto = protocol();
    proto.SetPromptReply();
    if (SelectBank(1) != 0) {
        proto.SetNormalReply();
        return false;
    }
    const bool accepted = proto.SendCommand("DECIMAL RUN-LIST " + std::to_string(count) + " RECEIVE");
    proto.SetNormalReply();
    if (!accepted)
        return false;
    BeginBlockMode();
    int offset = 0;
    const bool result = SendBlocks(count > 0 ? static_cast<quint64>(count) : 0, [&](unsigned char* block) {
        const int available = runlist::kImageSize - offset;
        if (available > 0)
            std::memcpy(block, image + offset, static_cast<size_t>(std::min(available, block::kSize)));
        offset += block::kSize;
        return true;
    });
    EndTransfer(reply::kCollecting);
    SendEtx();
    FinishDownload(result);
    return result;
}

bool UploadRunList(unsigned char* image, int total) {
    Protocol& proto = protocol();
    if (SelectBank(1) != 0)
        return false;
    if (proto.SendString("DECIMAL RUN-LIST NEXT @ RUN-LIST - TRANSMIT\r") != 0)
        return false;
    BeginBlockMode();
    BlockTarget& target = blockTarget();
    target.writePointer = image;
    target.endBound = image + runlist::kImageSize;
    quint64 received = 0;
    int state = 0;
    bool cancelled = false;
    for (;;) {
        proto.ReplyState = reply::kWaitingForStx;
        target.expected = block::kSize;
        if (!SendEnq()) {
            EndTransfer(reply::kIdle);
            return false;
        }
        state = WaitAnswer(cancelled);
        if (state == block::kComplete) {
            received += block::kSize;
            Progress(received, total > 0 ? static_cast<quint64>(total) : 0);
        }
        if (cancelled || state != block::kComplete)
            break;
    }
    EndTransfer(reply::kIdle);
    return !cancelled && state == reply::kIdle;
}
