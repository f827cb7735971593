// A long run of command round trips against the controller emulator with faults thrown in at random
// through its control channel: silence (cancelled as the operator would), error replies, garbage, a
// restarting controller, and the device unplugged and back (then re-opened). Prints the resident
// memory of this process at the start and at the end, and what happened on the way.
//   bench_soak [--count N] [--seed S] [--fault-every M]
// N round trips (100,000 by default); on average one round trip in M (200) meets a fault.
#include "BenchSetup.h"

#include "core/app/EventLoopUi.h"
#include "core/base/Screen.h"
#include "core/link/CommLink.h"
#include "core/protocol/Protocol.h"
#include "core/protocol/RobotExchange.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QTimer>

#include <cstdio>
#include <random>

namespace {

constexpr int kCancelAfterMs = 50;

// The event-loop screen with an operator who cancels a wait that has seen nothing for a while, and
// who does not keep the messages.
class SoakUi : public EventLoopUi {
public:
    SoakUi() {
        m_timer.setSingleShot(true);
        m_timer.setInterval(kCancelAfterMs);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (waitBoxOpen) {
                ++cancels;
                protocol().WaitBoxClosed();
            }
        });
    }
    void OpenWaitBox(const std::string& text, WaitBoxStyle style) override {
        EventLoopUi::OpenWaitBox(text, style);
        m_timer.start();
    }
    void ShowMessage(const std::string&) override { ++shown; }
    long cancels = 0;
    long shown = 0;

private:
    QTimer m_timer;
};

long ResidentKilobytes() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (QByteArray line; !(line = status.readLine()).isEmpty();)
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

enum Fault { kSilence, kError, kGarbage, kReset, kUnplug, kFaults };
const char* const kFaultNames[kFaults] = {"silence", "error", "garbage", "reset", "unplug+replug"};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({"count", "round trips", "N", "100000"});
    parser.addOption({"seed", "random seed", "S", "1"});
    parser.addOption({"fault-every", "one fault in M round trips on average", "M", "200"});
    parser.process(app);
    const long count = parser.value("count").toLong();
    const int faultEvery = std::max(1, parser.value("fault-every").toInt());
    std::mt19937 random(parser.value("seed").toUInt());
    QLoggingCategory::setFilterRules("marlix.*=false");

    QTemporaryDir dir;
    EmulatorProcess emulator(dir.path());
    SerialPort port;
    SoakUi ui;
    InstallScreen({&ui});
    if (!AttachToEmulator(emulator, dir, port))
        return 1;
    commLink().OpenCommunication();
    if (protocol().ReplyState != reply::kIdle) {
        std::fprintf(stderr, "the link did not open\n");
        return 1;
    }
    const long startKb = ResidentKilobytes();
    std::printf("resident memory at the start: %ld kB\n", startKb);
    std::fflush(stdout);

    QElapsedTimer time;
    time.start();
    long accepted = 0, refused = 0, reopened = 0;
    long faults[kFaults] = {};
    const char* const commands[] = {"HOME", "DECIMAL GF", "DECIMAL 10 20 30 40 50 60 JMA", "DECIMAL INCR ?"};
    long warmKb = -1;
    for (long i = 0; i < count; ++i) {
        if (i == std::min(count, 1000L) - 1)
            warmKb = ResidentKilobytes();
        const std::string command = commands[random() % 4];
        const bool fault = random() % faultEvery == 0;
        const Fault kind = static_cast<Fault>(random() % kFaults);
        if (fault) {
            ++faults[kind];
            const QString after = QString("after %1 ").arg(1 + random() % command.size());
            const char* const what[kFaults] = {"silent on", "errors 1", "garbage 200", "reset", "unplug 30"};
            emulator.Control(after + what[kind]);
            if (kind == kReset)
                emulator.Control(after + "send \\r\\nKAVENTRIX READY\\r\\n>");
        }
        if (protocol().SendCommand(command))
            ++accepted;
        else
            ++refused;
        if (!fault)
            continue;
        // Back to a controller that answers: as an operator would after each kind of fault.
        emulator.Control(kind == kSilence ? "silent off" : "errors 0");
        if (protocol().ReplyState == reply::kNotOpen) {
            PumpUntil([&] { return QFileInfo(emulator.linkPath()).exists(); }, 2000);
            commLink().ReOpen();
            ++reopened;
        }
        protocol().SendCommand("");
    }
    const double seconds = time.elapsed() / 1000.0;
    const long endKb = ResidentKilobytes();

    std::printf("%ld round trips in %.1f s: %ld accepted, %ld refused or cancelled (%ld cancels, %ld "
                "messages)\n",
                count, seconds, accepted, refused, ui.cancels, ui.shown);
    std::printf("faults:");
    for (int f = 0; f < kFaults; ++f)
        std::printf(" %s %ld", kFaultNames[f], faults[f]);
    std::printf("; re-opened %ld times\n", reopened);
    std::printf("resident memory after the first 1,000 round trips: %ld kB\n", warmKb);
    std::printf(
        "resident memory at the end: %ld kB (%+ld kB since the start, %+ld kB since the first 1,000)\n",
        endKb, endKb - startKb, endKb - warmKb);
    commLink().CloseComm();
    InstallScreen({});
    return 0;
}
