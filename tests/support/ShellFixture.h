#pragma once

#include "core/app/CoreWiring.h"
#include "core/base/AppHooks.h"
#include "core/base/CommandRegistry.h"
#include "core/base/ProfileStore.h"
#include "core/base/Screen.h"
#include "core/link/CommLink.h"
#include "core/protocol/Protocol.h"
#include "gui/app/BindAllCommands.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/QtUi.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <memory>

// Closes any modal dialog that a test did not expect, so that no test can hang on one.
class ModalGuard : public QObject {
public:
    ModalGuard() {
        m_timer.setInterval(200);
        connect(&m_timer, &QTimer::timeout, this, [] {
            if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->objectName() != "waitBox")
                modal->close();
        });
        m_timer.start();
    }

private:
    QTimer m_timer;
};

// A fresh profile in `dir` and a fresh core.
inline void UseFreshShellState(const QTemporaryDir& dir) {
    UseProfileFile(dir.filePath("profile.ini").toStdString());
    ResetCore();
}

// Drops the core (its command bindings hold a main window that is gone) and the profile.
inline void DropShellState() {
    ResetCore();
    UseProfileFile("");
}

// The main window as the program builds it, on a profile of its own, with the simulated controller
// answering.
struct ShellFixture {
    void SetUp() {
        UseFreshShellState(dir);
        screen = std::make_unique<QtUi>();
        frame = std::make_unique<CMainFrame>();
        screen->Attach(frame.get());
        BindAllCommands(commands(), *frame);
        InstallScreen(ProgramScreen(*screen));
        frame->show();
        commLink().Simulate = true;
        commLink().OpenCommunication();
        frame->UpdateCommandStates();
    }
    void TearDown() {
        InstallScreen({});
        frame.reset();
        screen.reset();
        DropShellState();
    }
    // The last line of the console text and the one before it.
    static std::string CurrentLine() {
        const Ccom1doc& doc = commLink().EnsureDocument();
        return doc.GetLine(doc.GetLineCount() - 1);
    }
    static std::string LastLine() { return commLink().EnsureDocument().GetLastLine(); }
    std::string Path(const char* name) const { return dir.filePath(name).toStdString(); }

    QTemporaryDir dir;
    std::unique_ptr<QtUi> screen;
    std::unique_ptr<CMainFrame> frame;
    ModalGuard guard;
};

// A window test class whose every case runs on a fresh main window.
class ShellTest : public QObject {
    Q_OBJECT
private slots:
    void init() { m_shell.SetUp(); }
    void cleanup() { m_shell.TearDown(); }

protected:
    ShellFixture m_shell;
};
