// The reply tracker, fed whatever the line brings in whatever chunks the port hands over: its state is
// always one the tracker can be in, and how the bytes were cut never changes where it ends, the two
// characters it kept, the teach pad signals, the replies it completed or the console text.
#include "FuzzSupport.h"
#include "core/app/CoreWiring.h"
#include "core/link/CommLink.h"
#include "core/protocol/Protocol.h"
#include "support/ScriptedUi.h"

#include <algorithm>
#include <tuple>

using fuzz::Require;

namespace {

// The states a wait can leave the tracker in when bytes arrive. Text can move it to any of the first
// seven; the others it must keep.
constexpr int kStarts[] = {reply::kIdle,           reply::kCollecting, reply::kAfterCr,
                           reply::kLineEnded,      reply::kPromptOnly, reply::kSkipToPrompt,
                           reply::kPromptExpected, reply::kCancelled,  reply::kNotOpen};

using Outcome = std::tuple<int, char, char, std::string, int, int, std::string, std::string>;

// Feeds `bytes` to a fresh link in text mode, in one piece when `seed` is 0.
Outcome Receive(int start, const std::string& bytes, uint32_t seed) {
    ScriptedUi ui;
    ResetCore();
    const Ccom1doc& doc = commLink().EnsureDocument();
    Protocol& proto = protocol();
    proto.ReplyState = start;
    std::string teachPad;
    proto.TeachPadHook = [&teachPad](PadSignal code) {
        teachPad += static_cast<char>('0' + static_cast<int>(code));
    };
    fuzz::InChunks(bytes, seed, [&](const char* data, int length) {
        proto.ReceiveBytes(data, length);
        Require(proto.ReplyState == start || std::count(kStarts, kStarts + 7, proto.ReplyState) == 1,
                "the tracker is in a state it cannot be in");
    });
    return {proto.ReplyState, proto.previousChar, proto.lastChar,    teachPad,
            ui.kicks,         ui.beeps,           doc.GetLastLine(), doc.SavedText()};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input input(data, size);
    const int start = kStarts[input.Byte() % std::size(kStarts)];
    const uint32_t seed = input.Seed();
    const std::string bytes = input.Rest();
    Require(Receive(start, bytes, 0) == Receive(start, bytes, seed), "cutting the bytes changed the outcome");
    return 0;
}
