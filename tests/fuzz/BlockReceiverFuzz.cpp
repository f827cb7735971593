// The block receiver, fed whatever the controller sends in whatever chunks, the way the transfers use
// it: blocks of a memory image into one 256-byte buffer, the run-list into an image of any size, and the
// download handshake. Its state is always one a transfer can meet, nothing is written outside the
// target, a block that arrived whole holds exactly the 256 bytes that came last, and every error is
// the one its message names.
#include "FuzzSupport.h"
#include "core/app/CoreWiring.h"
#include "core/protocol/BlockReceiver.h"
#include "core/protocol/Protocol.h"
#include "support/ScriptedUi.h"

#include <algorithm>
#include <vector>

using fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    enum Scenario { kMemoryImage, kRunList, kDownload };
    fuzz::Input input(data, size);
    const auto scenario = static_cast<Scenario>(input.Byte() % 3);
    const size_t bound = scenario == kRunList ? 1 + input.Byte() * 4u : block::kSize;
    const uint32_t seed = input.Seed();
    const std::string stream = input.Rest();

    ScriptedUi ui;
    ResetCore();
    InstallBlockReceiver();
    Protocol& proto = protocol();
    proto.SetReceiveMode(ReceiveMode::Block);
    std::vector<unsigned char> memory(bound);
    BlockTarget& target = blockTarget();
    target = BlockTarget{memory.data(), memory.data() + bound, 0};
    // Before every block: a memory image starts its buffer over, the run-list goes on where it was.
    const auto nextBlock = [&] {
        proto.ReplyState = scenario == kDownload ? reply::kCollecting : reply::kWaitingForStx;
        target.expected = block::kSize;
        if (scenario == kMemoryImage)
            target.writePointer = memory.data();
    };
    nextBlock();
    size_t done = 0;
    bool over = false;
    fuzz::InChunks(stream, seed, [&](const char* chunk, int length) {
        if (over)
            return;
        ui.messages.clear();
        proto.ReceiveBytes(chunk, length);
        done += static_cast<size_t>(length);
        Require(target.writePointer >= memory.data() && target.writePointer <= memory.data() + bound,
                "the write pointer left the target");
        using Messages = std::vector<std::string>;
        switch (proto.ReplyState) {
        case reply::kWaitingForStx:
        case reply::kBlockData:
            Require(scenario != kDownload && ui.messages.empty(), "a block state in the download handshake");
            break;
        case block::kComplete:
            Require(
                scenario != kDownload && ui.messages.empty() && done >= block::kSize &&
                    std::equal(target.writePointer - block::kSize, target.writePointer,
                               reinterpret_cast<const unsigned char*>(stream.data() + done - block::kSize)),
                "a whole block does not hold the 256 bytes that came last");
            nextBlock();
            break;
        case reply::kIdle:
            Require(ui.messages.empty(), "a message at the end of a block");
            if (scenario == kDownload)
                nextBlock(); // the controller took a block; the next ENQ follows
            else
                over = true; // ETX: the controller has no more data
            break;
        case reply::kTooMuchData:
            Require(scenario != kDownload && ui.messages == Messages{"Too much data"},
                    "too much data without its message");
            over = true;
            break;
        case reply::kStxExpected:
            Require(scenario == kDownload && chunk[0] != block::kStx &&
                        ui.messages == Messages{"expecting STX, received " +
                                                std::to_string(static_cast<signed char>(chunk[0]))},
                    "a refused handshake without its message");
            over = true;
            break;
        default:
            Require(false, "the receiver is in a state no transfer expects");
        }
    });
    return 0;
}
