#include "app/CRobotApp.h"

#include "app/AppHooks.h"
#include "app/BindAllCommands.h"
#include "app/CMainFrame.h"
#include "app/CommandRegistry.h"
#include "app/DemonstrationProfile.h"
#include "app/QtUi.h"
#include "app/RecentFiles.h"
#include "app/RequestServer.h"
#include "link/CommLink.h"
#include "link/SerialPort.h"
#include "protocol/Protocol.h"

#include <QCoreApplication>

CRobotApp::CRobotApp() {
    protocol().ReplyState = reply::kNotOpen;
}

CRobotApp::~CRobotApp() {
    SetUi(nullptr);
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
    InstallTransport();
    protocol().ArmReply();
    recentFiles().Load();

    m_ui = std::make_unique<QtUi>();
    m_frame = std::make_unique<CMainFrame>();
    CMainFrame* frame = m_frame.get();
    m_ui->Attach(frame);
    SetUi(m_ui.get());
    BindAllCommands(commands(), *frame);
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
