#pragma once

// The start shared by the benchmarks that run against the controller emulator.
#include "EmulatorProcess.h"

#include "core/app/CoreWiring.h"
#include "core/base/ProfileStore.h"
#include "core/link/CommLink.h"
#include "core/link/SerialPort.h"

#include <QTemporaryDir>

#include <cstdio>

// Wires the core as the program does, points the link's device at the emulator's pseudo-terminal
// (through a profile in `dir`) and gives the link the serial port. False, with a message, when the
// emulator did not start.
inline bool AttachToEmulator(EmulatorProcess& emulator, const QTemporaryDir& dir, SerialPort& port) {
    if (!emulator.isRunning()) {
        std::fprintf(stderr, "cannot start %s\n", qPrintable(EmulatorProcess::Program()));
        return false;
    }
    UseProfileFile(dir.filePath(QStringLiteral("profile.ini")).toStdString());
    WriteProfileString("Communication", "device", emulator.linkPath().toStdString());
    WireCore();
    commLink().SetTransport(&port);
    return true;
}
