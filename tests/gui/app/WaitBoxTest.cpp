// The wait box: input to the main window is blocked at once, the box shows after a short delay (at
// once with a progress bar), Enter does not close it, Cancel sets CancelFlag, every way out gives the
// input back, and a message during a transfer can still be answered.
#include "core/base/CommandIds.h"
#include "gui/app/Cbarg.h"
#include "gui/app/Cinform.h"
#include "gui/link/Ccomview.h"
#include "support/ShellFixture.h"
#include "support/WindowTest.h"

class WaitBoxTest : public ShellTest {
    Q_OBJECT
private slots:

    void inputIsBlockedAtOnceAndTheBoxAppearsLater() {
        Cinform* box = m_shell.screen->waitBox();
        protocol().ShowWaitBox("Waiting for controller");
        QVERIFY(box->isOpen() && !box->isVisible());
        const std::string before = ShellFixture::LastLine() + "|" + ShellFixture::CurrentLine();
        TypeIntoTerminalAndPressStart();
        QCOMPARE(ShellFixture::LastLine() + "|" + ShellFixture::CurrentLine(), before);
        QTRY_VERIFY(box->isVisible());
        // Only the main window is blocked: a modeless dialog (a Find box) keeps its input.
        QDialog find(m_shell.frame.get());
        auto* field = new QLineEdit(&find);
        find.show();
        QVERIFY(QTest::qWaitForWindowExposed(&find));
        QTest::keyClick(find.windowHandle(), Qt::Key_B);
        QCOMPARE(field->text(), QString("b"));
        QTest::keyClick(box, Qt::Key_Return);
        QVERIFY(box->isOpen());
        QTest::mouseClick(box->cancelButton(), Qt::LeftButton);
        QVERIFY(protocol().CancelFlag && !box->isOpen() && !box->isVisible());
        TypeIntoTerminalAndPressStart(); // both get through again
        QCOMPARE(ShellFixture::LastLine() + "|" + ShellFixture::CurrentLine(), std::string("START simOK|>a"));
    }

    void aProgressBoxShowsAtOnceAndAMessageUnderItCanBeAnswered() {
        Cinform* box = m_shell.screen->waitBox();
        Cbarg* bar = box->progressBar();
        protocol().ShowHeldBox("Loading /tmp/a.ram", WaitBoxStyle::Progress);
        QVERIFY(box->isVisible() && bar->isVisible());
        protocol().ShowProgress(128, 256);
        QCOMPARE(bar->filledWidth(), (bar->width() - 4) / 2);
        protocol().ShowProgress(300, 256);
        QCOMPARE(bar->done(), 256u);
        bool clicked = false;
        WhenModal<QMessageBox>([&clicked](QMessageBox& message) {
            QTest::mouseClick(message.button(QMessageBox::Ok), Qt::LeftButton);
            clicked = true;
        });
        ui().ShowMessage("Block transfer failed");
        QVERIFY(clicked);
        protocol().CloseHeldBox();
        QVERIFY(!box->isVisible());
        protocol().ShowWaitBox("Waiting for controller"); // the next box clears the flag
        QVERIFY(!bar->isVisibleTo(box) && !protocol().CancelFlag);
        protocol().CloseWaitBox();
    }

private:
    void TypeIntoTerminalAndPressStart() {
        QAction* start = m_shell.frame->action(ID_ROBOT_START);
        QTest::mouseClick(m_shell.frame->toolBar()->widgetForAction(start), Qt::LeftButton);
        QTest::keyClick(m_shell.frame->terminal(), Qt::Key_A);
    }
};

MARLIX_WINDOW_TEST(WaitBoxTest)
#include "WaitBoxTest.moc"
