#include "core/app/RequestWire.h"

#include <QDir>
#include <QStandardPaths>
#include <unistd.h>

namespace wire {

namespace {

void AppendLe32(QByteArray& bytes, std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8)
        bytes.append(static_cast<char>((v >> shift) & 0xFF));
}

std::uint32_t Le32At(const QByteArray& bytes, qsizetype at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
    return v;
}

constexpr qsizetype kHeader = 5;

} // namespace

QByteArray EncodeFrame(char kind, const QByteArray& payload) {
    QByteArray bytes;
    bytes.reserve(kHeader + payload.size());
    bytes.append(kind);
    AppendLe32(bytes, static_cast<std::uint32_t>(payload.size()));
    bytes.append(payload);
    return bytes;
}

QByteArray EncodeAnswer(char kind, int result, const QByteArray& data) {
    QByteArray payload;
    AppendLe32(payload, static_cast<std::uint32_t>(result));
    payload.append(data);
    return EncodeFrame(kind, payload);
}

bool DecodeAnswer(const QByteArray& payload, int& result, QByteArray& data) {
    if (payload.size() < 4)
        return false;
    result = static_cast<int>(Le32At(payload, 0));
    data = payload.mid(4);
    return true;
}

bool FrameReader::Next(Frame& frame) {
    if (m_failed || m_buffer.size() < kHeader)
        return false;
    const std::uint32_t length = Le32At(m_buffer, 1);
    if (length > kMaxPayload) {
        m_failed = true;
        m_buffer.clear();
        return false;
    }
    if (m_buffer.size() < kHeader + static_cast<qsizetype>(length))
        return false;
    frame.kind = m_buffer[0];
    frame.payload = m_buffer.mid(kHeader, length);
    m_buffer.remove(0, kHeader + length);
    return true;
}

QByteArray EncodeNumber(int value) {
    QByteArray bytes;
    AppendLe32(bytes, static_cast<std::uint32_t>(value));
    return bytes;
}

bool DecodeNumber(const QByteArray& bytes, int& value) {
    if (bytes.size() != 4)
        return false;
    value = static_cast<int>(Le32At(bytes, 0));
    return true;
}

// The number, the text and the reply; the text never holds a line feed, so one separates them.
QByteArray EncodeLineReport(const LineReport& report) {
    return EncodeNumber(report.line) + report.text + '\n' + report.reply;
}

bool DecodeLineReport(const QByteArray& data, LineReport& report) {
    const qsizetype split = data.indexOf('\n', 4);
    if (data.size() < 4 || split < 0)
        return false;
    report.line = static_cast<int>(Le32At(data, 0));
    report.text = data.mid(4, split - 4);
    report.reply = data.mid(split + 1);
    return true;
}

QString DefaultSocketPath() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return QDir(folder).filePath(QStringLiteral("marlix-%1").arg(::getuid()));
}

} // namespace wire
