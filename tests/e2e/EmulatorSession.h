#pragma once

#include "EmulatorProcess.h"
#include "LoopScreen.h"

#include "core/link/SerialPort.h"
#include "support/ScriptedRobotUi.h"

#include <QTemporaryDir>

#include <memory>
#include <string>

// The program's core as it runs without windows, on a real serial port to the controller emulator
// started as its own process on a pseudo-terminal in a folder of its own, where the settings profile
// is kept too. Ending the session closes the link and leaves the core as a fresh program has it.
class EmulatorSession {
public:
    explicit EmulatorSession(int cancelAfterMs) : screen(cancelAfterMs) {}
    ~EmulatorSession();
    EmulatorSession(const EmulatorSession&) = delete;
    EmulatorSession& operator=(const EmulatorSession&) = delete;

    // A fresh core on this screen, the emulator started and the link opened to it: what went wrong,
    // or nothing.
    std::string Start();
    // Names the device in the profile and opens the link (which synchronises with an empty line).
    bool OpenLink(const QString& device);
    std::string Path(const char* name) const { return dir.filePath(name).toStdString(); }

    QTemporaryDir dir;
    LoopScreen screen;
    ScriptedRobotUi robot;
    SerialPort port;
    std::unique_ptr<EmulatorProcess> emulator;
};
