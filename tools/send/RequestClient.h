#pragma once

#include "core/app/RequestWire.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QString>

// One connection to a running Marlix's request channel. Every call is bounded by the deadline given
// to the constructor, counted from the construction or from the last Restart.
class RequestClient {
public:
    explicit RequestClient(qint64 deadlineMs);

    // False when no Marlix answers on `path`.
    bool Connect(const QString& path);
    // Sends one request and waits for its answer; false when the connection failed or time ran out.
    bool Ask(char kind, const QByteArray& data, int& result, QByteArray& answerData);
    // Sends one request without waiting.
    bool Send(char kind, const QByteArray& data);
    // Waits for the next frame from Marlix; false when the connection failed or time ran out.
    bool Receive(wire::Frame& frame);
    // True once the deadline has passed.
    bool Expired() const { return Remaining() <= 0; }
    // Counts the deadline from now again.
    void Restart() { m_clock.restart(); }

private:
    int Remaining() const;

    QLocalSocket m_socket;
    wire::FrameReader m_reader;
    QElapsedTimer m_clock;
    qint64 m_deadlineMs;
};
