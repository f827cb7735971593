// The main window: every command enabled as its rule says, the questions and the placement at close,
// the recent files, and start-up and exit.
#include "core/app/RecentFiles.h"
#include "core/base/CommandIds.h"
#include "core/macros/Cmacdoc.h"
#include "core/project/CPosDat.h"
#include "core/robot/CSettings.h"
#include "gui/app/CRobotApp.h"
#include "gui/link/Ccomview.h"
#include "support/ShellFixture.h"
#include "support/TestFiles.h"
#include "support/WindowTest.h"

#include <QtTest>
#include <QtWidgets>

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() { m_shell.SetUp(); }
    void cleanup() { m_shell.TearDown(); }

    // {command, state, enabled}: each state adds to the one before.
    void commandsAreEnabledAsTheirRulesSay() {
        const auto open = [this] {
            WriteTestFile(m_shell.Path("p.run"),
                          QByteArray("\x10\0\0\0\x04\0\0\0\0\0\0\0\x08\0\0\0\0\0", 18));
            WriteTestFile(m_shell.Path("p.ed1"), "KAVENTRIX\nSTARTOVER\n");
            WriteTestFile(m_shell.Path("p.ed2"), "");
            WriteTestFile(m_shell.Path("m.mac"), QByteArray("\x01\x00\x01M\x01\x00\x01X", 8));
            QVERIFY(projectDocument().OpenFile(m_shell.Path("p.run")));
            QVERIFY(macroDoc().OpenFile(m_shell.Path("m.mac")));
        };
        const auto modify = [] {
            projectDocument().SetModifiedFlag();
            macroDoc().Append("N", "Y");
            settings().SetAxisNames(2, {"X", "Y"});
        };
        const std::vector<int> link = {
            ID_PROJECT_OPEN,          ID_PROJECT_RELOAD,     ID_PROJECT_UPDATE_DATA, ID_PROJECT_DOWNLOAD_TEXT,
            ID_PROJECT_DOWNLOAD_DATA, ID_EDIT_VALIDATE,      ID_SETTINGS_OPEN,       ID_FILE_LOAD_BINARY,
            ID_FILE_SAVE_BINARY,      ID_FILE_DOWNLOAD_FILE, ID_ROBOT_HOME,          ID_ROBOT_TEACH,
            ID_MACRO_BUTTON_FIRST};
        const auto busy = [] { protocol().ReplyState = reply::kCollecting; };
        const auto closed = [] { protocol().ReplyState = reply::kNotOpen; };
        const struct {
            const char* state;
            std::function<void()> enter;
            std::vector<int> enabled, disabled;
        } steps[] = {
            {"nothing open",
             [] {},
             {ID_PROJECT_NEW, ID_PROJECT_OPEN, ID_MACRO_FILE_NEW, ID_MACRO_FILE_OPEN, ID_SETTINGS_NEW,
              ID_SETTINGS_OPEN, ID_SETTINGS_SAVE_AS, ID_FILE_LOAD_BINARY, ID_FILE_SAVE_BINARY,
              ID_FILE_DOWNLOAD_FILE, ID_ROBOT_HOME, ID_ROBOT_TEACH, ID_COMM_CONFIGURE},
             {ID_PROJECT_CLOSE, ID_PROJECT_SAVE, ID_PROJECT_SAVE_AS, ID_PROJECT_RELOAD,
              ID_PROJECT_UPDATE_DATA, ID_PROJECT_DOWNLOAD_TEXT, ID_PROJECT_DOWNLOAD_DATA, ID_EDIT_VALIDATE,
              ID_FILE_OPEN_ED2, ID_MACRO_FILE_CLOSE, ID_MACRO_FILE_SAVE, ID_MACRO_FILE_SAVE_AS, ID_MACRO_EDIT,
              ID_MACRO_BUTTON_FIRST, ID_SETTINGS_SAVE}},
            {"a project and a macro set open",
             open,
             {ID_PROJECT_CLOSE, ID_PROJECT_SAVE_AS, ID_PROJECT_RELOAD, ID_PROJECT_UPDATE_DATA,
              ID_PROJECT_DOWNLOAD_TEXT, ID_PROJECT_DOWNLOAD_DATA, ID_EDIT_VALIDATE, ID_FILE_OPEN_ED2,
              ID_MACRO_FILE_CLOSE, ID_MACRO_FILE_SAVE_AS, ID_MACRO_EDIT, ID_MACRO_BUTTON_FIRST},
             {ID_PROJECT_SAVE, ID_MACRO_FILE_SAVE, ID_SETTINGS_SAVE, ID_MACRO_BUTTON_FIRST + 1}},
            {"everything modified", modify, {ID_PROJECT_SAVE, ID_MACRO_FILE_SAVE, ID_SETTINGS_SAVE}, {}},
            {"the link busy",
             busy,
             {ID_PROJECT_CLOSE, ID_PROJECT_NEW, ID_SETTINGS_NEW, ID_COMM_CONFIGURE},
             link},
            {"the link not open", closed, {ID_PROJECT_CLOSE, ID_MACRO_FILE_OPEN, ID_COMM_REOPEN}, link},
            {"HOME unbound", [] { commands().Unbind(ID_ROBOT_HOME); }, {}, {ID_ROBOT_HOME}},
        };
        for (const auto& step : steps) {
            step.enter();
            m_shell.frame->UpdateCommandStates();
            for (const bool enabled : {true, false})
                for (int id : enabled ? step.enabled : step.disabled)
                    QVERIFY2(m_shell.frame->action(id)->isEnabled() == enabled,
                             (step.state + (" " + std::to_string(id))).c_str());
        }
        // "&Validate" is in two menus: one action.
        QCOMPARE(m_shell.frame->action(ID_EDIT_VALIDATE), m_shell.frame->action(ID_PROJECT_VALIDATE));
    }

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
        QCOMPARE(asked, QString("S"));
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
        const qsizetype windows = m_shell.frame->mdiArea()->subWindowList().size();
        items[exit - 2]->trigger(); // already open: activated, not opened twice
        QCOMPARE(m_shell.frame->mdiArea()->subWindowList().size(), windows);
        recentFiles().Remove(path);
    }

private:
    ShellFixture m_shell;
};

MARLIX_WINDOW_TEST(MainWindowTest)

// Start-up as the program runs it, and its exit.
class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void init() { UseFreshShellState(m_dir); }
    void cleanup() { DropShellState(); }

    void aNewcomerGetsTheSimulatedControllerAndTheRememberedPlacement() {
        WriteProfileString("Winpos", "MainFrame", "0,1,-1,-1,-1,-1,30,40,930,740");
        CRobotApp app;
        QVERIFY(app.InitInstance());
        QCOMPARE(app.mainFrame()->geometry(), QRect(30, 40, 900, 700));
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
