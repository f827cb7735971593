// How fast the run-list moves in framed blocks, against the controller emulator on a pseudo-terminal
// that sends at an emulated 19200 baud: the payload rate of a 64 KB run-list upload as a share of the
// line's rate (10 bit times per byte), and the time of the download of the same image.
#include "BenchSetup.h"

#include "core/app/EventLoopUi.h"
#include "core/base/Screen.h"
#include "core/link/CommLink.h"
#include "core/protocol/BlockTransfer.h"
#include "core/protocol/Protocol.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kBaud = 19200;
constexpr int kRunListBytes = 255 * 256; // a run-list of 64 KB less its last block

double LineBytesPerSecond() {
    return kBaud / 10.0;
}

// Seconds the transfer took, or -1 when it failed.
template <typename Transfer> double Timed(Transfer transfer) {
    protocol().ShowHeldBox("Transfer", WaitBoxStyle::Progress);
    QElapsedTimer clock;
    clock.start();
    const bool ok = transfer();
    const double seconds = clock.nsecsElapsed() / 1e9;
    protocol().CloseHeldBox();
    return ok ? seconds : -1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    EmulatorProcess emulator(dir.path(), {QStringLiteral("--baud"), QString::number(kBaud)});
    SerialPort port;
    if (!AttachToEmulator(emulator, dir, port))
        return 1;
    EventLoopUi ui;
    InstallScreen({&ui});
    commLink().OpenCommunication();
    if (protocol().ReplyState != reply::kIdle) {
        std::fprintf(stderr, "the link to the emulator did not open\n");
        return 1;
    }

    std::vector<unsigned char> image(runlist::kImageSize);
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<unsigned char>(i * 7);
    const double down = Timed([&] { return DownloadRunList(image.data(), kRunListBytes); });
    if (down < 0 || !emulator.Control(QStringLiteral("set NEXT %1").arg(kRunListBytes))) {
        std::fprintf(stderr, "the run-list download failed\n");
        return 1;
    }
    std::vector<unsigned char> back(runlist::kImageSize);
    const double up = Timed([&] { return UploadRunList(back.data(), kRunListBytes); });
    if (up < 0 || !std::equal(image.begin(), image.begin() + kRunListBytes, back.begin())) {
        std::fprintf(stderr, "the run-list upload failed or differs\n");
        return 1;
    }

    const double upRate = kRunListBytes / up;
    std::printf("Run-list of %d bytes in %d blocks, emulator sending at %d baud (%.0f bytes/s):\n",
                kRunListBytes, kRunListBytes / 256, kBaud, LineBytesPerSecond());
    std::printf("  upload:   %7.2f s, %7.1f bytes/s = %5.1f%% of the line's rate (goal: 98%% or more)\n", up,
                upRate, 100.0 * upRate / LineBytesPerSecond());
    std::printf("  download: %7.2f s (the emulator paces only what it sends: one STX per block)\n", down);
    commLink().CloseComm();
    commLink().SetTransport(nullptr);
    InstallScreen({});
    return 0;
}
