#pragma once

#include "core/app/RequestWire.h"

#include <QObject>
#include <QString>

class QLocalServer;

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

private:
    void AcceptConnections();
    static bool AnotherServerAnswers(const QString& path);

    QLocalServer* m_server;
    QString m_path;
};

// Starts the program's request server at start-up; reports on the debug output when it cannot.
bool StartRequestServer();
