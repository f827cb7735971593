#include "FileDownload.h"

#include "ExitStatus.h"
#include "RequestClient.h"
#include "SendOptions.h"
#include "core/app/RequestWire.h"

#include <QFile>
#include <QThread>
#include <cstdio>
#include <unistd.h>

namespace {

constexpr int kPollMs = 20;

void Say(const QByteArray& text) {
    std::fprintf(stderr, "marlix-send: %s\n", text.constData());
}

// "line n of N": rewritten in place on a terminal, one line each otherwise.
class Progress {
public:
    Progress() : m_terminal(::isatty(STDERR_FILENO) != 0) {}
    ~Progress() {
        if (m_shown && m_terminal)
            std::fputc('\n', stderr);
    }
    void Show(int line, int lines) {
        std::fprintf(stderr, m_terminal ? "\rline %d of %d" : "line %d of %d\n", line, lines);
        std::fflush(stderr);
        m_shown = true;
    }

private:
    bool m_terminal;
    bool m_shown = false;
};

int Report(int result, const wire::LineReport& report, const QString& path) {
    const QByteArray file = QFile::encodeName(path);
    switch (result) {
    case wire::kAccepted:
        return kOk;
    case wire::kRefused:
        std::printf("%d: %s\n", report.line, report.text.constData());
        Say("line " + QByteArray::number(report.line) + " of " + file +
            " was not accepted by the controller" +
            (report.reply.isEmpty() ? QByteArray() : ": " + report.reply));
        return kNotOk;
    case wire::kStopped:
        Say("the download was stopped in Marlix after line " + QByteArray::number(report.line) +
            (report.reply.isEmpty() ? QByteArray() : ": " + report.reply));
        return kNotOk;
    case wire::kUnreadable:
        Say(file + " could not be opened");
        return kUsage;
    case wire::kNotOpen:
        Say(report.reply.isEmpty() ? QByteArray("Communication is not open") : report.reply);
        return kUnavailable;
    default:
        Say("this Marlix does not download files");
        return kUnavailable;
    }
}

} // namespace

int DownloadFile(RequestClient& client, const SendOptions& options) {
    const QByteArray request = (options.hide ? "H" : "-") + QFile::encodeName(options.filePath);
    Progress progress;
    for (;;) {
        if (!client.Send(wire::kDownloadFile, request))
            return kUnavailable;
        wire::Frame frame;
        int result = 0;
        int lines = 0;
        QByteArray data;
        // Each line has the whole time-out for its reply.
        while (client.Receive(frame) && frame.kind == wire::kProgress &&
               wire::DecodeAnswer(frame.payload, result, data) && wire::DecodeNumber(data, lines)) {
            progress.Show(result, lines);
            client.Restart();
        }
        if (frame.kind != wire::kDownloadFile || !wire::DecodeAnswer(frame.payload, result, data)) {
            if (!client.Expired()) {
                Say("Marlix went away");
                return kUnavailable;
            }
            Say("no reply from the controller in time");
            return kTimedOut;
        }
        if (result != wire::kBusy) {
            wire::LineReport report;
            wire::DecodeLineReport(data, report);
            return Report(result, report, options.filePath);
        }
        // Marlix is waiting for the controller on its own account: ask again until the time-out.
        if (client.Expired()) {
            Say("Marlix stayed busy");
            return kTimedOut;
        }
        QThread::msleep(kPollMs);
    }
}
