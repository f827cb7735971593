#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

// The local request channel through which other programs use Marlix's link to the controller.
//
// Every message, in both directions, is one frame: a kind byte, the payload length as a 32-bit
// little-endian number, then the payload. A request's payload is its data (the bytes to send for
// kCopyData, nothing for the others). The answer carries the request's kind; its payload is the
// result as a 32-bit little-endian number, followed for kLastLine by the characters of the last
// reply line.
namespace wire {

constexpr char kCopyData = 'D';    // send bytes to the controller; result kSent / kNotOpen / kBusy
constexpr char kReplyStatus = 'S'; // result 2 busy, 1 last reply "OK", 0 not OK
constexpr char kLastLine = 'L';    // result 1, then the last reply line

constexpr int kNotOpen = 0;
constexpr int kSent = 1;
// Marlix is waiting for the controller on its own account; try again shortly.
constexpr int kBusy = 2;

// Larger frames are refused and end the connection.
constexpr std::uint32_t kMaxPayload = 1u << 20;

struct Frame {
    char kind = 0;
    QByteArray payload;
};

QByteArray EncodeFrame(char kind, const QByteArray& payload);
// An answer: the result, then any data.
QByteArray EncodeAnswer(char kind, int result, const QByteArray& data = QByteArray());
// Splits an answer's payload; false when it is too short to hold a result.
bool DecodeAnswer(const QByteArray& payload, int& result, QByteArray& data);

// Collects bytes as they arrive and hands out whole frames.
class FrameReader {
public:
    void Append(const QByteArray& bytes) { m_buffer.append(bytes); }
    // The next whole frame, if one has arrived. Once a frame is too large the reader stays failed.
    bool Next(Frame& frame);
    bool failed() const { return m_failed; }

private:
    QByteArray m_buffer;
    bool m_failed = false;
};

// Where the current user's Marlix listens: "marlix-<uid>" in the user's runtime folder.
QString DefaultSocketPath();

} // namespace wire
