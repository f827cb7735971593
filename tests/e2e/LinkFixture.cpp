#include "LinkFixture.h"

#include "core/app/CoreWiring.h"
#include "core/base/ProfileStore.h"
#include "core/base/Screen.h"
#include "core/link/CommLink.h"
#include "core/protocol/Protocol.h"

#include <QCoreApplication>

namespace {
constexpr int kWatchdogMs = 4000;
} // namespace

void LinkFixture::SetUp() {
    ASSERT_TRUE(m_dir.isValid());
    ResetCore();
    InstallScreen({&m_ui});
    UseProfileFile(m_dir.filePath(QStringLiteral("profile.ini")).toStdString());
    m_port = std::make_unique<CountingPort>();
    commLink().SetTransport(m_port.get());
    m_watchdog.setInterval(kWatchdogMs);
    QObject::connect(&m_watchdog, &QTimer::timeout, [this] {
        ++m_watchdogFired;
        protocol().WaitBoxClosed();
    });
    m_watchdog.start();
}

void LinkFixture::TearDown() {
    m_watchdog.stop();
    commLink().CloseComm();
    ResetCore();
    m_port.reset();
    InstallScreen({});
    UseProfileFile(std::string());
    EXPECT_EQ(m_watchdogFired, 0) << "a wait had to be cancelled by the watchdog";
}

bool LinkFixture::OpenLink(const QString& device) {
    WriteProfileString("Communication", "device", device.toStdString());
    commLink().OpenCommunication();
    return protocol().ReplyState != reply::kNotOpen;
}

bool LinkFixture::PumpUntil(const std::function<bool()>& condition, int milliseconds) {
    // Conditions change only through events; the timer makes sure one comes when the time is up.
    bool timeUp = false;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&timeUp] { timeUp = true; });
    timer.start(milliseconds);
    while (!condition()) {
        if (timeUp)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

void LinkFixture::CancelAfter(int milliseconds) {
    QTimer::singleShot(milliseconds, [] { protocol().WaitBoxClosed(); });
}
