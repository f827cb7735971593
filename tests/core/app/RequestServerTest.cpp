#include "core/app/RequestServer.h"
#include "core/app/CoreWiring.h"
#include "core/app/EventLoopUi.h"
#include "core/app/RequestWire.h"
#include "core/app/ScriptedDownload.h"
#include "core/base/Screen.h"
#include "core/link/CommLink.h"
#include "core/protocol/Protocol.h"
#include "support/EmulatedController.h"
#include "support/TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <memory>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace {

// A client on a plain non-blocking socket, so that it reads only when the test says so.
class RawClient {
public:
    explicit RawClient(const QString& path) {
        m_fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        m_address.sun_family = AF_UNIX;
        const QByteArray name = QFile::encodeName(path);
        std::memcpy(m_address.sun_path, name.constData(),
                    std::min<size_t>(size_t(name.size()), sizeof m_address.sun_path - 1));
        Connect();
    }
    ~RawClient() { Close(); }
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;

    void Close() {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }
    // Sends what the socket takes now; the rest is sent by later calls of Pump.
    void Send(const QByteArray& bytes) {
        m_out += bytes;
        Pump();
    }
    // Moves pending bytes both ways; false once the server has closed the connection.
    bool Pump() {
        if (m_connecting)
            Connect();
        while (m_fd >= 0 && !m_connecting && !m_out.isEmpty()) {
            const ssize_t n = ::send(m_fd, m_out.constData(), size_t(m_out.size()), MSG_NOSIGNAL);
            if (n <= 0) {
                m_closed = m_closed || (n < 0 && errno != EAGAIN);
                break;
            }
            m_out.remove(0, n);
        }
        char buffer[4096];
        for (ssize_t n;
             m_fd >= 0 && !m_connecting && reading && (n = ::recv(m_fd, buffer, sizeof buffer, 0)) != -1;) {
            if (n == 0) {
                m_closed = true;
                break;
            }
            m_reader.Append(QByteArray(buffer, int(n)));
        }
        if (m_fd >= 0 && !m_connecting && !reading) {
            char probe;
            m_closed = m_closed || ::recv(m_fd, &probe, 1, MSG_PEEK) == 0;
        }
        return !m_closed;
    }
    bool Answer(wire::Frame& frame) { return m_reader.Next(frame); }
    bool closed() const { return m_closed; }
    bool connected() const { return m_fd >= 0 && !m_connecting; }

    bool reading = true;

private:
    // A full backlog of the server is waited out as a client library would.
    void Connect() {
        const int result = ::connect(m_fd, reinterpret_cast<sockaddr*>(&m_address), sizeof m_address);
        m_connecting = result != 0 && errno == EAGAIN;
        if (result != 0 && !m_connecting)
            Close();
    }

    sockaddr_un m_address{};
    bool m_connecting = false;
    int m_fd = -1;
    QByteArray m_out;
    wire::FrameReader m_reader;
    bool m_closed = false;
};

QByteArray Header(char kind, quint32 length) {
    return wire::EncodeFrame(kind, QByteArray()).left(1) + wire::EncodeNumber(int(length));
}

struct Outcome {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Marlix's request server on the event loop, with the real marlix-send as its client.
class RequestServerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "request_server_test";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            new QCoreApplication(argc, argv);
        ServeScriptedDownloads();
    }
    void SetUp() override {
        InstallScreen({&m_ui});
        ResetCore();
        m_socketPath = QDir(m_runtime.path()).filePath(QStringLiteral("marlix-%1").arg(::getuid()));
        ASSERT_TRUE(m_server.Start(m_socketPath));
    }
    void TearDown() override {
        m_server.Stop();
        ResetCore();
        InstallScreen({});
    }
    void UseSimulator() {
        commLink().Simulate = true;
        commLink().OpenCommunication();
    }
    // The emulated controller, answering through the event loop.
    void UseController() {
        commLink().SetTransport(&m_controller);
        commLink().EnsureDocument();
        protocol().ReplyState = reply::kIdle;
    }
    // Runs marlix-send with this test's runtime folder, serving requests meanwhile.
    Outcome RunSend(const QStringList& args, const QString& runtimeDir = QString()) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir.isEmpty() ? m_runtime.path() : runtimeDir);
        process.setProcessEnvironment(env);
        QEventLoop loop;
        QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
        QObject::connect(&process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
        QTimer::singleShot(20000, &loop, &QEventLoop::quit);
        process.start(QStringLiteral(MARLIX_SEND_PATH), args);
        loop.exec();
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(2000);
            ADD_FAILURE() << "marlix-send did not finish";
            return {};
        }
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput(), process.readAllStandardError()};
    }
    QString File(const char* name, const QByteArray& text) {
        const QString path = m_runtime.filePath(name);
        EXPECT_TRUE(WriteTestFile(path.toStdString(), text));
        return path;
    }

    // Serves and lets the clients move their bytes until `done` holds or a few seconds have passed.
    bool Serve(std::vector<RawClient*> clients, const std::function<bool()>& done, int milliseconds = 5000) {
        QElapsedTimer time;
        time.start();
        for (;;) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            for (RawClient* client : clients)
                client->Pump();
            if (done())
                return true;
            if (time.elapsed() > milliseconds)
                return false;
            ::usleep(1000);
        }
    }

    QTemporaryDir m_runtime;
    EventLoopUi m_ui;
    RequestServer m_server;
    EmulatedController m_controller{nullptr};
    QString m_socketPath;
};

