#include "core/app/ScriptedDownload.h"

#include "core/app/RequestServer.h"
#include "core/app/RequestWire.h"
#include "core/base/Screen.h"
#include "core/base/UiSeam.h"
#include "core/protocol/Protocol.h"
#include "core/text/SourceDownload.h"

#include <QFile>

namespace {

// The installed seam with its message boxes taken away: a box would hold the download until someone
// answers it, and the program that asked is told instead. Everything else (the wait box with its
// "Cancel", waiting for events) goes on as usual.
class QuietUi : public UiSeam {
public:
    QuietUi() : m_before(installedScreen()), m_screen(ui()) {
        Screen quiet = m_before;
        quiet.ui = this;
        InstallScreen(quiet);
    }
    ~QuietUi() override { InstallScreen(m_before); }

    void ShowMessage(const std::string& text) override { lastMessage = text; }
    Answer AskYesNo(const std::string& text) override { return m_screen.AskYesNo(text); }
    Answer AskYesNoCancel(const std::string& text) override { return m_screen.AskYesNoCancel(text); }
    void OpenWaitBox(const std::string& text, WaitBoxStyle style) override {
        m_screen.OpenWaitBox(text, style);
    }
    void CloseWaitBox() override { m_screen.CloseWaitBox(); }
    void SetProgress(int done, int total) override { m_screen.SetProgress(done, total); }
    void SetWaitText(const std::string& text) override { m_screen.SetWaitText(text); }
    bool PumpMessages() override { return m_screen.PumpMessages(); }
    bool WaitForEvent() override { return m_screen.WaitForEvent(); }
    void KickIdle() override { m_screen.KickIdle(); }
    void Beep() override { m_screen.Beep(); }
    void OpenCommWindow() override { m_screen.OpenCommWindow(); }
    void OpenRouteEditorWindow() override { m_screen.OpenRouteEditorWindow(); }
    std::string AskOpenFileName(const std::string& title, const std::string& filter, const std::string& ext,
                                const std::string& start) override {
        return m_screen.AskOpenFileName(title, filter, ext, start);
    }
    std::string AskSaveFileName(const std::string& title, const std::string& filter, const std::string& ext,
                                const std::string& start) override {
        return m_screen.AskSaveFileName(title, filter, ext, start);
    }

    std::string lastMessage;

private:
    Screen m_before;
    UiSeam& m_screen;
};

int ResultCode(const SourceDownloadResult& result) {
    switch (result.end) {
    case SourceDownloadResult::End::Accepted:
        return wire::kAccepted;
    case SourceDownloadResult::End::Refused:
        return wire::kRefused;
    case SourceDownloadResult::End::Unreadable:
        return wire::kUnreadable;
    case SourceDownloadResult::End::Stopped:
        break;
    }
    return protocol().ReplyState == reply::kNotOpen ? wire::kNotOpen : wire::kStopped;
}

void DownloadForPeer(const QByteArray& payload, RequestPeer& peer) {
    Protocol& proto = protocol();
    // As for the operator's "Download &File...": only while the link is idle.
    if (proto.waitBoxOpen() || proto.heldBox ||
        (proto.ReplyState != reply::kIdle && proto.ReplyState != reply::kNotOpen)) {
        peer.Send(wire::EncodeAnswer(wire::kDownloadFile, wire::kBusy));
        return;
    }
    if (proto.ReplyState == reply::kNotOpen) {
        peer.Send(wire::EncodeAnswer(wire::kDownloadFile, wire::kNotOpen,
                                     wire::EncodeLineReport({0, {}, "Communication is not open"})));
        return;
    }
    const bool hide = payload.startsWith('H');
    const std::string path = QFile::decodeName(payload.mid(1)).toStdString();

    // A program that goes away cancels its download, as the operator's "Cancel" would.
    bool gone = false;
    peer.onGone = [&gone] {
        gone = true;
        protocol().WaitBoxClosed();
    };
    SourceDownloadResult result;
    std::string message;
    {
        QuietUi quiet;
        result = SendSourceFile(path, hide, [&](int line, int lines) {
            return !gone && peer.Send(wire::EncodeAnswer(wire::kProgress, line, wire::EncodeNumber(lines)));
        });
        message = quiet.lastMessage;
    }
    peer.onGone = nullptr;

    wire::LineReport report{result.line, QByteArray::fromStdString(result.text),
                            QByteArray::fromStdString(result.reply)};
    if (result.end != SourceDownloadResult::End::Refused)
        report.reply = QByteArray::fromStdString(message);
    peer.Send(wire::EncodeAnswer(wire::kDownloadFile, ResultCode(result), wire::EncodeLineReport(report)));
}

} // namespace

void ServeScriptedDownloads() {
    RequestServer::Serve(wire::kDownloadFile, DownloadForPeer);
}
