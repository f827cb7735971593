#include "LinkFixture.h"
#include "PtyPeer.h"

#include "core/base/ProfileStore.h"
#include "core/link/CommLink.h"
#include "core/protocol/Protocol.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <cstdio>
#include <fcntl.h>
#include <numeric>
#include <sys/file.h>
#include <unistd.h>

// The serial port over a pseudo-terminal, against a peer that plays the controller: how it reads and
// writes, and how opening fails. The handshake against the emulator is in EmulatorLinkTest.
class SerialLinkTest : public LinkFixture {
protected:
    PtyPeer m_peer;
};

TEST_F(SerialLinkTest, TwoHundredBytesAreReadAsEightyEightyForty) {
    ASSERT_TRUE(OpenLink(m_peer.path()));
    m_port->reads.clear();
    const QByteArray text(200, 'a');
    ASSERT_TRUE(m_peer.Push(text));
    ASSERT_TRUE(
        PumpUntil([this] { return std::accumulate(m_port->reads.begin(), m_port->reads.end(), 0) >= 200; }));
    EXPECT_EQ(m_port->reads, (std::vector<int>{80, 80, 40}));
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

TEST_F(SerialOpenTest, MissingDeviceOrPortNumberIsNotAvailable) {
    const QString missing = m_dir.filePath(QStringLiteral("no-such-device"));
    EXPECT_FALSE(OpenLink(missing));
    EXPECT_EQ(m_ui.messages, std::vector<std::string>{"Port " + missing.toStdString() + " is not available"});
    EXPECT_FALSE(protocol().SendCommand("HOME"));
    EXPECT_EQ(m_ui.messages.back(), "Communication is not open");

    // No machine has a working 19th built-in serial port.
    m_ui.messages.clear();
    WriteProfileInt("Communication", "port", 19);
    EXPECT_FALSE(OpenLink(QString()));
    EXPECT_EQ(m_ui.messages, std::vector<std::string>{"Port 19 is not available"});
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
