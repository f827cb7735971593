#include "core/text/SourceDownload.h"

#include "core/base/TextDocuments.h"
#include "core/base/UiSeam.h"
#include "core/link/CommLink.h"
#include "core/protocol/Protocol.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <vector>

const char* const kSourceFileFilter =
    "All Files (*.*)|*.*|Forth Project Files (*.ed2)|*.ed2|Forth source files (*.)|*.||";

namespace {

// A download of more lines than a screenful shows "line n of N" and a progress bar.
constexpr int kProgressAfterLines = 25;

// The lines of a text as its text window shows them: a line ends at LF, CR LF or a lone CR. A CR
// left inside a line would reach the controller as a line end of its own, and the controller would run
// a line whose reply no one waits for. A text that ends with a line end has one more, empty, line.
std::vector<std::string> SplitLines(const QByteArray& text) {
    std::vector<std::string> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.emplace_back(text.constData() + start, static_cast<size_t>(i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    lines.emplace_back(text.constData() + start, static_cast<size_t>(text.size() - start));
    return lines;
}

// The controller answered a line with something other than its acceptance.
void ReportRefusedLine(const std::string& path, int lineNumber, const std::string& reply) {
    std::string text =
        "Line " + std::to_string(lineNumber) + " of " + path + " was not accepted by the controller";
    if (!reply.empty())
        text += ":\n" + reply;
    ui().ShowMessage(text);
    textDocuments().ShowLine(path, lineNumber);
}

// Sends the lines one at a time until one is refused, the operator cancels or `progress` says stop.
// With `boxText` set, the wait box shows it and the number of the line in progress.
void SendLines(const std::vector<std::string>& lines, const DownloadProgress& progress,
               const std::string& boxText, SourceDownloadResult& result) {
    Protocol& proto = protocol();
    result.lines = static_cast<int>(lines.size());
    for (int i = 0; i < result.lines; ++i) {
        // Stop once the operator cancelled, also when the reply to the line in progress completed in
        // the same turn (its wait then succeeded).
        if (proto.CancelFlag || (progress && !progress(i + 1, result.lines))) {
            result.end = SourceDownloadResult::End::Stopped;
            return;
        }
        if (!boxText.empty()) {
            ui().SetWaitText(boxText + "\nline " + std::to_string(i + 1) + " of " +
                             std::to_string(result.lines));
            proto.ShowProgress(i, result.lines);
        }
        result.line = i + 1;
        result.text = lines[i];
        if (proto.SendCommand(lines[i] + "\n"))
            continue;
        result.reply = proto.LastReplyLine;
        const bool refused = !proto.CancelFlag && proto.ReplyState != reply::kNotOpen;
        result.end = refused ? SourceDownloadResult::End::Refused : SourceDownloadResult::End::Stopped;
        return;
    }
}

} // namespace

bool SaveSourceIfModified(const std::string& path) {
    TextDocuments& documents = textDocuments();
    if (!documents.IsModified(path))
        return true;
    return documents.SaveAs(path, path);
}

SourceDownloadResult SendSourceFile(const std::string& path, bool hide, const DownloadProgress& progress) {
    SourceDownloadResult result;
    if (!SaveSourceIfModified(path)) {
        result.end = SourceDownloadResult::End::Stopped;
        return result;
    }
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        result.end = SourceDownloadResult::End::Unreadable;
        return result;
    }
    const QByteArray text = file.readAll();
    file.close();

    const std::vector<std::string> lines = SplitLines(text);
    const bool showProgress = lines.size() > static_cast<size_t>(kProgressAfterLines);
    const std::string boxText = "Downloading " + path;
    Protocol& proto = protocol();
    if (hide)
        proto.CheckPrompt();
    proto.ShowHeldBox(boxText, showProgress ? WaitBoxStyle::Progress : WaitBoxStyle::Plain);
    SendLines(lines, progress, showProgress ? boxText : std::string(), result);
    if (hide)
        proto.SetIOFlag();
    proto.CloseHeldBox();
    return result;
}

bool DownloadSourceFile(const std::string& path) {
    const SourceDownloadResult result = SendSourceFile(path, commLink().HideMode);
    if (result.end == SourceDownloadResult::End::Unreadable)
        return false;
    if (result.end == SourceDownloadResult::End::Refused)
        ReportRefusedLine(path, result.line, result.reply);
    return true;
}

void DownloadFileWithReport(const std::string& path) {
    if (!DownloadSourceFile(path))
        ui().ShowMessage(path + " could not be opened");
}

void DownloadFileCommand() {
    const std::string path = ui().AskOpenFileName("Download File", kSourceFileFilter, "", "");
    if (!path.empty())
        DownloadFileWithReport(path);
}
