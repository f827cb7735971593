#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QString>

// One connection to a running Marlix's request channel. Every call is bounded by the deadline given
// to the constructor.
class RequestClient {
public:
    explicit RequestClient(qint64 deadlineMs);

    // False when no Marlix answers on `path`.
    bool Connect(const QString& path);
    // Sends one request and waits for its answer; false when the connection failed or time ran out.
    bool Ask(char kind, const QByteArray& data, int& result, QByteArray& answerData);
    // True once the deadline has passed.
    bool Expired() const { return Remaining() <= 0; }

private:
    int Remaining() const;

    QLocalSocket m_socket;
    QElapsedTimer m_clock;
    qint64 m_deadlineMs;
};
