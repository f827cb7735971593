#include "core/protocol/BlockReceiver.h"

#include "core/base/CoreState.h"
#include "core/base/UiSeam.h"
#include "core/protocol/Protocol.h"

#include <cstring>
#include <string>

namespace {

// End of a transfer step: the waiting transfer sees the state and the commands are re-evaluated.
void Complete(Protocol& proto) {
    proto.ReplyState = reply::kIdle;
    ui().KickIdle();
}

void AppendBlockData(Protocol& proto, const char* bytes, int count) {
    BlockTarget& target = blockTarget();
    const bool fits =
        count <= target.expected && target.writePointer && count <= target.endBound - target.writePointer;
    if (!fits) {
        proto.ReplyState = reply::kTooMuchData;
        ui().ShowMessage("Too much data");
        return;
    }
    if (count > 0) {
        std::memcpy(target.writePointer, bytes, static_cast<size_t>(count));
        target.writePointer += count;
        target.expected -= count;
    }
    if (target.expected == 0)
        proto.ReplyState = block::kComplete;
}

void WaitForStx(Protocol& proto, const char* bytes, int length) {
    for (int i = 0; i < length; ++i) {
        if (bytes[i] == block::kEtx) {
            Complete(proto);
            return;
        }
        if (bytes[i] == block::kStx) {
            proto.ReplyState = reply::kBlockData;
            AppendBlockData(proto, bytes + i + 1, length - i - 1);
            return;
        }
    }
}

void DownloadHandshake(Protocol& proto, const char* bytes, int length) {
    BlockTarget& target = blockTarget();
    const char first = bytes[0];
    const bool stxLater = std::memchr(bytes + 1, block::kStx, static_cast<size_t>(length - 1)) != nullptr;
    if (target.resynchronising) {
        if (first == block::kStx || stxLater)
            Complete(proto);
        return;
    }
    if (first == block::kStx) {
        Complete(proto);
        return;
    }
    target.stxAfterNoise = stxLater;
    proto.ReplyState = reply::kStxExpected;
    ui().ShowMessage("expecting STX, received " +
                     std::to_string(static_cast<int>(static_cast<signed char>(first))));
}

} // namespace

BlockTarget& blockTarget() {
    return coreState().Get<BlockTarget>();
}

void ReceiveBlockBytes(const char* bytes, int length) {
    if (length < 1)
        return;
    Protocol& proto = protocol();
    switch (proto.ReplyState) {
    case reply::kWaitingForStx:
        WaitForStx(proto, bytes, length);
        break;
    case reply::kBlockData:
        AppendBlockData(proto, bytes, length);
        break;
    case reply::kCollecting:
        DownloadHandshake(proto, bytes, length);
        break;
    case reply::kStxExpected:
        // The controller's own STX may still follow the noise that broke the handshake.
        if (std::memchr(bytes, block::kStx, static_cast<size_t>(length)))
            blockTarget().stxAfterNoise = true;
        break;
    default:
        break;
    }
}

void InstallBlockReceiver() {
    protocol().BlockReceiver = ReceiveBlockBytes;
}
