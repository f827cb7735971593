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

// Download a source file line by line as "Download &File..." does. Payload: 'H' (hide mode) or '-',
// then the file's path. A kProgress frame comes before each line is sent; the answer ends it with
// kNotOpen, kBusy or one of the results below, its data a LineReport (except for kBusy).
constexpr char kDownloadFile = 'F';
// Result: the number of the line about to be sent (from 1); data: the number of lines.
constexpr char kProgress = 'P';
constexpr int kAccepted = 1;   // every line was accepted
constexpr int kRefused = 3;    // the controller refused the reported line
constexpr int kStopped = 4;    // cancelled in Marlix, or unsaved edits of the file could not be saved
constexpr int kUnreadable = 5; // Marlix could not open the file

// Where a download ended: the line's number, its text, and the controller's reply to it or the
// message Marlix would have shown.
struct LineReport {
    int line = 0;
    QByteArray text;
    QByteArray reply;
};
QByteArray EncodeLineReport(const LineReport& report);
bool DecodeLineReport(const QByteArray& data, LineReport& report);
// A number as payloads carry it (32-bit little-endian); decoding needs exactly its four bytes.
QByteArray EncodeNumber(int value);
bool DecodeNumber(const QByteArray& bytes, int& value);

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
    // Bytes held of a frame that has not arrived whole.
    qsizetype buffered() const { return m_buffer.size(); }

private:
    QByteArray m_buffer;
    bool m_failed = false;
};

// Where the current user's Marlix listens: "marlix-<uid>" in the user's runtime folder.
QString DefaultSocketPath();

} // namespace wire
