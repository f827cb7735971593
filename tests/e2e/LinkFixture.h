#pragma once

#include "core/app/EventLoopUi.h"
#include "core/link/SerialPort.h"

#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

// A serial port that remembers the size of every read the link made.
class CountingPort : public SerialPort {
public:
    int CommRead(char* buffer, int maximum) override {
        const int n = SerialPort::CommRead(buffer, maximum);
        if (n > 0)
            reads.push_back(n);
        return n;
    }
    std::vector<int> reads;
};

// The program's core as it runs without windows: the handshake and the link over a real serial
// port, a seam that pumps the event loop, and a profile of its own. A watchdog cancels any wait
// that outlasts a few seconds, so no test can hang; tests check it never had to.
class LinkFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Names the device in the profile and opens the link (which synchronises with an empty line).
    bool OpenLink(const QString& device);
    // Pumps events until the condition holds or the time is up.
    bool PumpUntil(const std::function<bool()>& condition, int milliseconds = 3000);
    // Cancels the wait in progress after the given time, as the operator's "Cancel" would.
    void CancelAfter(int milliseconds);

    EventLoopUi m_ui;
    QTemporaryDir m_dir;
    std::unique_ptr<CountingPort> m_port;
    QTimer m_watchdog;
    int m_watchdogFired = 0;
};
