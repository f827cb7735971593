#include "core/app/RequestServer.h"

#include "core/protocol/Protocol.h"

#include <QCoreApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLoggingCategory>
#include <QTimer>

Q_LOGGING_CATEGORY(lcRequests, "marlix.requests")

namespace {

int CopyDataRequest(const QByteArray& data) {
    Protocol& proto = protocol();
    // Marlix's own exchange is running: sending now would take its reply away from it.
    if (proto.waitBoxOpen() || proto.heldBox)
        return wire::kBusy;
    // Answered without the "Communication is not open" box: the other program reports it.
    if (proto.ReplyState == reply::kNotOpen)
        return wire::kNotOpen;
    return proto.CopyData(data.constData(), static_cast<int>(data.size()));
}

std::map<char, LongRequest>& LongRequests() {
    static std::map<char, LongRequest> handlers;
    return handlers;
}

class SocketPeer : public RequestPeer {
public:
    explicit SocketPeer(const QPointer<QLocalSocket>& socket) : m_socket(socket) {}
    bool Send(const QByteArray& frame) override {
        if (!m_socket || m_socket->state() != QLocalSocket::ConnectedState)
            return false;
        m_socket->write(frame);
        return true;
    }

private:
    QPointer<QLocalSocket> m_socket;
};

} // namespace

RequestServer::RequestServer(QObject* parent) : QObject(parent), m_server(new QLocalServer(this)) {
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &RequestServer::AcceptConnections);
}

RequestServer::~RequestServer() {
    Stop();
}

bool RequestServer::Start(const QString& path) {
    Stop();
    m_path = path;
    // Listening with restricted access replaces an existing socket file, so look first whether another
    // Marlix is answering there; a file left behind by one that has gone is removed.
    if (AnotherServerAnswers(path)) {
        qCWarning(lcRequests) << "another Marlix answers requests on" << path;
        return false;
    }
    QLocalServer::removeServer(path);
    if (m_server->listen(path))
        return true;
    qCWarning(lcRequests) << "request channel not available:" << m_server->errorString();
    return false;
}

void RequestServer::Stop() {
    if (m_server->isListening())
        m_server->close();
}

bool RequestServer::listening() const {
    return m_server->isListening();
}

bool RequestServer::AnotherServerAnswers(const QString& path) {
    QLocalSocket probe;
    probe.connectToServer(path);
    return probe.waitForConnected(500);
}

void RequestServer::AcceptConnections() {
    while (QLocalSocket* socket = m_server->nextPendingConnection())
        Accept(socket);
}

void RequestServer::Accept(QLocalSocket* socket) {
    if (!MakeRoom()) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    m_connections[socket] = Connection{std::make_shared<wire::FrameReader>(), ++m_arrivals, 0};
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Read(socket); });
    connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
        m_connections.erase(socket);
        socket->deleteLater();
    });
}

void RequestServer::Read(QLocalSocket* socket) {
    const auto found = m_connections.find(socket);
    if (found == m_connections.end())
        return;
    found->second.lastHeard = ++m_arrivals;
    // Held while frames are handled: the connection may end meanwhile.
    const std::shared_ptr<wire::FrameReader> reader = found->second.reader;
    reader->Append(socket->readAll());
    wire::Frame frame;
    while (reader->Next(frame)) {
        if (LongRequests().count(frame.kind) == 0) {
            Reply(socket, Handle(frame));
            if (m_connections.count(socket) == 0)
                return;
            continue;
        }
        ++m_connections[socket].running;
        // Run from the event loop, not inside this read: the request waits for the controller, and
        // the socket may go away meanwhile.
        QTimer::singleShot(0, this, [this, peer = QPointer<QLocalSocket>(socket), frame] {
            RunLongRequest(peer, frame);
            if (peer && m_connections.count(peer))
                --m_connections[peer].running;
        });
    }
    if (reader->failed())
        socket->abort();
}

void RequestServer::Reply(QLocalSocket* socket, const QByteArray& frame) {
    if (socket->bytesToWrite() + frame.size() > kMaxUnread) {
        socket->abort();
        m_connections.erase(socket);
        socket->deleteLater();
        return;
    }
    socket->write(frame);
}

bool RequestServer::MakeRoom() {
    if (static_cast<int>(m_connections.size()) < kMaxConnections)
        return true;
    QLocalSocket* quietest = nullptr;
    quint64 heard = 0;
    for (const auto& [socket, connection] : m_connections)
        if (connection.running == 0 && (!quietest || connection.lastHeard < heard)) {
            quietest = socket;
            heard = connection.lastHeard;
        }
    if (!quietest)
        return false;
    quietest->abort();
    // In case the abort did not report the disconnection.
    m_connections.erase(quietest);
    quietest->deleteLater();
    return true;
}

qint64 RequestServer::BufferedBytes() const {
    qint64 bytes = 0;
    for (const auto& [socket, connection] : m_connections)
        bytes += connection.reader->buffered() + socket->bytesToWrite();
    return bytes;
}

void RequestServer::Serve(char kind, LongRequest handler) {
    LongRequests()[kind] = std::move(handler);
}

void RequestServer::RunLongRequest(const QPointer<QLocalSocket>& socket, const wire::Frame& request) {
    if (!socket)
        return;
    SocketPeer peer(socket);
    const QMetaObject::Connection gone = connect(socket, &QLocalSocket::disconnected, this, [&peer] {
        if (peer.onGone)
            peer.onGone();
    });
    LongRequests()[request.kind](request.payload, peer);
    disconnect(gone);
}

QByteArray RequestServer::Handle(const wire::Frame& request) {
    switch (request.kind) {
    case wire::kCopyData:
        return wire::EncodeAnswer(wire::kCopyData, CopyDataRequest(request.payload));
    case wire::kReplyStatus:
        return wire::EncodeAnswer(wire::kReplyStatus, protocol().ReplyStatus());
    case wire::kLastLine:
        return wire::EncodeAnswer(wire::kLastLine, 1, QByteArray::fromStdString(protocol().LastReplyLine));
    default:
        // An unknown request is answered with its own kind and -1, so a newer client learns of it.
        return wire::EncodeAnswer(request.kind, -1);
    }
}

bool StartRequestServer() {
    static RequestServer* server = nullptr;
    // Owned by the application: its socket file goes away when the program ends.
    if (!server)
        server = new RequestServer(QCoreApplication::instance());
    return server->Start();
}
