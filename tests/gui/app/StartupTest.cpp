// Start-up as the program runs it: a newcomer gets the simulated controller, a remembered placement
// is applied, and a device that cannot be opened leaves the link closed with its commands grey.
#include "support/ShellTestSupport.h"

#include "core/base/CommandIds.h"
#include "gui/app/CRobotApp.h"
#include "gui/link/Ccomview.h"

#include <QAction>
#include <QtTest>

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        QVERIFY(m_dir.isValid());
        UseFreshShellState(m_dir);
    }
    void cleanup() { DropShellState(); }

    void newcomerSeesAWorkingConsole() {
        WriteProfileString("Winpos", "MainFrame", "0,1,-1,-1,-1,-1,30,40,930,740");
        CRobotApp app;
        QCOMPARE(protocol().ReplyState, reply::kNotOpen);
        QVERIFY(app.InitInstance());
        CMainFrame* frame = app.mainFrame();
        QVERIFY(frame->isVisible());
        QCOMPARE(frame->geometry(), QRect(30, 40, 900, 700));
        QVERIFY(commLink().Simulate);
        QCOMPARE(protocol().ReplyState, reply::kIdle);
        QVERIFY(frame->terminal());
        QCOMPARE(frame->terminal()->windowTitle(), QString("Simulated Communication"));
        QTRY_VERIFY(frame->action(ID_ROBOT_HOME)->isEnabled());
        QVERIFY(protocol().SendCommand("HOME"));
        app.ExitInstance();
    }

    void deviceThatCannotOpenLeavesTheLinkClosed() {
        WriteProfileString("Communication", "device", m_dir.filePath("no-such-tty").toStdString());
        CRobotApp app;
        QVERIFY(app.InitInstance());
        QVERIFY(!commLink().Simulate);
        QCOMPARE(protocol().ReplyState, reply::kNotOpen);
        QVERIFY(app.mainFrame()->terminal());
        QCOMPARE(app.mainFrame()->terminal()->windowTitle(), QString("Communication"));
        QVERIFY(!app.mainFrame()->action(ID_ROBOT_HOME)->isEnabled());
        QVERIFY(app.mainFrame()->action(ID_COMM_REOPEN)->isEnabled());
        app.ExitInstance();
    }

    void exitRemembersTheFileNames() {
        QString order;
        CRobotApp app;
        QVERIFY(app.InitInstance());
        // The subsystems' own hooks are replaced to see the order alone.
        appHooks().RememberSettingsName = [&] { order += "S"; };
        appHooks().RememberProjectName = [&] { order += "P"; };
        appHooks().RememberMacrosName = [&] { order += "M"; };
        app.ExitInstance();
        QCOMPARE(order, QString("SPM"));
    }

private:
    QTemporaryDir m_dir;
    ModalGuard m_guard;
};

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
