#pragma once

#include "EmulatorProcess.h"

#include "core/app/CoreWiring.h"
#include "core/app/EventLoopUi.h"
#include "core/base/ProfileStore.h"
#include "core/base/Screen.h"
#include "core/link/CommLink.h"
#include "core/link/SerialPort.h"
#include "core/protocol/Protocol.h"
#include "support/ScriptedRobotUi.h"
#include "support/ScriptedUi.h"

#include <QTemporaryDir>
#include <QTimer>

#include <string>

// The screen of the runs against the controller emulator: the event loop pumped as the program does,
// the project's dialogs answered from queues, and an operator who presses "Cancel" on a wait box that
// has shown no progress for a while.
class LoopScreen : public EventLoopUi, public DialogAnswers {
public:
    explicit LoopScreen(int cancelAfterMs) {
        m_cancel.setSingleShot(true);
        m_cancel.setInterval(cancelAfterMs);
        QObject::connect(&m_cancel, &QTimer::timeout, [this] {
            if (!waitBoxOpen)
                return;
            ++cancels;
            protocol().WaitBoxClosed();
        });
    }
    void OpenWaitBox(const std::string& text, WaitBoxStyle style) override {
        EventLoopUi::OpenWaitBox(text, style);
        m_cancel.start();
    }
    void SetProgress(int done, int total) override {
        EventLoopUi::SetProgress(done, total);
        m_cancel.start();
    }
    void KickIdle() override { ++replies; }
    bool AskName(std::string& name, const std::string& title) override { return AnswerName(name, title); }
    bool AskRouteFunction(std::string& word, int& parameter) override {
        return AnswerFunction(word, parameter);
    }
    bool AskContourFunction(int& code, double& a, double& b) override { return AnswerContour(code, a, b); }
    std::string AskSaveFileName(const std::string&, const std::string&, const std::string&,
                                const std::string&) override {
        return savePath;
    }

    int cancels = 0;      // waits cancelled for want of progress
    int replies = 0;      // replies completed (each one kicks the command states)
    std::string savePath; // the save dialog's answer

private:
    QTimer m_cancel;
};

// The program's core as it runs without windows, on a real serial port to the controller emulator
// started as its own process on a pseudo-terminal in a folder of its own, where the settings profile
// is kept too. Ending the session closes the link and leaves the core as a fresh program has it.
class EmulatorSession {
public:
    explicit EmulatorSession(int cancelAfterMs) : screen(cancelAfterMs) {}
    ~EmulatorSession() {
        commLink().CloseComm();
        ResetCore();
        InstallScreen({});
        UseProfileFile(std::string());
    }
    EmulatorSession(const EmulatorSession&) = delete;
    EmulatorSession& operator=(const EmulatorSession&) = delete;

    // A fresh core on this screen and the link opened to the emulator: what went wrong, or nothing.
    std::string Start() {
        ResetCore();
        InstallScreen({&screen, &robot});
        UseProfileFile(Path("profile.ini"));
        commLink().SetTransport(&port);
        if (!emulator.isRunning())
            return "cannot start " + EmulatorProcess::Program().toStdString();
        return OpenLink(emulator.linkPath()) ? std::string() : "the link to the emulator did not open";
    }
    // Names the device in the profile and opens the link (which synchronises with an empty line).
    bool OpenLink(const QString& device) {
        WriteProfileString("Communication", "device", device.toStdString());
        commLink().OpenCommunication();
        return protocol().ReplyState == reply::kIdle;
    }
    std::string Path(const char* name) const { return dir.filePath(name).toStdString(); }

    QTemporaryDir dir;
    LoopScreen screen;
    ScriptedRobotUi robot;
    SerialPort port;
    EmulatorProcess emulator{dir.path()};
};