TEST_F(RequestServerTest, CommandsPrintTheReplyLineAndExitByItsEnd) {
    UseSimulator();
    const Outcome sent = RunSend({"HOME", "NOW"});
    EXPECT_EQ(sent.exitCode, 0);
    EXPECT_EQ(sent.out, "HOME NOW simOK\n");
    const Outcome status = RunSend({"--status"});
    EXPECT_EQ(status.out, "1\n");
    const Outcome last = RunSend({"--last"});
    EXPECT_EQ(last.exitCode, 0);
    EXPECT_EQ(last.out, "HOME NOW simOK\n");
    EXPECT_EQ(RunSend({"--raw", "A  B\r"}).exitCode, 0);
    EXPECT_EQ(protocol().LastReplyLine, ">A  B simOK");
    // "~" is answered " err" without a prompt: the reply never completes.
    EXPECT_EQ(RunSend({"--timeout", "0.5", "X~"}).exitCode, 3);
    EXPECT_EQ(protocol().ReplyStatus(), 2);

    ResetCore();
    UseController();
    const Outcome good = RunSend({"1", "2", "+"});
    EXPECT_EQ(good.exitCode, 0);
    EXPECT_EQ(good.out, "1 2 + OK\n");
    const Outcome bad = RunSend({"BAD", "WORD"});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_EQ(bad.out, ">BAD WORD BAD ?\n") << "the echo follows the previous prompt on its line";
    EXPECT_TRUE(m_ui.messages.empty()) << "the asking program is told, not a box in Marlix";
}

TEST_F(RequestServerTest, ALinkNotOpenAnAbsentMarlixAndAWaitingMarlixAreReported) {
    commLink().OpenCommunication(); // no port: the link is not open
    EXPECT_EQ(RunSend({"HOME"}).exitCode, 2);
    QTemporaryDir empty;
    EXPECT_EQ(RunSend({"--status"}, empty.path()).exitCode, 2);

    UseSimulator();
    protocol().ShowWaitBox("Waiting for controller");
    EXPECT_EQ(RunSend({"--timeout", "0.3", "HOME"}).exitCode, 3);
    EXPECT_EQ(RunSend({"--timeout", "0.3", "--file", File("f.txt", "HOME")}).exitCode, 3);
    EXPECT_TRUE(protocol().LastReplyLine.empty()) << "nothing was sent during the wait";
    QTimer::singleShot(300, [] { protocol().CloseWaitBox(); });
    EXPECT_EQ(RunSend({"HOME"}).out, "HOME simOK\n");
    EXPECT_TRUE(m_ui.messages.empty());
}

