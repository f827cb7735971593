#pragma once

#include "EmulatorProcess.h"
#include "core/app/EventLoopUi.h"
#include "core/link/SerialPort.h"

#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>

// The program's core as it runs without windows, on a real serial port, with the controller emulator
// started as its own process on a pseudo-terminal in the test's folder: the handshake, a seam that
// pumps the event loop and a profile of its own. A watchdog cancels any wait that outlasts a few
// seconds, so no test can hang; the tests check that it never had to.
class EmulatorFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Names the device in the profile and opens the link (which synchronises with an empty line).
    bool OpenLink(const QString& device);
    // Cancels the wait in progress after the given time, as the operator's "Cancel" would.
    static void CancelAfter(int milliseconds);
    std::string Path(const char* name) const { return m_dir.filePath(name).toStdString(); }
    // What the emulator received after the given offset of its transcript.
    QByteArray ReceivedSince(qsizetype offset) const { return m_emulator->Transcript().mid(offset); }

    EventLoopUi m_ui;
    QTemporaryDir m_dir;
    SerialPort m_port;
    std::unique_ptr<EmulatorProcess> m_emulator;
    QTimer m_watchdog;
    int m_watchdogFired = 0;
};
