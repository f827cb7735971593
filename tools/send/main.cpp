// marlix-send: sends a command line to the controller through a running Marlix and reports the reply.
//
//   marlix-send [--timeout SECONDS] WORDS...   send the words joined by spaces and a CR, wait for the
//                                              reply, print the reply line
//   marlix-send --raw [--timeout SECONDS] TEXT send the bytes as given, without a CR, and wait likewise
//   marlix-send --status                       print the reply status (2 busy, 1 "OK", 0 not OK)
//   marlix-send --last                         print the last reply line
//
// Exit status: 0 the reply ended in "OK", 1 it did not, 2 Marlix is not running or its link to the
// controller is not open, 3 no reply within the time-out; 4 the command line was wrong.

#include "RequestClient.h"
#include "core/app/RequestWire.h"

#include <QCoreApplication>
#include <QThread>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

enum Exit { kOk = 0, kNotOk = 1, kUnavailable = 2, kTimedOut = 3, kUsage = 4 };

constexpr int kPollMs = 20;

struct Options {
    bool status = false;
    bool last = false;
    bool raw = false;
    double timeoutSeconds = 10;
    QByteArray text;
    bool haveText = false;
};

void Say(const char* text) {
    std::fprintf(stderr, "marlix-send: %s\n", text);
}

int Usage() {
    std::fprintf(stderr, "usage: marlix-send [--timeout SECONDS] [--raw] WORDS...\n"
                         "       marlix-send --status\n"
                         "       marlix-send --last\n");
    return kUsage;
}

bool ParseTimeout(const char* text, double& seconds) {
    char* end = nullptr;
    seconds = std::strtod(text, &end);
    return end != text && *end == '\0' && seconds >= 0 && seconds <= 86400;
}

// Words are taken as the bytes the shell passed, joined by single spaces.
bool ParseArguments(int argc, char** argv, Options& options) {
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (!optionsEnded && std::strcmp(arg, "--") == 0) {
            optionsEnded = true;
        } else if (!optionsEnded && std::strcmp(arg, "--status") == 0) {
            options.status = true;
        } else if (!optionsEnded && std::strcmp(arg, "--last") == 0) {
            options.last = true;
        } else if (!optionsEnded && std::strcmp(arg, "--raw") == 0) {
            options.raw = true;
        } else if (!optionsEnded && std::strcmp(arg, "--timeout") == 0) {
            if (++i >= argc || !ParseTimeout(argv[i], options.timeoutSeconds))
                return false;
        } else if (!optionsEnded && std::strncmp(arg, "--timeout=", 10) == 0) {
            if (!ParseTimeout(arg + 10, options.timeoutSeconds))
                return false;
        } else if (!optionsEnded && arg[0] == '-' && arg[1] == '-') {
            return false;
        } else {
            if (options.haveText)
                options.text.append(' ');
            options.text.append(arg);
            options.haveText = true;
        }
    }
    const int modes = int(options.status) + int(options.last) + int(options.haveText);
    return modes == 1 && !(options.raw && !options.haveText);
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

int Run(const Options& options) {
    RequestClient client(static_cast<qint64>(options.timeoutSeconds * 1000));
    if (!client.Connect(wire::DefaultSocketPath())) {
        Say("Marlix is not running");
        return kUnavailable;
    }
    if (options.last)
        return PrintLastLine(client);
    int status = 0;
    if (options.status) {
        QByteArray unused;
        if (!client.Ask(wire::kReplyStatus, QByteArray(), status, unused))
            return kUnavailable;
        std::printf("%d\n", status);
        return kOk;
    }
    QByteArray text = options.text;
    if (!options.raw)
        text.append('\r');
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

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseArguments(argc, argv, options))
        return Usage();
    QCoreApplication app(argc, argv);
    return Run(options);
}
