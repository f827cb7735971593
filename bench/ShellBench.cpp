// Prints two figures of the application shell: how long start-up takes until the main window is up
// with the console answering (simulated controller) and the resident memory then, and how many
// bytes of controller text per second the terminal window takes in while it is shown. Received text
// arrives in chunks of at most 80 bytes with the event loop running between them, as from the port.
#include "core/base/ProfileStore.h"
#include "core/link/CommLink.h"
#include "core/protocol/Protocol.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/CRobotApp.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <string>

namespace {

long ResidentKilobytes() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

double TerminalMegabytesPerSecond(std::size_t total) {
    std::string text;
    for (int i = 0; text.size() < 64 * 1024; ++i)
        text += "DECIMAL " + std::to_string(i) + " JMA  1200 -340 560 0 0 0 OK\r\n>";
    constexpr int kChunk = 80;
    QElapsedTimer clock;
    clock.start();
    std::size_t sent = 0;
    while (sent < total) {
        for (std::size_t at = 0; at < text.size() && sent < total; at += kChunk) {
            const int n = static_cast<int>(std::min<std::size_t>(kChunk, text.size() - at));
            commLink().DisplayText(text.data() + at, n);
            sent += static_cast<std::size_t>(n);
            QCoreApplication::processEvents();
        }
    }
    const double seconds = clock.nsecsElapsed() / 1e9;
    return sent / seconds / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    UseProfileFile(dir.filePath("profile.ini").toStdString());
    // A message at start (no word list beside this program, for example) is answered at once.
    QTimer dismiss;
    QObject::connect(&dismiss, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    dismiss.start(20);
    CRobotApp robotApp;
    if (!robotApp.InitInstance())
        return 1;
    const bool synchronised = protocol().SendCommand("");
    const double startMs = clock.nsecsElapsed() / 1e6;
    std::printf("start-up to a simulated console answering: %.1f ms (%s), resident memory %.1f MB\n", startMs,
                synchronised ? "answered" : "no answer", ResidentKilobytes() / 1024.0);

    std::fflush(stdout);
    const double rate = TerminalMegabytesPerSecond(8u << 20);
    std::printf("terminal window taking in controller text: %.2f MB/s\n", rate);
    robotApp.ExitInstance();
    UseProfileFile("");
    return 0;
}
