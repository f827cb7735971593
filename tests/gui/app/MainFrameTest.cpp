// The main window: commands follow the reply state, the bars, the remembered placement and the
// order of the questions when it closes.
#include "support/ShellTestSupport.h"

#include "core/app/RecentFiles.h"
#include "core/app/WindowPlacement.h"
#include "core/base/CommandIds.h"
#include "gui/link/Ccomview.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QtTest>

class MainFrameTest : public QObject {
    Q_OBJECT
private slots:
    void init() { m_shell.SetUp(); }
    void cleanup() { m_shell.TearDown(); }

    void oneActionPerIdAcrossMenus() {
        // "&Validate" is in the Edit and the Project menu: the same action.
        QCOMPARE(m_shell.frame->action(ID_EDIT_VALIDATE), m_shell.frame->action(ID_PROJECT_VALIDATE));
    }

    void robotCommandsFollowTheReplyState() {
        const int robotIds[] = {ID_ROBOT_JOINT_POSITION, ID_ROBOT_HOME,       ID_ROBOT_START,
                                ID_ROBOT_TEACH,          ID_ROBOT_JOINT_MODE, ID_ROBOT_SMOOTH};
        auto allEnabled = [&](bool enabled) {
            for (int id : robotIds) {
                if (m_shell.frame->action(id)->isEnabled() != enabled)
                    return false;
            }
            return true;
        };
        QTRY_VERIFY(allEnabled(true));
        for (int state : {reply::kCollecting, reply::kNotOpen}) {
            protocol().ReplyState = state;
            ui().KickIdle();
            QTRY_VERIFY(allEnabled(false));
            protocol().ReplyState = reply::kIdle;
            ui().KickIdle();
            QTRY_VERIFY(allEnabled(true));
        }
        QVERIFY(m_shell.frame->action(ID_COMM_CONFIGURE)->isEnabled());
    }

    void typingALineGreysRobotCommandsUntilThePrompt() {
        Ccomview* terminal = m_shell.frame->terminal();
        QVERIFY(terminal);
        QAction* home = m_shell.frame->action(ID_ROBOT_HOME);
        QTRY_VERIFY(home->isEnabled());
        QTest::keyClicks(terminal, "HOME");
        QCOMPARE(protocol().ReplyState, reply::kCollecting);
        QTRY_VERIFY(!home->isEnabled());
        QTest::keyClick(terminal, Qt::Key_Return);
        QCOMPARE(protocol().ReplyState, reply::kIdle);
        QTRY_VERIFY(home->isEnabled());
    }

    void unboundCommandsStayGrey() {
        QVERIFY(!m_shell.frame->macroButton(0)->isEnabled());
        commands().Unbind(ID_ROBOT_HOME);
        m_shell.frame->UpdateCommandStates();
        QVERIFY(!m_shell.frame->action(ID_ROBOT_HOME)->isEnabled());
    }

    void viewItemsToggleTheBarsWithCheckMarks() {
        QAction* macroBar = m_shell.frame->action(ID_VIEW_MACRO_BAR);
        QVERIFY(macroBar->isCheckable());
        QVERIFY(macroBar->isChecked());
        QVERIFY(m_shell.frame->macroBar()->isVisible());
        macroBar->trigger();
        QVERIFY(!m_shell.frame->macroBar()->isVisible());
        QVERIFY(!macroBar->isChecked());
        m_shell.frame->action(ID_VIEW_STATUS_BAR)->trigger();
        QVERIFY(!m_shell.frame->statusBar()->isVisible());
        QVERIFY(!m_shell.frame->action(ID_VIEW_STATUS_BAR)->isChecked());
    }