TEST_F(RequestServerTest, AFileIsDownloadedWithProgressAndEndsAtTheRefusedLine) {
    UseController();
    const Outcome hidden = RunSend({"--hide", "--file", File("good.txt", "1 2 +\n3 4 +")});
    EXPECT_EQ(hidden.exitCode, 0);
    EXPECT_EQ(m_controller.Lines(), (std::vector<std::string>{"|", "1 2 +", "3 4 +", "IOFLAG C0SET"}));
    EXPECT_EQ(hidden.err, "line 1 of 2\nline 2 of 2\n");

    const Outcome refused = RunSend({"--file", File("bad.txt", "1 2 +\nBAD WORD\nNEVER\n")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.out, "2: BAD WORD\n");
    EXPECT_TRUE(refused.err.startsWith("line 1 of 4\nline 2 of 4\nmarlix-send: line 2 of "))
        << refused.err.data();
    EXPECT_TRUE(refused.err.contains("was not accepted by the controller: >BAD WORD BAD ?"))
        << refused.err.data();
    EXPECT_EQ(m_controller.Lines().back(), "BAD WORD");
    EXPECT_TRUE(m_ui.messages.empty());
    EXPECT_FALSE(protocol().heldBox);
    EXPECT_EQ(RunSend({"--file", m_runtime.filePath("missing.txt")}).exitCode, 4);
}

TEST_F(RequestServerTest, AStaleSocketIsReplacedButARunningServerIsNot) {
    RequestServer second;
    EXPECT_FALSE(second.Start(m_socketPath));
    m_server.Stop();
    ASSERT_TRUE(WriteTestFile(m_socketPath.toStdString(), ""));
    EXPECT_TRUE(m_server.Start(m_socketPath));
    UseSimulator();
    EXPECT_EQ(RunSend({"--status"}).out, "0\n") << "no reply has ended in OK yet";
}

// Programs that misbehave: frames too large, bytes that are no frames, requests cut off by a vanishing
// client, clients that never speak or never read their answers, and a hundred clients at once. The
// server keeps answering, every well-formed request gets its right answer or "busy", and what the
// clients can make it hold stays bounded. The socket and its folder are the user's alone.
TEST_F(RequestServerTest, MisbehavingClientsAreCutOffAndTheRestAreAnswered) {
    m_server.Stop();
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
    ASSERT_TRUE(m_server.Start());
    qunsetenv("XDG_RUNTIME_DIR");
    UseSimulator();
    // The socket and its folder let no one else in.
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(m_server.path()).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 077, 0u) << std::oct << info.st_mode;
    ASSERT_EQ(::stat(QFile::encodeName(QFileInfo(m_server.path()).path()).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 077, 0u) << std::oct << info.st_mode;

    const QByteArray status = wire::EncodeFrame(wire::kReplyStatus, {});
    QByteArray flood;
    for (int i = 0; i < 150000; ++i)
        flood += status;
    const struct {
        const char* client;
        QByteArray bytes;
        bool readsAnswers;
        bool cutOff;
    } abusers[] = {
        {"sends a 2 MB frame", Header(wire::kCopyData, 2u << 20) + QByteArray(2 << 20, 'x'), true, true},
        {"sends 1 MB of a frame and stops",
         Header(wire::kCopyData, wire::kMaxPayload) + QByteArray(1 << 19, 'y'), true, false},
        {"sends bytes that are no frames", QByteArray("\x01\xff\xff\xff\xffGARBAGE", 12), true, true},
        {"never speaks", {}, true, false},
        {"never reads its answers", flood, false, true},
    };
    std::vector<std::unique_ptr<RawClient>> clients;
    for (const auto& abuser : abusers) {
        clients.push_back(std::make_unique<RawClient>(m_server.path()));
        RawClient& client = *clients.back();
        ASSERT_TRUE(client.connected()) << abuser.client;
        client.reading = abuser.readsAnswers;
        client.Send(abuser.bytes);
        const bool cut = Serve(
            {&client}, [&client] { return client.closed(); }, abuser.cutOff ? 5000 : 300);
        EXPECT_EQ(cut, abuser.cutOff) << abuser.client;
        // What the server holds for its clients is bounded by the frame and answer limits.
        EXPECT_LE(m_server.BufferedBytes(), qint64(wire::kMaxPayload) + RequestServer::kMaxUnread)
            << abuser.client;
    }
    // A client that vanishes in the middle of a request leaves nothing behind.
    const int before = m_server.connections();
    {
        RawClient vanishing(m_server.path());
        vanishing.Send(Header(wire::kCopyData, 100) + "HALF");
        Serve({&vanishing}, [this, before] { return m_server.connections() > before; });
    }
    EXPECT_TRUE(Serve({}, [this, before] { return m_server.connections() == before; }));

    // Clients that never speak fill every place; a hundred clients then speak at once, each gets its
    // answer: a command sent (or "busy"), then the status of the last reply (or "busy").
    std::vector<std::unique_ptr<RawClient>> silent, speakers;
    std::vector<RawClient*> all;
    for (int i = 0; i < RequestServer::kMaxConnections; ++i) {
        silent.push_back(std::make_unique<RawClient>(m_server.path()));
        all.push_back(silent.back().get());
    }
    EXPECT_TRUE(Serve(all, [this] { return m_server.connections() == RequestServer::kMaxConnections; }));
    all.clear();
    for (int i = 0; i < 100; ++i) {
        speakers.push_back(std::make_unique<RawClient>(m_server.path()));
        speakers.back()->Send(
            wire::EncodeFrame(wire::kCopyData, QByteArray("HOME ") + QByteArray::number(i) + "\r") + status);
        all.push_back(speakers.back().get());
    }
    std::vector<std::vector<wire::Frame>> answers(speakers.size());
    const bool answered = Serve(all, [&] {
        bool every = true;
        for (size_t i = 0; i < speakers.size(); ++i) {
            for (wire::Frame frame; speakers[i]->Answer(frame);)
                answers[i].push_back(frame);
            every = every && answers[i].size() == 2;
        }
        return every;
    });
    EXPECT_TRUE(answered);
    for (size_t i = 0; i < answers.size(); ++i) {
        ASSERT_EQ(answers[i].size(), 2u) << "client " << i;
        int sent = -1, state = -1;
        QByteArray data;
        ASSERT_TRUE(wire::DecodeAnswer(answers[i][0].payload, sent, data));
        ASSERT_TRUE(wire::DecodeAnswer(answers[i][1].payload, state, data));
        EXPECT_EQ(answers[i][0].kind, wire::kCopyData);
        EXPECT_TRUE(sent == wire::kSent || sent == wire::kBusy) << "client " << i << ": " << sent;
        EXPECT_EQ(answers[i][1].kind, wire::kReplyStatus);
        EXPECT_TRUE(state == 1 || state == 2) << "client " << i << ": " << state;
    }
    EXPECT_LE(m_server.connections(), RequestServer::kMaxConnections);
}

} // namespace
