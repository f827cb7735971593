#include "core/text/SourceDownload.h"

#include "core/app/UiSeam.h"
#include "core/link/CommLink.h"
#include "core/project/TextDocuments.h"
#include "core/protocol/Protocol.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <vector>

const char* const kSourceFileFilter =
    "All Files (*.*)|*.*|Forth Project Files (*.ed2)|*.ed2|Forth source files (*.)|*.||";

namespace {

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

// Sends the lines one at a time; stops at a refused line or when the operator cancels. Returns the
// number (from 1) of the refused line, 0 when none was refused.
int SendLines(const std::vector<std::string>& lines) {
    Protocol& proto = protocol();
    for (size_t i = 0; i < lines.size(); ++i) {
        if (proto.SendCommand(lines[i] + "\n"))
            continue;
        const bool refused = !proto.CancelFlag && proto.ReplyState != reply::kNotOpen;
        return refused ? static_cast<int>(i) + 1 : 0;
    }
    return 0;
}

} // namespace

bool SaveSourceIfModified(const std::string& path) {
    TextDocuments& documents = textDocuments();
    if (!documents.IsModified(path))
        return true;
    return documents.SaveAs(path, path);
}

bool DownloadSourceFile(const std::string& path) {
    if (!SaveSourceIfModified(path))
        return true;
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = file.readAll();
    file.close();

    Protocol& proto = protocol();
    const bool hide = commLink().HideMode;
    if (hide)
        proto.CheckPrompt();
    proto.ShowHeldBox("Downloading " + path, 0);
    const int refusedLine = SendLines(SplitLines(text));
    const std::string reply = proto.LastReplyLine;
    if (hide)
        proto.SetIOFlag();
    proto.CloseHeldBox();
    if (refusedLine > 0)
        ReportRefusedLine(path, refusedLine, reply);
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
