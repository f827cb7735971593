// How fast a source file goes to the controller line by line, against the controller emulator on a
// pseudo-terminal that sends at an emulated 19200 baud. A 2,000-line file is downloaded through the
// same function as "Download &File...", then by a minimal uploader (write a line, read until the
// prompt ">") on the same emulator. Both are set against the line's limit: each line's bytes, its
// echo and the reply at 1,920 bytes a second; and against the emulator's paced output alone (the
// echo and the reply), since the bytes the PC writes cross the pseudo-terminal at once.
#include "BenchSetup.h"

#include "core/app/EventLoopUi.h"
#include "core/base/Screen.h"
#include "core/link/CommLink.h"
#include "core/protocol/Protocol.h"
#include "core/text/SourceDownload.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kBaud = 19200;
constexpr int kLines = 2000;
constexpr int kAnswerMs = 5000;

double LineBytesPerSecond() {
    return kBaud / 10.0;
}

// Source text as a program has it: definitions, words run, comments and arithmetic; the emulator
// accepts every line with its echo and " OK", CR LF, ">".
std::vector<std::string> SourceLines() {
    std::vector<std::string> lines;
    for (int i = 0; lines.size() < kLines; ++i) {
        const std::string n = std::to_string(i);
        lines.push_back(": W" + n + " " + n + " 2 * DROP ;");
        lines.push_back(n + " W" + n + " DROP");
        lines.push_back("( step " + n + " of the cycle )");
        lines.push_back(n + " " + std::to_string(i * 7) + " + DROP");
    }
    lines.resize(kLines);
    return lines;
}

// The lines' own bytes as they are sent: the text, LF and CR.
long SentBytes(const std::vector<std::string>& lines) {
    long bytes = 0;
    for (const std::string& line : lines)
        bytes += static_cast<long>(line.size()) + 2;
    return bytes;
}

// Seconds for the download through the program's own path, or -1 when a line was not accepted.
double MarlixDownload(const QString& path) {
    commLink().ReOpen();
    if (protocol().ReplyState != reply::kIdle)
        return -1;
    QElapsedTimer clock;
    clock.start();
    const SourceDownloadResult result = SendSourceFile(path.toStdString(), false);
    const double seconds = clock.nsecsElapsed() / 1e9;
    commLink().CloseComm();
    return result.end == SourceDownloadResult::End::Accepted && result.lines == kLines ? seconds : -1;
}

// The least an uploader can do: write a line, read until the prompt, write the next. Seconds, or -1;
// `received` counts the bytes that came back (each line's echo and reply).
double MinimalUpload(const QString& device, const std::vector<std::string>& lines, long& received) {
    const int fd = ::open(device.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    if (fd < 0)
        return -1;
    termios raw{};
    ::tcgetattr(fd, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(fd, TCSANOW, &raw);
    received = 0;
    QElapsedTimer clock;
    clock.start();
    bool ok = true;
    for (size_t i = 0; ok && i < lines.size(); ++i) {
        const std::string out = lines[i] + "\n\r";
        ok = ::write(fd, out.data(), out.size()) == static_cast<ssize_t>(out.size());
        for (bool prompt = false; ok && !prompt;) {
            pollfd wait{fd, POLLIN, 0};
            char buffer[256];
            const ssize_t n = ::poll(&wait, 1, kAnswerMs) == 1 ? ::read(fd, buffer, sizeof buffer) : -1;
            ok = n > 0;
            for (ssize_t k = 0; k < n; ++k)
                prompt = prompt || buffer[k] == '>';
            received += ok ? n : 0;
        }
    }
    const double seconds = clock.nsecsElapsed() / 1e9;
    ::close(fd);
    return ok ? seconds : -1;
}

void PrintRate(const char* what, double seconds, double limit, double paced) {
    const double rate = kLines / seconds;
    std::printf(
        "  %-44s %6.2f s  %6.1f lines/s = %5.1f%% of the line's limit, %5.1f%% of the paced answers\n", what,
        seconds, rate, 100.0 * rate / limit, 100.0 * rate / paced);
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

    const std::vector<std::string> lines = SourceLines();
    QFile file(dir.filePath(QStringLiteral("cycle.ed2")));
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    for (size_t i = 0; i < lines.size(); ++i)
        file.write(QByteArray::fromStdString(lines[i] + (i + 1 < lines.size() ? "\n" : "")));
    file.close();

    // Each run starts on a fresh console, so the definitions are new both times.
    const double marlix = emulator.Control(QStringLiteral("reset")) ? MarlixDownload(file.fileName()) : -1;
    long received = 0;
    const double minimal =
        emulator.Control(QStringLiteral("reset")) ? MinimalUpload(emulator.linkPath(), lines, received) : -1;
    if (marlix < 0 || minimal < 0) {
        std::fprintf(stderr, "a download to the emulator failed (Marlix %.2f s, minimal uploader %.2f s)\n",
                     marlix, minimal);
        return 1;
    }

    const long sent = SentBytes(lines);
    const double limit = kLines * LineBytesPerSecond() / static_cast<double>(sent + received);
    const double paced = kLines * LineBytesPerSecond() / static_cast<double>(received);
    std::printf(
        "Source file of %d lines, %ld bytes sent and %ld bytes of echo and replies, emulator sending at "
        "%d baud (%.0f bytes/s):\n",
        kLines, sent, received, kBaud, LineBytesPerSecond());
    std::printf("  the line's limit (each line's bytes, echo and reply):        %6.1f lines/s\n", limit);
    std::printf("  the emulator's paced answers alone (echo and reply):         %6.1f lines/s\n", paced);
    PrintRate("Marlix (the \"Download File...\" path):", marlix, limit, paced);
    PrintRate("minimal uploader (write a line, read to \">\"):", minimal, limit, paced);
    std::printf(
        "  Marlix's rate is %.1f%% of the minimal uploader's (goal: 95%% or more of the line's limit)\n",
        100.0 * minimal / marlix);
    InstallScreen({});
    commLink().SetTransport(nullptr);
    return 0;
}
