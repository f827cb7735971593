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
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

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

TEST(RequestWire, FramesSurviveByteByByteArrivalAndOversizeOrShortDataFail) {
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
    EXPECT_EQ(frames[0].payload, "HOME\r");
    int result = 0;
    QByteArray data;
    ASSERT_TRUE(wire::DecodeAnswer(frames[1].payload, result, data));
    EXPECT_EQ(result, 1);
    EXPECT_EQ(data, "X simOK");
    wire::LineReport report;
    EXPECT_TRUE(wire::DecodeLineReport(wire::EncodeLineReport({2, "A", "B"}), report));
    EXPECT_EQ(report.reply, "B");
    EXPECT_FALSE(wire::DecodeLineReport(QByteArray("\x01\x00\x00\x00no line feed", 16), report));
    wire::FrameReader big;
    big.Append(QByteArray("D\xff\xff\xff\x7f", 5));
    wire::Frame f;
    EXPECT_FALSE(big.Next(f));
    EXPECT_TRUE(big.failed());
}

} // namespace
