#include "RequestClient.h"

#include <algorithm>

namespace {
constexpr int kConnectMs = 2000;
} // namespace

RequestClient::RequestClient(qint64 deadlineMs) : m_deadlineMs(deadlineMs) {
    m_clock.start();
}

int RequestClient::Remaining() const {
    return static_cast<int>(std::max<qint64>(0, m_deadlineMs - m_clock.elapsed()));
}

bool RequestClient::Connect(const QString& path) {
    m_socket.connectToServer(path);
    return m_socket.waitForConnected(std::min(kConnectMs, std::max(Remaining(), 1)));
}

bool RequestClient::Send(char kind, const QByteArray& data) {
    if (m_socket.state() != QLocalSocket::ConnectedState)
        return false;
    m_socket.write(wire::EncodeFrame(kind, data));
    return m_socket.waitForBytesWritten(std::max(Remaining(), 1));
}

bool RequestClient::Receive(wire::Frame& frame) {
    while (!m_reader.Next(frame)) {
        if (m_reader.failed() || Expired())
            return false;
        if (!m_socket.bytesAvailable() && !m_socket.waitForReadyRead(Remaining()))
            return false;
        m_reader.Append(m_socket.readAll());
    }
    return true;
}

bool RequestClient::Ask(char kind, const QByteArray& data, int& result, QByteArray& answerData) {
    wire::Frame frame;
    if (!Send(kind, data) || !Receive(frame))
        return false;
    return frame.kind == kind && wire::DecodeAnswer(frame.payload, result, answerData);
}
