// The text download, on a file of any bytes, against a controller that refuses one chosen line: the
// controller receives the file's lines as the editor shows them (a line ends at LF, CR LF or CR), in
// order, each once, as its text and LF, up to and including the refused line, and only a refused line
// is reported, with its number.
#include "FuzzSupport.h"
#include "core/app/CoreWiring.h"
#include "core/link/CommLink.h"
#include "core/link/Transport.h"
#include "core/protocol/BlockReceiver.h"
#include "core/protocol/Protocol.h"
#include "core/text/SourceDownload.h"
#include "support/ScriptedUi.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <vector>

using fuzz::Require;

namespace {

// A controller that answers each line the PC sends (up to its CR) with its echo and " OK", or " err" for
// the refused one; the answer arrives at the PC's next wait.
class LineController : public Transport {
public:
    LineController(ScriptedUi& ui, size_t refused) : m_ui(ui), m_refused(refused) {}
    bool OpenComm(int, unsigned, const std::string&) override { return true; }
    void CloseComm() override {}
    bool IsConnected() const override { return true; }
    int CommRead(char* buffer, int maximum) override {
        const size_t count = std::min(m_inbox.size(), static_cast<size_t>(maximum));
        m_inbox.copy(buffer, count);
        m_inbox.erase(0, count);
        return static_cast<int>(count);
    }
    bool CommWrite(const char* data, int length) override {
        m_line.append(data, static_cast<size_t>(length));
        for (size_t cr; (cr = m_line.find('\r')) != std::string::npos; m_line.erase(0, cr + 1)) {
            lines.push_back(m_line.substr(0, cr));
            const std::string answer = lines.back() + (lines.size() == m_refused ? " err\r\n>" : " OK\r\n>");
            m_ui.events.push_back([this, answer] {
                m_inbox += answer;
                DataArrived();
            });
        }
        return true;
    }
    std::vector<std::string> lines;

private:
    ScriptedUi& m_ui;
    size_t m_refused;
    std::string m_line, m_inbox;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // In memory where the system offers it: the file is written anew for every input.
    static QTemporaryDir dir =
        QDir("/dev/shm").exists() ? QTemporaryDir("/dev/shm/marlix-fuzz-XXXXXX") : QTemporaryDir();
    static const QString path = dir.filePath("source.ed2");
    fuzz::Input input(data, size);
    // A refused line beyond the file's last accepts every line; a download never takes more than 32.
    const size_t refused = 1 + input.Byte() % 32;
    std::string text = input.Rest();
    // ENQ and ETX start block exchanges in the fake controller; a source holds neither.
    for (char& c : text)
        c = c == block::kEnq || c == block::kEtx ? ' ' : c;
    // A new file each time: rewriting one in place makes some file systems flush it to disk.
    QFile::remove(path);
    Require(WriteTestFile(path.toStdString(), QByteArray::fromStdString(text)),
            "the source cannot be written");

    ScriptedUi ui;
    LineController controller(ui, refused);
    ResetCore();
    commLink().SetTransport(&controller);
    commLink().EnsureDocument();
    protocol().ReplyState = reply::kIdle;
    Require(DownloadSourceFile(path.toStdString()), "the source was not downloaded");

    // The file's lines, each ended by LF, as the controller should receive them.
    std::vector<std::string> lines;
    for (const QByteArray& line :
         QByteArray::fromStdString(text).replace("\r\n", "\n").replace('\r', '\n').split('\n'))
        lines.push_back(line.toStdString() + '\n');
    const bool refusal = refused <= lines.size();
    const size_t sent = refusal ? refused : lines.size();
    Require(controller.lines == std::vector<std::string>(lines.begin(), lines.begin() + sent),
            "the controller did not receive the file's lines");
    const std::string report = "Line " + std::to_string(refused) + " of ";
    Require(refusal ? !ui.messages.empty() && ui.messages.back().rfind(report, 0) == 0 : ui.messages.empty(),
            "a refused line not reported with its number, or a report without a refusal");
    ResetCore();
    return 0;
}
