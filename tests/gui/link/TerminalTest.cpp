// The terminal window and the communication commands: what typing sends, what the window shows of
// the console text and "Communication Configuration".
#include "core/base/CommandIds.h"
#include "gui/link/CComopt.h"
#include "gui/link/Ccomview.h"
#include "gui/link/CommCommands.h"
#include "support/ScriptedUi.h"
#include "support/ShellFixture.h"
#include "support/WindowTest.h"

class TerminalTest : public ShellTest {
    Q_OBJECT
private slots:

    // A typed line greys the robot commands until the prompt comes back.
    void typedCharactersAreSentAndOnlyTheEchoIsDrawn() {
        Ccomview* view = m_shell.frame->terminal();
        QAction* home = m_shell.frame->action(ID_ROBOT_HOME);
        QTRY_VERIFY(home->isEnabled());
        QTest::keyClicks(view, "CAL");
        QTRY_VERIFY(!home->isEnabled());
        QTest::keyClick(view, Qt::Key_Return);
        QCOMPARE(ShellFixture::LastLine() + ShellFixture::CurrentLine(), std::string("CAL simOK>"));
        QTRY_VERIFY(home->isEnabled());
        const int row = commLink().document()->GetLineCount() - 1 - view->firstShownLine();
        QCOMPARE(view->caretPosition(), QPoint(view->charWidth(), row * view->lineHeight()));
        ScriptedUi scripted; // characters above 127 are not sent: a beep instead
        QKeyEvent accented(QEvent::KeyPress, Qt::Key_Eacute, Qt::NoModifier, QString::fromUtf8("\xc3\xa9"));
        QApplication::sendEvent(view, &accented);
        QCOMPARE(scripted.beeps, 1);
        QCOMPARE(ShellFixture::CurrentLine(), std::string(">"));
    }

    void theNewestLinesThatFitAreShownAndTheWidthFollowsTheWindow() {
        Ccomview* view = m_shell.frame->terminal();
        QMdiSubWindow* window = m_shell.frame->windowKinds().Find(WindowKind::Communication);
        window->showNormal();
        const QSize frameExtra = window->size() - view->size();
        window->resize(QSize(view->charWidth() * 90, view->lineHeight() * 5 + 3) + frameExtra);
        QCOMPARE(view->visibleLines(), 5);
        for (int i = 0; i < 12; ++i)
            commLink().DisplayText("line\r\n", 6);
        QCOMPARE(view->firstShownLine(), commLink().document()->GetLineCount() - 5);
        QCOMPARE(view->caretPosition(), QPoint(0, 4 * view->lineHeight()));
        window->resize(QSize(view->charWidth() * 90 + 2, 200) + frameExtra);
        QCOMPARE(commLink().document()->GetWidth(), 90);
    }

    void configurationIsStoredOnOkAndTheLinkReopens() {
        // The dialog shows what is stored, and "OK" keeps what was not changed.
        WriteProfileInt("Communication", "port", 3);
        WriteProfileInt("Communication", "baudindex", 5);
        commLink().ReOpen();
        WhenModal<CComopt>([](CComopt& dialog) {
            QCOMPARE(dialog.portEdit()->text(), QString("3"));
            dialog.portEdit()->setText("7");
            dialog.deviceList()->setCurrentText("/dev/null");
            dialog.accept();
        });
        ConfigureCommunication(m_shell.frame.get());
        QCOMPARE(GetProfileInt("Communication", "port", -1) * 10 +
                     GetProfileInt("Communication", "baudindex", -1),
                 75);
        QCOMPARE(GetProfileString("Communication", "device"), std::string("/dev/null"));
        QCOMPARE(commLink().document()->title, std::string("Simulated Communication"));
    }
};

MARLIX_WINDOW_TEST(TerminalTest)
#include "TerminalTest.moc"
