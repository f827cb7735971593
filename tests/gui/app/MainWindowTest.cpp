// The main window: the questions and the placement at close, the recent files, and start-up and exit.
#include "core/app/RecentFiles.h"
#include "core/base/CommandIds.h"
#include "gui/app/CRobotApp.h"
#include "gui/link/Ccomview.h"
#include "support/ShellFixture.h"
#include "support/TestFiles.h"
#include "support/WindowTest.h"

class MainWindowTest : public ShellTest {
    Q_OBJECT
private slots:

    void closingSavesThePlacementThenAsksSettingsProjectAndMacros() {
        m_shell.frame->setGeometry(10, 20, 800, 600);
        QString asked;
        appHooks().MayCloseSettings = [&] {
            asked += "S";
            return !GetProfileString("Winpos", "MainFrame").empty() && asked.size() > 1;
        };
        appHooks().MayCloseProject = [&] { return asked += "P", true; };
        appHooks().MayCloseMacros = [&] { return asked += "M", true; };
        QVERIFY(!m_shell.frame->close() && commLink().document());
        QVERIFY(m_shell.frame->close() && !commLink().document());
        QCOMPARE(asked, QString("SSPM"));
        QVERIFY(QString::fromStdString(GetProfileString("Winpos", "MainFrame")).endsWith(",10,20,810,620"));
    }

    void recentTextFilesStandAboveExitAndOpenAgain() {
        const std::string path = m_shell.Path("recent.txt");
        QVERIFY(WriteTestFile(path, "WORDS\r\n"));
        QVERIFY(recentFiles().opener(path));
        QMenu* fileMenu = m_shell.frame->menuBar()->actions().front()->menu();
        emit fileMenu->aboutToShow();
        const QList<QAction*> items = fileMenu->actions();
        const qsizetype exit = items.indexOf(m_shell.frame->action(ID_APP_EXIT));
        QVERIFY(exit >= 2 && items[exit - 1]->isSeparator());
        QCOMPARE(items[exit - 2]->text(), "&1 " + QString::fromStdString(path));
        recentFiles().Remove(path);
    }
};

MARLIX_WINDOW_TEST(MainWindowTest)

// Start-up as the program runs it, and its exit.
class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void init() { UseFreshShellState(m_dir); }
    void cleanup() { DropShellState(); }

    void aNewcomerGetsTheSimulatedController() {
        CRobotApp app;
        QVERIFY(app.InitInstance());
        QCOMPARE(app.mainFrame()->terminal()->windowTitle(), QString("Simulated Communication"));
        QTRY_VERIFY(app.mainFrame()->action(ID_ROBOT_HOME)->isEnabled());
        QString order;
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

MARLIX_WINDOW_TEST(StartupTest)
#include "MainWindowTest.moc"
