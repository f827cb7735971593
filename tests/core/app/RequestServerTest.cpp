#include "core/app/RequestServer.h"
#include "core/app/CoreWiring.h"
#include "core/app/EventLoopUi.h"
#include "core/app/RequestWire.h"
#include "core/app/ScriptedDownload.h"
#include "core/base/Screen.h"
#include "core/link/CommLink.h"
#include "core/protocol/Protocol.h"
#include "support/EmulatedController.h"
#include "support/ScriptedUi.h"
#include "support/TestFiles.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QtCore/qtestsupport_core.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A client on the event loop that sends its request once connected. One that does not read takes a
// single byte of its answers, so the rest pile up at the server.
struct Client {
    explicit Client(const QString& path, const QByteArray& request = {}, bool reads = true) {
        if (!reads)
            socket.setReadBufferSize(1);
        QObject::connect(&socket, &QLocalSocket::connected, [this, request] { socket.write(request); });
        socket.connectToServer(path);
    }
    bool Closed() const { return socket.state() == QLocalSocket::UnconnectedState; }
    // The answers that have arrived whole so far, each as its kind and result: "D1 S2 ".
    const QByteArray& Answers() {
        reader.Append(socket.readAll());
        for (wire::Frame frame; reader.Next(frame);) {
            int result = -1;
            QByteArray data;
            wire::DecodeAnswer(frame.payload, result, data);
            answers += frame.kind + QByteArray::number(result) + " ";
        }
        return answers;
    }
    QLocalSocket socket;
    wire::FrameReader reader;
    QByteArray answers;
};

QByteArray Header(char kind, quint32 length) {
    return QByteArray(1, kind) + wire::EncodeNumber(int(length));
}

// Marlix's request server on the event loop, with the real marlix-send as its client.
class RequestServerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 0;
        new QCoreApplication(argc, nullptr);
        ServeScriptedDownloads();
    }
    void SetUp() override {
        ResetCore();
        ASSERT_TRUE(m_server.Start(m_socketPath));
    }
    void TearDown() override {
        m_server.Stop();
        ResetCore();
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
    // Runs marlix-send with this test's runtime folder, serving requests meanwhile: its exit code and
    // what it printed, its error output kept in m_err.
    QByteArray Send(const QStringList& args, const QString& runtimeDir = QString()) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir.isEmpty() ? m_runtime.path() : runtimeDir);
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(MARLIX_SEND_PATH), args);
        EXPECT_TRUE(QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 20000))
            << "marlix-send did not finish";
        m_err = process.readAllStandardError();
        const int code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        return QByteArray::number(code) + " " + process.readAllStandardOutput();
    }
    QString File(const char* name, const QByteArray& text) {
        const QString path = m_runtime.filePath(name);
        EXPECT_TRUE(WriteTestFile(path.toStdString(), text));
        return path;
    }

    QTemporaryDir m_runtime;
    EventLoopUi m_ui;
    ScreenScope m_screen{{&m_ui}};
    RequestServer m_server;
    EmulatedController m_controller{nullptr};
    const QString m_socketPath = m_runtime.filePath(QStringLiteral("marlix-%1").arg(::getuid()));
    QByteArray m_err;
};

// A running server is not replaced, a stale socket is; commands then print the reply line and exit by
// how it ended.
TEST_F(RequestServerTest, AStaleSocketIsReplacedAndCommandsPrintTheReplyLine) {
    EXPECT_FALSE(RequestServer().Start(m_socketPath));
    m_server.Stop();
    ASSERT_TRUE(WriteTestFile(m_socketPath.toStdString(), ""));
    EXPECT_TRUE(m_server.Start(m_socketPath));
    UseSimulator();
    EXPECT_EQ(Send({"--status"}), "0 0\n") << "no reply has ended in OK yet";
    EXPECT_EQ(Send({"HOME", "NOW"}), "0 HOME NOW simOK\n");
    EXPECT_EQ(Send({"--status"}), "0 1\n");
    EXPECT_EQ(Send({"--last"}), "0 HOME NOW simOK\n");
    EXPECT_EQ(Send({"--raw", "A  B\r"}), "0 >A  B simOK\n");

    ResetCore();
    UseController();
    EXPECT_EQ(Send({"1", "2", "+"}), "0 1 2 + OK\n");
    // The echo follows the previous prompt on its line.
    EXPECT_EQ(Send({"BAD", "WORD"}), "1 >BAD WORD BAD ?\n");
    EXPECT_TRUE(m_ui.messages.empty()) << "the asking program is told, not a box in Marlix";
}

