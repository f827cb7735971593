#pragma once

#include <memory>

class CMainFrame;
class QtUi;

// The application: starts the program in its fixed order (settings store, link state, window kinds,
// main window and its placement, remembered files, the link, the word list) and ends it (link closed,
// file names remembered).
class CRobotApp {
public:
    static constexpr const char* kCompany = "Orlanek";
    static constexpr const char* kAppName = "Orlanek Robot System";

    // The link is not open until start-up opens it.
    CRobotApp();
    ~CRobotApp();

    // False when the main window could not be made; the program then ends.
    bool InitInstance();
    void ExitInstance();

    CMainFrame* mainFrame() const { return m_frame.get(); }
    QtUi* screen() const { return m_ui.get(); }

private:
    void InstallTransport();
    void ShowMainFrame();

    std::unique_ptr<QtUi> m_ui;
    std::unique_ptr<CMainFrame> m_frame;
};