    void placementRoundTrip() {
        WriteProfileString("Winpos", "MainFrame", "2,1,-1,-1,-1,-1,10,20,810,620");
        QVERIFY(m_shell.frame->RestorePlacement());
        QCOMPARE(m_shell.frame->geometry(), QRect(10, 20, 800, 600));
        m_shell.frame->SavePlacement();
        const auto saved = WindowPlacement::Parse(GetProfileString("Winpos", "MainFrame"));
        QVERIFY(saved.has_value());
        QCOMPARE(saved->showCmd, WindowPlacement::kShowNormal);
        QCOMPARE(QRect(saved->left, saved->top, saved->width(), saved->height()), QRect(10, 20, 800, 600));

        WriteProfileString("Winpos", "MainFrame", "2,1,-1,-1,-1,-1,50,60,450");
        QVERIFY(!m_shell.frame->RestorePlacement());
        QCOMPARE(m_shell.frame->geometry(), QRect(10, 20, 800, 600));
    }

    void closeAsksSettingsProjectMacrosAndSavesPlacementFirst() {
        QString asked;
        AppHooks& hooks = appHooks();
        hooks.MayCloseSettings = [&] {
            asked += "S";
            // The placement is already saved when the first question is asked.
            return !GetProfileString("Winpos", "MainFrame").empty() && asked.size() > 1;
        };
        hooks.MayCloseProject = [&] { return asked += "P", true; };
        hooks.MayCloseMacros = [&] { return asked += "M", true; };
        QVERIFY(!m_shell.frame->close());
        QCOMPARE(asked, QString("S"));
        QVERIFY(m_shell.frame->isVisible());
        QVERIFY(commLink().document());

        QVERIFY(m_shell.frame->close());
        QCOMPARE(asked, QString("SSPM"));
        QVERIFY(m_shell.frame->mdiArea()->subWindowList().isEmpty());
        QVERIFY(!commLink().document());
    }

    void statusPanesShowTheDocumentTitles() {
        appHooks().SettingsTitle = [] { return std::string("arm.cfg"); };
        appHooks().ProjectTitle = [] { return std::string("cell.run"); };
        m_shell.frame->UpdateCommandStates();
        QCOMPARE(m_shell.frame->settingsPane()->text(), QString("arm.cfg"));
        QCOMPARE(m_shell.frame->projectPane()->text(), QString("cell.run"));
    }

    void windowCommandsArrangeTheChildWindows() {
        QMdiArea* area = m_shell.frame->mdiArea();
        auto* other = area->addSubWindow(new QWidget);
        other->show();
        m_shell.frame->UpdateCommandStates();
        QVERIFY(m_shell.frame->action(ID_WINDOW_TILE_HORZ)->isEnabled());
        m_shell.frame->action(ID_WINDOW_TILE_HORZ)->trigger();
        const QList<QMdiSubWindow*> windows = area->subWindowList();
        QCOMPARE(windows.size(), 2);
        QCOMPARE(windows[0]->width(), area->viewport()->width());
        QCOMPARE(windows[1]->y(), windows[0]->height());
        m_shell.frame->action(ID_WINDOW_TILE_VERT)->trigger();
        QCOMPARE(windows[0]->height(), area->viewport()->height());
        QCOMPARE(windows[1]->x(), windows[0]->width());
    }

private:
    ShellFixture m_shell;

    void recentTextFilesStandAboveExitAndOpenAgain() {
        QTemporaryDir dir;
        const QString path = dir.filePath("recent.txt");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("WORDS\r\n");
        file.close();
        QVERIFY(recentFiles().opener);
        QVERIFY(recentFiles().opener(path.toStdString()));
        QCOMPARE(recentFiles().paths().front(), path.toStdString());

        QMenu* fileMenu = m_shell.frame->menuBar()->actions().front()->menu();
        emit fileMenu->aboutToShow();
        const QList<QAction*> items = fileMenu->actions();
        const qsizetype exit = items.indexOf(m_shell.frame->action(ID_APP_EXIT));
        QVERIFY(exit >= 2);
        QVERIFY(items[exit - 1]->isSeparator());
        QCOMPARE(items[exit - 2]->text(), "&1 " + path);
        const int windows = static_cast<int>(m_shell.frame->mdiArea()->subWindowList().size());
        items[exit - 2]->trigger(); // already open: activated, not opened twice
        QCOMPARE(m_shell.frame->mdiArea()->subWindowList().size(), windows);
        recentFiles().Remove(path.toStdString());
    }
};

QTEST_MAIN(MainFrameTest)
#include "MainFrameTest.moc"
