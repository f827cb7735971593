#include "core/app/RequestServer.h"
#include "core/app/CoreWiring.h"
#include "core/app/EventLoopUi.h"
#include "core/app/RequestWire.h"
#include "core/app/ScriptedDownload.h"
#include "core/base/Screen.h"
#include "core/link/CommLink.h"
#include "core/link/Transport.h"
#include "core/protocol/Protocol.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// A controller on the other end of a fake port: answers each line a little later with its echo and
// " OK", or " err" for lines containing "BAD", then CR LF and the prompt; between "|" and
// "IOFLAG C0SET" with the prompt alone.
class SlowController : public Transport {
public:
    bool OpenComm(int, unsigned, const std::string&) override { return true; }
    void CloseComm() override {}
    int CommRead(char*, int) override { return 0; }
    bool CommWrite(const char* data, int length) override {
        for (int i = 0; i < length; ++i) {
            if (data[i] != '\r') {
                m_line += data[i];
                continue;
            }
            lines.push_back(m_line);
            m_promptOnly = (m_promptOnly || m_line == "|") && m_line != "IOFLAG C0SET";
            const std::string answer =
                m_promptOnly ? std::string(">")
                             : m_line + (m_line.find("BAD") != std::string::npos ? " err" : " OK") + "\r\n>";
            m_line.clear();
            QTimer::singleShot(60, [answer] { protocol().ReceiveBytes(answer.data(), int(answer.size())); });
        }
        return true;
    }
    bool IsConnected() const override { return true; }

    std::vector<std::string> lines; // the command lines received, without their CR

private:
    std::string m_line;
    bool m_promptOnly = false;
};

struct Outcome {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

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
        ASSERT_TRUE(m_runtime.isValid());
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
    void UseSlowController() {
        commLink().SetTransport(&m_controller);
        commLink().EnsureDocument();
        protocol().ReplyState = reply::kIdle;
    }

    // Runs the real marlix-send with this test's runtime folder, serving requests meanwhile.
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
        Outcome outcome;
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(2000);
            ADD_FAILURE() << "marlix-send did not finish";
            return outcome;
        }
        outcome.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        outcome.out = process.readAllStandardOutput();
        outcome.err = process.readAllStandardError();
        return outcome;
    }

    QString WriteFile(const QString& name, const QByteArray& text) {
        QFile file(QDir(m_runtime.path()).filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return file.fileName();
    }

    QTemporaryDir m_runtime;
    EventLoopUi m_ui;
    RequestServer m_server;
    SlowController m_controller;
    QString m_socketPath;
};

TEST_F(RequestServerTest, CommandThroughTheSimulatorPrintsItsReplyLineAndRawSendsBytesAsGiven) {
    UseSimulator();
    const Outcome sent = RunSend({"HOME", "NOW"});
    EXPECT_EQ(sent.exitCode, 0);
    EXPECT_EQ(sent.out, "HOME NOW simOK\n");
    EXPECT_EQ(protocol().LastReplyLine, "HOME NOW simOK");
    EXPECT_TRUE(m_ui.messages.empty());

    const Outcome status = RunSend({"--status"});
    EXPECT_EQ(status.exitCode, 0);
    EXPECT_EQ(status.out, "1\n");
    const Outcome last = RunSend({"--last"});
    EXPECT_EQ(last.exitCode, 0);
    EXPECT_EQ(last.out, "HOME NOW simOK\n");

    // --raw sends the bytes as given; the echo follows the previous prompt on its line.
    EXPECT_EQ(RunSend({"--raw", "A  B\r"}).exitCode, 0);
    EXPECT_EQ(protocol().LastReplyLine, ">A  B simOK");
}

TEST_F(RequestServerTest, SlowReplyIsAwaitedAndAnErrorExitsOne) {
    UseSlowController();
    const Outcome good = RunSend({"WHERE"});
    EXPECT_EQ(good.exitCode, 0);
    EXPECT_EQ(good.out, "WHERE OK\n");

    const Outcome bad = RunSend({"BAD", "WORD"});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_EQ(bad.out, ">BAD WORD err\n") << "the echo follows the previous prompt on its line";
    EXPECT_EQ(protocol().ReplyStatus(), 0);
}

TEST_F(RequestServerTest, ReplyThatNeverEndsTimesOut) {
    UseSimulator();
    // The simulated controller answers "~" with " err" and no prompt: the reply never completes.
    const Outcome sent = RunSend({"--timeout", "0.5", "X~"});
    EXPECT_EQ(sent.exitCode, 3);
    EXPECT_EQ(protocol().ReplyStatus(), 2);
}

