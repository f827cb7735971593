// The wait box: input to the main window is blocked at once, the box shows after a short delay (at
// once with a progress bar), Enter does not close it, Cancel sets CancelFlag, and every way out gives
// the input back.
#include "support/ShellTestSupport.h"

#include "core/base/CommandIds.h"
#include "gui/app/Cbarg.h"
#include "gui/app/Cinform.h"
#include "gui/link/Ccomview.h"

#include <QAction>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QToolBar>
#include <QtTest>

class WaitBoxTest : public QObject {
    Q_OBJECT
private slots:
    void init() { m_shell.SetUp(); }
    void cleanup() { m_shell.TearDown(); }

    void inputIsBlockedAtOnceAndTheBoxAppearsLater() {
        Cinform* box = m_shell.screen->waitBox();
        protocol().ShowWaitBox("Waiting for controller");
        QVERIFY(box->isOpen());
        QVERIFY(!box->isVisible());
        QCOMPARE(box->text(), QString("Waiting for controller"));

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
        QVERIFY(protocol().CancelFlag);
        QVERIFY(!box->isOpen());
        QVERIFY(!box->isVisible());

        // Input reaches the main window again: the Start button and the typed A both get through.
        TypeIntoTerminalAndPressStart();
        QCOMPARE(ShellFixture::LastLine(), std::string("START simOK"));
        QVERIFY2(ShellFixture::CurrentLine() == ">a", ShellFixture::CurrentLine().c_str());
    }

    void cancelEndsAWaitThatGetsNoPrompt() {
        Cinform* box = m_shell.screen->waitBox();
        bool visibleWhenCancelled = false;
        QTimer cancel;
        cancel.setInterval(50);
        connect(&cancel, &QTimer::timeout, this, [&] {
            if (box->isVisible()) {
                visibleWhenCancelled = true;
                QTest::mouseClick(box->cancelButton(), Qt::LeftButton);
            }
        });
        cancel.start();
        // No test may hang: give up on the wait after five seconds.
        QTimer::singleShot(5000, this, [] { protocol().WaitBoxClosed(); });

        // "~" makes the simulated controller answer " err" without a prompt.
        QVERIFY(protocol().SendLine("X~\r"));
        QVERIFY(!protocol().WaitReply());
        QVERIFY(visibleWhenCancelled);
        QVERIFY(protocol().CancelFlag);
        QCOMPARE(protocol().ReplyState, reply::kCollecting);
        QVERIFY(!box->isVisible());
        QVERIFY(ShellFixture::LastLine().find("X~ err") != std::string::npos);

        // The next box clears the flag.
        protocol().ShowWaitBox("Waiting for controller");
        QVERIFY(!protocol().CancelFlag);
        protocol().CloseWaitBox();
    }

    void aQuickReplyNeverShowsTheBox() {
        Cinform* box = m_shell.screen->waitBox();
        bool shown = false;
        box->installEventFilter(this);
        m_shownFlag = &shown;
        QVERIFY(protocol().SendCommand("HOME"));
        QTest::qWait(Cinform::kShowDelayMs * 2);
        QVERIFY(!shown);
        QVERIFY(!box->isOpen());
        m_shownFlag = nullptr;
    }

    void shortcutsWaitForTheBoxToClose() {
        QMdiArea* area = m_shell.frame->mdiArea();
        QMdiSubWindow* other = area->addSubWindow(new QWidget);
        other->show();
        area->setActiveSubWindow(other);
        m_shell.frame->UpdateCommandStates();
        QWidget* focus = other->widget();
        m_shell.frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_shell.frame.get()));
        protocol().ShowWaitBox("Waiting for controller");
        QTest::keyClick(focus, Qt::Key_F6);
        QCOMPARE(area->currentSubWindow(), other);
        protocol().CloseWaitBox();
        QTest::keyClick(focus, Qt::Key_F6);
        QVERIFY(area->currentSubWindow() != other);
    }

    void progressBoxShowsAtOnceAndLimitsDoneToTotal() {
        Cinform* box = m_shell.screen->waitBox();
        protocol().ShowHeldBox("Loading /tmp/a.ram", WaitBoxStyle::Progress);
        QVERIFY(box->isVisible());
        QVERIFY(box->progressBar()->isVisible());
        Cbarg* bar = box->progressBar();
        const int barWidth = bar->width() - 4;
        protocol().ShowProgress(128, 256);
        QCOMPARE(bar->filledWidth(), barWidth / 2);
        protocol().ShowProgress(300, 256);
        QCOMPARE(bar->done(), 256u);
        QCOMPARE(bar->filledWidth(), barWidth);
        // A held box survives the waits inside the transfer.
        protocol().ShowWaitBox("Waiting for controller");
        protocol().CloseWaitBox();
        QVERIFY(box->isVisible());
        protocol().CloseHeldBox();
        QVERIFY(!box->isVisible());
        QVERIFY(protocol().CancelFlag);
        // The plain style hides the bar again.
        protocol().ShowWaitBox("Waiting for controller");
        QVERIFY(!bar->isVisibleTo(box));
        protocol().CloseWaitBox();
    }

    void aMessageDuringATransferCanBeAnswered() {
        protocol().ShowHeldBox("Loading /tmp/a.ram", WaitBoxStyle::Progress);
        bool clicked = false;
        QTimer::singleShot(0, this, [&] {
            auto* message = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!message)
                return;
            QTest::mouseClick(message->button(QMessageBox::Ok), Qt::LeftButton);
            clicked = true;
        });
        ui().ShowMessage("Block transfer failed");
        QVERIFY(clicked);
        QVERIFY(m_shell.guard.closed.isEmpty());
        protocol().CloseHeldBox();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && m_shownFlag)
            *m_shownFlag = true;
        return QObject::eventFilter(watched, event);
    }

private:
    void TypeIntoTerminalAndPressStart() {
        QAction* start = m_shell.frame->action(ID_ROBOT_START);
        QTest::mouseClick(m_shell.frame->toolBar()->widgetForAction(start), Qt::LeftButton);
        QTest::keyClick(m_shell.frame->terminal(), Qt::Key_A);
    }

    ShellFixture m_shell;
    bool* m_shownFlag = nullptr;
};

QTEST_MAIN(WaitBoxTest)
#include "WaitBoxTest.moc"