TEST_F(RequestServerTest, ALinkNotOpenAnAbsentMarlixAndAWaitingMarlixAreReported) {
    commLink().OpenCommunication(); // no port: the link is not open
    EXPECT_EQ(Send({"HOME"}), "2 ");
    EXPECT_EQ(Send({"--status"}, QTemporaryDir().path()), "2 ") << "no Marlix in that runtime folder";

    UseSimulator();
    protocol().ShowWaitBox("Waiting for controller");
    EXPECT_EQ(Send({"--timeout", "0.3", "HOME"}), "3 ");
    EXPECT_EQ(Send({"--timeout", "0.3", "--file", File("f.txt", "HOME")}), "3 ");
    EXPECT_TRUE(protocol().LastReplyLine.empty()) << "nothing was sent during the wait";
    QTimer::singleShot(300, [] { protocol().CloseWaitBox(); });
    EXPECT_EQ(Send({"HOME"}), "0 HOME simOK\n");
    EXPECT_TRUE(m_ui.messages.empty());
}

TEST_F(RequestServerTest, AFileIsDownloadedWithProgressAndEndsAtTheRefusedLine) {
    UseController();
    EXPECT_EQ(Send({"--hide", "--file", File("good.txt", "1 2 +\n3 4 +")}), "0 ");
    EXPECT_EQ(m_controller.Lines(), (std::vector<std::string>{"|", "1 2 +", "3 4 +", "IOFLAG C0SET"}));
    EXPECT_EQ(m_err, "line 1 of 2\nline 2 of 2\n");

    EXPECT_EQ(Send({"--file", File("bad.txt", "1 2 +\nBAD WORD\nNEVER\n")}), "1 2: BAD WORD\n");
    EXPECT_TRUE(m_err.startsWith("line 1 of 4\nline 2 of 4\nmarlix-send: line 2 of ")) << m_err.data();
    EXPECT_TRUE(m_err.contains("was not accepted by the controller: >BAD WORD BAD ?")) << m_err.data();
    EXPECT_TRUE(m_ui.messages.empty() && !protocol().heldBox);
    EXPECT_EQ(Send({"--file", m_runtime.filePath("missing.txt")}).left(2), "4 ");
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
    for (const QString& path : {m_server.path(), QFileInfo(m_server.path()).path()}) {
        struct stat info {};
        ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 077, 0u) << std::oct << info.st_mode;
    }

    const QByteArray status = wire::EncodeFrame(wire::kReplyStatus, {});
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
        {"never reads its answers", status.repeated(150000), false, true},
    };
    // The clients stay connected to the end, so what the server holds for them adds up.
    std::deque<Client> clients;
    for (const auto& abuser : abusers) {
        Client& client = clients.emplace_back(m_server.path(), abuser.bytes, abuser.readsAnswers);
        ASSERT_EQ(client.socket.state(), QLocalSocket::ConnectedState) << abuser.client;
        const bool cut = QTest::qWaitFor([&client] { return client.Closed(); }, abuser.cutOff ? 5000 : 300);
        EXPECT_EQ(cut, abuser.cutOff) << abuser.client;
        EXPECT_LE(m_server.BufferedBytes(), qint64(wire::kMaxPayload) + RequestServer::kMaxUnread)
            << abuser.client;
    }
    // A client that vanishes in the middle of a request leaves nothing behind.
    const int before = m_server.connections();
    {
        Client vanishing(m_server.path(), Header(wire::kCopyData, 100) + "HALF");
        vanishing.socket.flush();
        EXPECT_TRUE(QTest::qWaitFor([this, before] { return m_server.connections() > before; }));
    }
    EXPECT_TRUE(QTest::qWaitFor([this, before] { return m_server.connections() == before; }));

    // Clients that never speak fill every place; a hundred clients then speak at once, each gets its
    // answer: a command sent (or "busy"), then the status of the last reply (or "busy").
    std::deque<Client> silent, speakers;
    for (int i = 0; i < RequestServer::kMaxConnections; ++i)
        silent.emplace_back(m_server.path());
    EXPECT_TRUE(QTest::qWaitFor([this] { return m_server.connections() == RequestServer::kMaxConnections; }));
    for (int i = 0; i < 100; ++i)
        speakers.emplace_back(m_server.path(),
                              wire::EncodeFrame(wire::kCopyData, "HOME " + QByteArray::number(i) + "\r") +
                                  status);
    EXPECT_TRUE(QTest::qWaitFor([&speakers] {
        return std::all_of(speakers.begin(), speakers.end(),
                           [](Client& c) { return c.Answers().count(' ') >= 2; });
    }));
    // Sent or busy, then a reply that ended in OK or one under way.
    for (Client& speaker : speakers)
        EXPECT_TRUE(QRegularExpression("^D[12] S[12] $").match(speaker.Answers()).hasMatch())
            << speaker.answers.data();
    EXPECT_LE(m_server.connections(), RequestServer::kMaxConnections);
}

} // namespace
