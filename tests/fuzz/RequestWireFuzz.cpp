// The request channel's wire, fed whatever a client sends in whatever pieces the socket hands over: the
// frames read are the same however the bytes were cut, they encode back to exactly the bytes they came
// from, a reader fails only on a frame too large and then reads nothing more, and every request gets
// one well-formed answer of its own kind (here against the simulated controller).
#include "FuzzSupport.h"
#include "core/app/CoreWiring.h"
#include "core/app/RequestServer.h"
#include "core/link/CommLink.h"
#include "core/protocol/Protocol.h"

#include <QtEndian>

#include <utility>
#include <vector>

using fuzz::Require;

namespace {

// The frames read from `bytes` fed in chunks (in one piece when `seed` is 0), each encoded again, and
// whether the reader failed.
std::pair<QByteArray, bool> ReadAll(const std::string& bytes, uint32_t seed,
                                    std::vector<wire::Frame>* frames = nullptr) {
    wire::FrameReader reader;
    QByteArray encoded;
    fuzz::InChunks(bytes, seed, [&](const char* data, int length) {
        reader.Append(QByteArray(data, length));
        for (wire::Frame frame; reader.Next(frame);) {
            encoded += wire::EncodeFrame(frame.kind, frame.payload);
            if (frames)
                frames->push_back(frame);
        }
    });
    return {encoded, reader.failed()};
}

void CheckAnswer(const wire::Frame& request) {
    wire::FrameReader reader;
    reader.Append(RequestServer::Handle(request));
    wire::Frame answer;
    int result = 0;
    QByteArray data;
    Require(reader.Next(answer) && !reader.Next(answer) && answer.kind == request.kind &&
                wire::DecodeAnswer(answer.payload, result, data),
            "a request without one well-formed answer of its kind");
    // A copy is taken by the simulated controller, a status is 0 to 2, the last line is the reply's,
    // and anything else is answered with -1.
    const bool empty = data.isEmpty();
    Require(request.kind == wire::kCopyData      ? result == wire::kSent && empty
            : request.kind == wire::kReplyStatus ? result >= 0 && result <= 2 && empty
            : request.kind == wire::kLastLine ? result == 1 && data.toStdString() == protocol().LastReplyLine
                                              : result == -1 && empty,
            "an answer that does not fit its request");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input input(data, size);
    const uint32_t seed = input.Seed();
    const std::string bytes = input.Rest();
    std::vector<wire::Frame> frames;
    const auto [encoded, failed] = ReadAll(bytes, 0, &frames);
    Require(ReadAll(bytes, seed) == std::make_pair(encoded, failed), "cutting the bytes changed the frames");
    const size_t used = static_cast<size_t>(encoded.size());
    Require(bytes.compare(0, used, encoded.constData(), used) == 0,
            "the frames are not the bytes they came from");
    // What is left after the frames: a kind and a payload length, then the payload.
    const uint32_t length =
        bytes.size() >= used + 5 ? qFromLittleEndian<quint32>(bytes.data() + used + 1) : 0;
    const bool tooLarge = length > wire::kMaxPayload;
    const bool frameLeft = bytes.size() >= used + 5 && bytes.size() - used - 5 >= length;
    Require(failed == tooLarge && !frameLeft, "a frame left unread, or a failure without cause");

    ResetCore();
    commLink().Simulate = true;
    commLink().OpenCommunication();
    for (const wire::Frame& frame : frames)
        CheckAnswer(frame);
    return 0;
}
