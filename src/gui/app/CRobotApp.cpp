#include "gui/app/CRobotApp.h"

#include "core/app/CoreWiring.h"
#include "core/app/DemonstrationProfile.h"
#include "core/app/RecentFiles.h"
#include "core/app/RequestServer.h"
#include "core/base/AppHooks.h"
#include "core/base/CommandRegistry.h"
#include "core/base/Screen.h"
#include "core/link/CommLink.h"
#include "core/link/SerialPort.h"
#include "core/protocol/Protocol.h"
#include "gui/app/BindAllCommands.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/QtUi.h"

#include <QCoreApplication>

CRobotApp::CRobotApp() {
    protocol().ReplyState = reply::kNotOpen;
}

CRobotApp::~CRobotApp() {
    InstallScreen({});
    m_frame.reset();
}

void CRobotApp::InstallTransport() {
    commLink().SetTransport(&DefaultSerialPort());
}

void CRobotApp::ShowMainFrame() {
    if (!m_frame->RestorePlacement())
        m_frame->show();
    m_frame->raise();
}

bool CRobotApp::InitInstance() {
    QCoreApplication::setOrganizationName(kCompany);
    QCoreApplication::setApplicationName(kAppName);
    WireCore();
    InstallTransport();
    protocol().ArmReply();
    recentFiles().Load();

    m_ui = std::make_unique<QtUi>();
    m_frame = std::make_unique<CMainFrame>();
    CMainFrame* frame = m_frame.get();
    m_ui->Attach(frame);
    BindAllCommands(commands(), *frame);
    InstallScreen(ProgramScreen(*m_ui));
    ShowMainFrame();

    const AppHooks& hooks = appHooks();
    if (hooks.LoadEditFont)
        hooks.LoadEditFont();
    hooks.RunReopenSteps();
    ApplyDemonstrationProfile();
    commLink().OpenCommunication();
    StartRequestServer();
    if (hooks.LoadWordList)
        hooks.LoadWordList();
    frame->UpdateCommandStates();
    return true;
}

void CRobotApp::ExitInstance() {
    commLink().CloseComm();
    appHooks().RunRememberSteps();
    recentFiles().Save();
}
