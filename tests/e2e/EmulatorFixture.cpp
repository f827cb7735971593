#include "EmulatorFixture.h"

#include "core/app/CoreWiring.h"
#include "core/base/ProfileStore.h"
#include "core/base/Screen.h"
#include "core/link/CommLink.h"
#include "core/protocol/Protocol.h"

#include <QCoreApplication>

void EmulatorFixture::SetUp() {
    ASSERT_TRUE(m_dir.isValid());
    ResetCore();
    InstallScreen({&m_ui});
    UseProfileFile(Path("profile.ini"));
    commLink().SetTransport(&m_port);
    m_watchdog.setInterval(4000);
    QObject::connect(&m_watchdog, &QTimer::timeout, [this] {
        ++m_watchdogFired;
        protocol().WaitBoxClosed();
    });
    m_watchdog.start();
    m_emulator = std::make_unique<EmulatorProcess>(m_dir.path());
    ASSERT_TRUE(m_emulator->isRunning()) << "cannot start " << EmulatorProcess::Program().toStdString();
    ASSERT_TRUE(OpenLink(m_emulator->linkPath()));
}

void EmulatorFixture::TearDown() {
    m_watchdog.stop();
    commLink().CloseComm();
    ResetCore();
    InstallScreen({});
    UseProfileFile(std::string());
    m_emulator.reset();
    EXPECT_EQ(m_watchdogFired, 0) << "a wait had to be cancelled by the watchdog";
}

bool EmulatorFixture::OpenLink(const QString& device) {
    WriteProfileString("Communication", "device", device.toStdString());
    commLink().OpenCommunication();
    return protocol().ReplyState != reply::kNotOpen;
}

void EmulatorFixture::CancelAfter(int milliseconds) {
    QTimer::singleShot(milliseconds, [] { protocol().WaitBoxClosed(); });
}
