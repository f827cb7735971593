// The request channel's wire, fed whatever a client sends in whatever pieces the socket hands over: the
// frames read are the same however the bytes were cut, they encode back to exactly the bytes they came
// from, a reader fails only on a frame too large and then reads nothing more, and every request gets
// one well-formed answer of its own kind (here against the simulated controller).
#include "FuzzSupport.h"
#include "core/app/CoreWiring.h"
#include "core/app/RequestServer.h"
#include "core/link/CommLink.h"
#include "core/protocol/Protocol.h"

#include <vector>

using fuzz::Require;

namespace {

struct Read {
    std::vector<wire::Frame> frames;
    bool failed = false;
};

Read ReadAll(const std::string& bytes, uint32_t seed) {
    wire::FrameReader reader;
    Read read;
    const auto feed = [&](const char* data, int length) {
        reader.Append(QByteArray(data, length));
        for (wire::Frame frame; reader.Next(frame);)
            read.frames.push_back(frame);
    };
    if (seed == 0)
        feed(bytes.data(), static_cast<int>(bytes.size()));
    else
        fuzz::InChunks(bytes, seed, feed);
    read.failed = reader.failed();
    return read;
}

uint32_t Le32(const std::string& bytes, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | static_cast<unsigned char>(bytes[at + static_cast<size_t>(i)]);
    return v;
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
    switch (request.kind) {
    case wire::kCopyData:
        Require(result == wire::kSent && data.isEmpty(), "the simulated controller did not take the data");
        break;
    case wire::kReplyStatus:
        Require(result >= 0 && result <= 2 && data.isEmpty(), "a reply status out of range");
        break;
    case wire::kLastLine:
        Require(result == 1 && data.toStdString() == protocol().LastReplyLine, "not the last reply line");
        break;
    default:
        Require(result == -1 && data.isEmpty(), "an unknown request not answered with -1");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input input(data, size);
    const uint32_t seed = input.Word32() | 1;
    const std::string bytes = input.Rest();
    const Read whole = ReadAll(bytes, 0);
    const Read cut = ReadAll(bytes, seed);
    Require(whole.failed == cut.failed && whole.frames.size() == cut.frames.size(),
            "cutting the bytes changed the frames");
    QByteArray encoded;
    for (size_t i = 0; i < whole.frames.size(); ++i) {
        Require(whole.frames[i].kind == cut.frames[i].kind &&
                    whole.frames[i].payload == cut.frames[i].payload,
                "cutting the bytes changed a frame");
        encoded += wire::EncodeFrame(whole.frames[i].kind, whole.frames[i].payload);
    }
    const size_t used = static_cast<size_t>(encoded.size());
    Require(bytes.compare(0, used, encoded.constData(), used) == 0,
            "the frames are not the bytes they came from");
    const bool tooLarge = bytes.size() >= used + 5 && Le32(bytes, used + 1) > wire::kMaxPayload;
    const bool frameLeft = bytes.size() >= used + 5 && bytes.size() - used - 5 >= Le32(bytes, used + 1);
    Require(whole.failed == tooLarge && !frameLeft, "a frame left unread, or a failure without cause");

    ResetCore();
    commLink().Simulate = true;
    commLink().OpenCommunication();
    for (const wire::Frame& frame : whole.frames)
        CheckAnswer(frame);
    return 0;
}
