#pragma once

#include "core/app/RequestWire.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

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
class RequestServer : public QObject {
    Q_OBJECT
public:
    explicit RequestServer(QObject* parent = nullptr);
    ~RequestServer() override;

    // Listens on `path`. A socket left behind by a Marlix that has gone is replaced; while another
    // running Marlix answers on it, false.
    bool Start(const QString& path = wire::DefaultSocketPath());
    void Stop();
    bool listening() const;
    QString path() const { return m_path; }

    // The answer to one request (the frame to send back).
    static QByteArray Handle(const wire::Frame& request);

    // Lets another part of the program serve requests of `kind` (a file download).
    static void Serve(char kind, LongRequest handler);

private:
    void AcceptConnections();
    void RunLongRequest(const QPointer<QLocalSocket>& socket, const wire::Frame& request);
    static bool AnotherServerAnswers(const QString& path);

    QLocalServer* m_server;
    QString m_path;
};

// Starts the program's request server at start-up; reports on the debug output when it cannot.
bool StartRequestServer();
