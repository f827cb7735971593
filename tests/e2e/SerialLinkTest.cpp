#include "LinkFixture.h"
#include "PtyPeer.h"

#include "app/ProfileStore.h"
#include "link/CommLink.h"
#include "protocol/Protocol.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <cstdio>
#include <fcntl.h>
#include <numeric>
#include <sys/file.h>
#include <unistd.h>

// The link and the handshake over a pseudo-terminal, against a peer that plays the controller.
class SerialLinkTest : public LinkFixture {
protected:
    PtyPeer m_peer;
};

TEST_F(SerialLinkTest, OpeningSynchronisesWithOneCarriageReturn) {
    ASSERT_TRUE(m_peer.isOpen());
    ASSERT_TRUE(OpenLink(m_peer.path()));
    EXPECT_EQ(m_peer.received, QByteArray("\r"));
    EXPECT_EQ(protocol().ReplyState, reply::kIdle);
    EXPECT_TRUE(m_port->IsConnected());
    EXPECT_TRUE(m_ui.messages.empty());
}

TEST_F(SerialLinkTest, CommandsAndQueriesRoundTrip) {
    m_peer.SetAnswer("DECIMAL GF", " 10 20 30 40 50 60 ");
    ASSERT_TRUE(OpenLink(m_peer.path()));

    EXPECT_TRUE(protocol().SendCommand("HOME"));
    // The prompt of the previous reply starts the line.
    EXPECT_EQ(protocol().LastReplyLine, ">HOME OK");

    std::string answer;
    EXPECT_TRUE(protocol().QueryCommand("DECIMAL GF", answer));
    EXPECT_EQ(answer, "10 20 30 40 50 60 ");
    EXPECT_EQ(m_peer.received, QByteArray("\rHOME\rDECIMAL GF\r"));
    EXPECT_TRUE(m_ui.messages.empty());
}

TEST_F(SerialLinkTest, SilentControllerWaitEndsWhenCancelled) {
    ASSERT_TRUE(OpenLink(m_peer.path()));
    m_peer.SetSilent(true);
    CancelAfter(150);
    EXPECT_FALSE(protocol().SendCommand("HOME"));
    EXPECT_EQ(protocol().ReplyState, reply::kCollecting);
    EXPECT_TRUE(m_port->IsConnected());
    EXPECT_TRUE(m_ui.messages.empty());
}

TEST_F(SerialLinkTest, TwoHundredBytesAreReadAsEightyEightyForty) {
    ASSERT_TRUE(OpenLink(m_peer.path()));
    m_port->reads.clear();
    const QByteArray text(200, 'a');
    ASSERT_TRUE(m_peer.Push(text));
    ASSERT_TRUE(
        PumpUntil([this] { return std::accumulate(m_port->reads.begin(), m_port->reads.end(), 0) >= 200; }));
    EXPECT_EQ(m_port->reads, (std::vector<int>{80, 80, 40}));
}

TEST_F(SerialLinkTest, UnplugDuringWaitEndsItAndReopenWorksOnceTheDeviceIsBack) {
    // The device is reached through a link, as an adaptor's stable name or the emulator's would be.
    const QString name = m_dir.filePath(QStringLiteral("controller"));
    ASSERT_TRUE(QFile::link(m_peer.path(), name));
    ASSERT_TRUE(OpenLink(name));
    m_peer.SetSilent(true);
    QTimer::singleShot(150, [this] { m_peer.Drop(); });

    EXPECT_FALSE(protocol().SendCommand("HOME"));
    EXPECT_EQ(protocol().ReplyState, reply::kNotOpen);
    EXPECT_FALSE(m_port->IsConnected());
    const std::vector<std::string> lost{"Port " + name.toStdString() + " is no longer available"};
    EXPECT_EQ(m_ui.messages, lost);
    // Nothing further is reported while the device stays away, and sending is refused.
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(m_ui.messages, lost);
    EXPECT_FALSE(protocol().SendCommand("HOME"));
    EXPECT_EQ(m_ui.messages.back(), "Communication is not open");

    PtyPeer back;
    ASSERT_TRUE(QFile::remove(name));
    ASSERT_TRUE(QFile::link(back.path(), name));
    commLink().ReOpen();
    EXPECT_EQ(protocol().ReplyState, reply::kIdle);
    EXPECT_EQ(back.received, QByteArray("\r"));
    EXPECT_TRUE(protocol().SendCommand("HOME"));
}

