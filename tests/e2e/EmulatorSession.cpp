#include "EmulatorSession.h"

#include "core/app/CoreWiring.h"
#include "core/base/ProfileStore.h"
#include "core/base/Screen.h"
#include "core/link/CommLink.h"

EmulatorSession::~EmulatorSession() {
    commLink().CloseComm();
    ResetCore();
    InstallScreen({});
    UseProfileFile(std::string());
}

std::string EmulatorSession::Start() {
    ResetCore();
    InstallScreen({&screen, &robot});
    UseProfileFile(Path("profile.ini"));
    commLink().SetTransport(&port);
    emulator = std::make_unique<EmulatorProcess>(dir.path());
    if (!emulator->isRunning())
        return "cannot start " + EmulatorProcess::Program().toStdString();
    return OpenLink(emulator->linkPath()) ? std::string() : "the link to the emulator did not open";
}

bool EmulatorSession::OpenLink(const QString& device) {
    WriteProfileString("Communication", "device", device.toStdString());
    commLink().OpenCommunication();
    return protocol().ReplyState == reply::kIdle;
}
