// marlix-send: sends a command line to the controller through a running Marlix and reports the reply,
// or has Marlix download a source file line by line. `marlix-send --help` lists the options and the
// exit status.

#include "ExitStatus.h"
#include "FileDownload.h"
#include "RequestClient.h"
#include "SendOptions.h"
#include "core/app/RequestWire.h"

#include <QCoreApplication>
#include <QThread>
#include <cstdio>

namespace {

constexpr int kPollMs = 20;

void Say(const char* text) {
    std::fprintf(stderr, "marlix-send: %s\n", text);
}

void PrintLine(const QByteArray& line) {
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
    std::fputc('\n', stdout);
}

// Sends the text, retrying while Marlix is busy with its own exchange.
int SendText(RequestClient& client, const QByteArray& text) {
    for (;;) {
        int result = 0;
        QByteArray unused;
        if (!client.Ask(wire::kCopyData, text, result, unused))
            return client.Expired() ? kTimedOut : kUnavailable;
        if (result == wire::kSent)
            return kOk;
        if (result == wire::kNotOpen) {
            Say("Communication is not open");
            return kUnavailable;
        }
        if (client.Expired())
            return kTimedOut;
        QThread::msleep(kPollMs);
    }
}

// Asks the reply status until the controller is no longer busy.
int WaitForReply(RequestClient& client, int& status) {
    for (;;) {
        QByteArray unused;
        if (!client.Ask(wire::kReplyStatus, QByteArray(), status, unused))
            return client.Expired() ? kTimedOut : kUnavailable;
        if (status != 2)
            return kOk;
        if (client.Expired())
            return kTimedOut;
        QThread::msleep(kPollMs);
    }
}

int PrintLastLine(RequestClient& client) {
    int result = 0;
    QByteArray line;
    if (!client.Ask(wire::kLastLine, QByteArray(), result, line))
        return client.Expired() ? kTimedOut : kUnavailable;
    PrintLine(line);
    return kOk;
}

int SendCommand(RequestClient& client, const SendOptions& options) {
    QByteArray text = options.text;
    if (!options.raw)
        text.append('\r');
    int status = 0;
    int outcome = SendText(client, text);
    if (outcome == kOk)
        outcome = WaitForReply(client, status);
    if (outcome == kTimedOut)
        Say("no reply from the controller in time");
    if (outcome != kOk)
        return outcome;
    outcome = PrintLastLine(client);
    if (outcome != kOk)
        return outcome;
    return status == 1 ? kOk : kNotOk;
}

int Run(const SendOptions& options) {
    RequestClient client(static_cast<qint64>(options.timeoutSeconds * 1000));
    if (!client.Connect(wire::DefaultSocketPath())) {
        Say("Marlix is not running");
        return kUnavailable;
    }
    switch (options.mode) {
    case SendOptions::Mode::Last:
        return PrintLastLine(client);
    case SendOptions::Mode::Status: {
        int status = 0;
        QByteArray unused;
        if (!client.Ask(wire::kReplyStatus, QByteArray(), status, unused))
            return kUnavailable;
        std::printf("%d\n", status);
        return kOk;
    }
    case SendOptions::Mode::File:
        return DownloadFile(client, options);
    case SendOptions::Mode::Command:
        break;
    }
    return SendCommand(client, options);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(MARLIX_VERSION));
    SendOptions options;
    QByteArray error;
    if (!options.Parse(argc, argv, error)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()), error.constData());
        return kUsage;
    }
    return Run(options);
}
