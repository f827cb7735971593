#pragma once

#include "core/app/RequestWire.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <map>
#include <memory>

class QLocalServer;
class QLocalSocket;

// The program on the other end of a request that runs for a while: it can be sent frames as the work
// goes on, and the server tells when it goes away.
class RequestPeer {
public:
    virtual ~RequestPeer() = default;
    // Sends one frame; false once the program has gone.
    virtual bool Send(const QByteArray& frame) = 0;
    // Called when the program goes away while its request runs.
    std::function<void()> onGone;
};

// Serves one kind of request for as long as it takes, answering through the peer; it runs on the UI
// thread like every request, after the request has been read.
using LongRequest = std::function<void(const QByteArray& payload, RequestPeer& peer)>;

// Serves the requests of other programs on a local socket that only the same user can reach: send
// bytes to the controller, the reply status and the last reply line. Requests are handled on the UI
// thread as they arrive, also while Marlix waits for the controller; a request to send while Marlix
// is itself waiting is refused with wire::kBusy so that its exchange is not disturbed.
// What other programs can make it hold is bounded: a frame larger than wire::kMaxPayload ends its
// connection, as do answers piling up unread beyond kMaxUnread; at most kMaxConnections are served,
// and a new one beyond that takes the place of the one that has been quiet the longest.
class RequestServer : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxConnections = 128;
    static constexpr qint64 kMaxUnread = 256 * 1024;

    explicit RequestServer(QObject* parent = nullptr);
    ~RequestServer() override;

    // Listens on `path`. A socket left behind by a Marlix that has gone is replaced; while another
    // running Marlix answers on it, false.
    bool Start(const QString& path = wire::DefaultSocketPath());
    void Stop();
    bool listening() const;
    QString path() const { return m_path; }
    // Connections served, and the bytes held for them (frames not yet whole, answers not yet read).
    int connections() const { return static_cast<int>(m_connections.size()); }
    qint64 BufferedBytes() const;

    // The answer to one request (the frame to send back).
    static QByteArray Handle(const wire::Frame& request);

    // Lets another part of the program serve requests of `kind` (a file download).
    static void Serve(char kind, LongRequest handler);

private:
    struct Connection {
        std::shared_ptr<wire::FrameReader> reader;
        quint64 lastHeard = 0; // when it last sent something, in arrivals counted by the server
        int running = 0;       // long requests under way
    };

    void AcceptConnections();
    void Accept(QLocalSocket* socket);
    void Read(QLocalSocket* socket);
    // Writes an answer, or ends the connection when it leaves too much unread.
    void Reply(QLocalSocket* socket, const QByteArray& frame);
    // Makes room for one more connection; false when every one has a request under way.
    bool MakeRoom();
    void RunLongRequest(const QPointer<QLocalSocket>& socket, const wire::Frame& request);
    static bool AnotherServerAnswers(const QString& path);

    QLocalServer* m_server;
    QString m_path;
    std::map<QLocalSocket*, Connection> m_connections;
    quint64 m_arrivals = 0;
};

// Starts the program's request server at start-up; reports on the debug output when it cannot.
bool StartRequestServer();