TEST_F(RequestServerTest, LinkNotOpenOrMarlixAbsentExitsTwo) {
    commLink().Simulate = false;
    commLink().OpenCommunication(); // no port: the link is not open
    ASSERT_EQ(protocol().ReplyState, reply::kNotOpen);
    EXPECT_EQ(RunSend({"HOME"}).exitCode, 2);
    EXPECT_TRUE(m_ui.messages.empty()) << "the other program reports it, not a box in Marlix";

    QTemporaryDir empty;
    EXPECT_EQ(RunSend({"HOME"}, empty.path()).exitCode, 2);
    EXPECT_EQ(RunSend({"--status"}, empty.path()).exitCode, 2);
}

TEST_F(RequestServerTest, SendingWaitsWhileMarlixWaitsOnItsOwn) {
    UseSimulator();
    protocol().ShowWaitBox("Waiting for controller");
    EXPECT_EQ(RunSend({"--timeout", "0.3", "HOME"}).exitCode, 3);
    EXPECT_EQ(RunSend({"--timeout", "0.3", "--file", WriteFile("f.txt", "HOME")}).exitCode, 3);
    EXPECT_TRUE(protocol().LastReplyLine.empty()) << "nothing was sent during the wait";

    QTimer::singleShot(300, [] { protocol().CloseWaitBox(); });
    const Outcome sent = RunSend({"HOME"});
    EXPECT_EQ(sent.exitCode, 0);
    EXPECT_EQ(sent.out, "HOME simOK\n");
}

TEST_F(RequestServerTest, FileDownloadShowsProgressAndEndsAtTheRefusedLineWithoutABoxInMarlix) {
    UseSlowController();
    const Outcome hidden = RunSend({"--hide", "--file", WriteFile("good.txt", "ONE\nTWO")});
    EXPECT_EQ(hidden.exitCode, 0);
    EXPECT_EQ(m_controller.lines, (std::vector<std::string>{"|", "ONE\n", "TWO\n", "IOFLAG C0SET"}));
    EXPECT_EQ(hidden.err, "line 1 of 2\nline 2 of 2\n");

    m_controller.lines.clear();
    const Outcome refused = RunSend({"--file", WriteFile("bad.txt", "GOOD\nBAD WORD\nNEVER\n")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.out, "2: BAD WORD\n");
    EXPECT_TRUE(refused.err.startsWith("line 1 of 4\nline 2 of 4\nmarlix-send: line 2 of "));
    EXPECT_TRUE(refused.err.endsWith("was not accepted by the controller:  err\n"))
        << refused.err.constData();
    EXPECT_EQ(m_controller.lines, (std::vector<std::string>{"GOOD\n", "BAD WORD\n"}));
    EXPECT_TRUE(m_ui.messages.empty()) << "the asking program is told instead";
    EXPECT_FALSE(protocol().heldBox);
    EXPECT_EQ(RunSend({"--file", m_runtime.filePath("missing.txt")}).exitCode, 4);
}

TEST_F(RequestServerTest, StaleSocketIsReplacedButARunningServerIsNot) {
    RequestServer second;
    EXPECT_FALSE(second.Start(m_socketPath)) << "the first server still answers";

    m_server.Stop();
    QFile stale(m_socketPath);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    EXPECT_TRUE(m_server.Start(m_socketPath));
    UseSimulator();
    const Outcome status = RunSend({"--status"});
    EXPECT_EQ(status.exitCode, 0);
    EXPECT_EQ(status.out, "0\n") << "no reply has ended in OK yet";
}

TEST(RequestWireTest, FramesSurviveByteByByteArrivalAndOversizeFails) {
    const QByteArray stream =
        wire::EncodeFrame(wire::kCopyData, "HOME\r") + wire::EncodeAnswer(wire::kLastLine, 1, "X simOK");
    wire::FrameReader reader;
    std::vector<wire::Frame> frames;
    for (char c : stream) {
        reader.Append(QByteArray(1, c));
        wire::Frame f;
        while (reader.Next(f))
            frames.push_back(f);
    }
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].kind, wire::kCopyData);
    EXPECT_EQ(frames[0].payload, "HOME\r");
    int result = 0;
    QByteArray data;
    ASSERT_TRUE(wire::DecodeAnswer(frames[1].payload, result, data));
    EXPECT_EQ(result, 1);
    EXPECT_EQ(data, "X simOK");

    wire::FrameReader big;
    big.Append(QByteArray("D\xff\xff\xff\x7f", 5));
    wire::Frame f;
    EXPECT_FALSE(big.Next(f));
    EXPECT_TRUE(big.failed());
}

} // namespace