namespace {
std::vector<std::string>* g_serialLog = nullptr;
QtMessageHandler g_previousHandler = nullptr;

// Keeps the serial port's trace texts; everything else goes where it went before.
void CaptureSerialLog(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (g_serialLog && context.category && std::string(context.category) == "marlix.serial")
        g_serialLog->push_back(text.toStdString());
    else if (g_previousHandler)
        g_previousHandler(type, context, text);
}
} // namespace

TEST_F(SerialLinkTest, LateWriteReportsSuccessLogsWhatWasSentAndTheRestFollows) {
    ASSERT_TRUE(OpenLink(m_peer.path()));
    // A controller that takes nothing in: the line fills up long before a megabyte has left.
    m_peer.SetSilent(true);
    m_peer.SetReading(false);
    m_peer.received.clear();
    m_port->SetWriteTimeout(200, 0);
    const QByteArray data(1 << 20, 'x');

    std::vector<std::string> log;
    g_serialLog = &log;
    g_previousHandler = qInstallMessageHandler(CaptureSerialLog);
    const bool written = m_port->CommWrite(data.constData(), static_cast<int>(data.size()));
    qInstallMessageHandler(g_previousHandler);
    g_serialLog = nullptr;

    EXPECT_TRUE(written);
    ASSERT_EQ(log.size(), 1u);
    long long sent = -1;
    ASSERT_EQ(std::sscanf(log[0].c_str(), "Probable Write Timeout: Total of %lld bytes sent", &sent), 1);
    EXPECT_GT(sent, 0);
    EXPECT_LT(sent, data.size());

    m_peer.SetReading(true);
    EXPECT_TRUE(PumpUntil([&] { return m_peer.received.size() >= data.size(); }));
    EXPECT_EQ(m_peer.received, data);
}

// Opening failures: the message names the port and the link stays not open.
class SerialOpenTest : public LinkFixture {};

TEST_F(SerialOpenTest, MissingDeviceIsNotAvailable) {
    const QString missing = m_dir.filePath(QStringLiteral("no-such-device"));
    EXPECT_FALSE(OpenLink(missing));
    EXPECT_EQ(m_ui.messages, std::vector<std::string>{"Port " + missing.toStdString() + " is not available"});
    EXPECT_FALSE(protocol().SendCommand("HOME"));
    EXPECT_EQ(m_ui.messages.back(), "Communication is not open");
}

TEST_F(SerialOpenTest, PortNumberWithoutDeviceIsNotAvailable) {
    // No machine has a working 19th built-in serial port.
    WriteProfileInt("Communication", "port", 19);
    EXPECT_FALSE(OpenLink(QString()));
    EXPECT_EQ(m_ui.messages, std::vector<std::string>{"Port 19 is not available"});
    EXPECT_EQ(SerialPort::DeviceForPort(19), QStringLiteral("/dev/ttyS18"));
}

TEST_F(SerialOpenTest, DeviceHeldElsewhereIsInUseEvenUnderAnotherName) {
    PtyPeer peer;
    SerialPort holder;
    ASSERT_TRUE(holder.OpenComm(1, 19200, peer.path().toStdString()));

    const QString alias = m_dir.filePath(QStringLiteral("alias"));
    ASSERT_TRUE(QFile::link(peer.path(), alias));
    EXPECT_FALSE(OpenLink(alias));
    EXPECT_EQ(m_ui.messages,
              std::vector<std::string>{"Port " + alias.toStdString() + " is in use by another application"});
    EXPECT_EQ(protocol().ReplyState, reply::kNotOpen);

    // Once the holder lets go, the port opens.
    holder.CloseComm();
    m_ui.messages.clear();
    EXPECT_TRUE(OpenLink(alias));
    EXPECT_TRUE(m_ui.messages.empty());
}

namespace {
// True once some other open file holds the device's lock.
bool LockedElsewhere(const QString& path) {
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return false;
    const bool locked = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return locked;
}
} // namespace

TEST_F(SerialOpenTest, DeviceHeldByAnotherProgramIsInUse) {
    PtyPeer peer;
    QProcess holder;
    holder.start(QStringLiteral("flock"),
                 {QStringLiteral("-n"), peer.path(), QStringLiteral("sleep"), QStringLiteral("20")});
    if (!holder.waitForStarted(3000))
        GTEST_SKIP() << "flock(1) is not available";
    QDeadlineTimer deadline(3000);
    while (!LockedElsewhere(peer.path()) && !deadline.hasExpired())
        QThread::msleep(5);
    ASSERT_TRUE(LockedElsewhere(peer.path()));

    EXPECT_FALSE(OpenLink(peer.path()));
    EXPECT_EQ(m_ui.messages, std::vector<std::string>{"Port " + peer.path().toStdString() +
                                                      " is in use by another application"});
    holder.kill();
    holder.waitForFinished(3000);
}
