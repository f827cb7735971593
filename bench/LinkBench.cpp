// What the serial link costs the PC, against the controller emulator on a pseudo-terminal:
//  - the CPU time of this process for one command round trip through SendCommand, next to a bare Qt
//    event loop that does only the same exchange on the same device;
//  - the CPU time used while a reply is awaited for 5 s from a controller that stays silent.
#include "BenchSetup.h"

#include "core/app/EventLoopUi.h"
#include "core/base/Screen.h"
#include "core/link/CommLink.h"
#include "core/protocol/Protocol.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

namespace {

constexpr int kCommands = 2000;
constexpr int kRounds = 3;
constexpr int kSilentWaitMs = 5000;
const QByteArray kCommand = "HOME";

// CPU time (user and system) this process has used so far, in seconds.
double CpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Marlix: the handshake, the link and the serial port, as the program runs them.
double MarlixSecondsPerCommand() {
    commLink().ReOpen();
    if (protocol().ReplyState != reply::kIdle)
        return -1;
    const double start = CpuSeconds();
    for (int i = 0; i < kCommands; ++i) {
        if (!protocol().SendCommand(kCommand.toStdString()))
            return -1;
    }
    const double used = CpuSeconds() - start;
    commLink().CloseComm();
    return used / kCommands;
}

// The least a Qt program can do for the same exchange: write the line, collect what comes back in
// readyRead until the prompt, write the next line.
class BareExchange : public QObject {
public:
    explicit BareExchange(const QString& device) {
        m_port.setPortName(device);
        connect(&m_port, &QSerialPort::readyRead, this, &BareExchange::OnReadyRead);
    }

    double SecondsPerCommand() {
        if (!m_port.open(QIODevice::ReadWrite) || !m_port.setBaudRate(19200))
            return -1;
        const double start = CpuSeconds();
        m_left = kCommands;
        Send();
        QTimer giveUp;
        giveUp.setSingleShot(true);
        connect(&giveUp, &QTimer::timeout, &m_loop, [this] { m_loop.exit(1); });
        giveUp.start(60000);
        const int failed = m_loop.exec();
        const double used = CpuSeconds() - start;
        m_port.close();
        return failed ? -1 : used / kCommands;
    }

private:
    void Send() {
        m_reply.clear();
        m_port.write(kCommand + '\r');
    }

    void OnReadyRead() {
        m_reply += m_port.readAll();
        if (!m_reply.endsWith("\r\n>"))
            return;
        if (--m_left == 0)
            m_loop.exit(0);
        else
            Send();
    }

    QSerialPort m_port;
    QEventLoop m_loop;
    QByteArray m_reply;
    int m_left = 0;
};

// CPU used while a reply is awaited from a silent controller, as a share of one core.
double SilentWaitCoreShare(EmulatorProcess& emulator) {
    commLink().ReOpen();
    if (protocol().ReplyState != reply::kIdle || !emulator.Control(QStringLiteral("silent on")))
        return -1;
    QTimer::singleShot(kSilentWaitMs, [] { protocol().WaitBoxClosed(); });
    QElapsedTimer wall;
    wall.start();
    const double start = CpuSeconds();
    protocol().SendCommand(kCommand.toStdString());
    const double used = CpuSeconds() - start;
    const double elapsed = wall.elapsed() / 1000.0;
    emulator.Control(QStringLiteral("silent off"));
    commLink().CloseComm();
    return used / elapsed;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    EmulatorProcess emulator(dir.path());
    SerialPort port;
    if (!AttachToEmulator(emulator, dir, port))
        return 1;
    EventLoopUi ui;
    InstallScreen({&ui});

    double marlix = 1e9;
    double bare = 1e9;
    BareExchange exchange(emulator.devicePath());
    for (int round = 0; round < kRounds; ++round) {
        const double m = MarlixSecondsPerCommand();
        const double b = exchange.SecondsPerCommand();
        if (m < 0 || b < 0) {
            std::fprintf(stderr, "the exchange with the emulator failed\n");
            return 1;
        }
        marlix = std::min(marlix, m);
        bare = std::min(bare, b);
    }
    std::printf("Command round trip \"%s\" through a pseudo-terminal, CPU time of this process per command\n"
                "(%d commands, best of %d rounds):\n",
                kCommand.constData(), kCommands, kRounds);
    std::printf("  Marlix (SendCommand over the serial link): %8.1f us\n", marlix * 1e6);
    std::printf("  bare Qt event loop, same exchange:         %8.1f us\n", bare * 1e6);
    std::printf("  ratio:                                     %8.2f  (goal: at most 1.5)\n", marlix / bare);

    const double share = SilentWaitCoreShare(emulator);
    if (share < 0) {
        std::fprintf(stderr, "the silent wait could not be set up\n");
        return 1;
    }
    std::printf("Waiting %d s for a silent controller: %.3f%% of a core (goal: under 1%%)\n",
                kSilentWaitMs / 1000, share * 100.0);
    commLink().SetTransport(nullptr);
    InstallScreen({});
    return 0;
}
