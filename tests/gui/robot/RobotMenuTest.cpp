// The Robot menu of the main window with the simulated controller: the commands open the robot
// windows and talk through the link.
#include "support/ShellTestSupport.h"

#include "core/base/CommandIds.h"
#include "core/link/SimulatedController.h"
#include "gui/robot/Cjointed.h"
#include "gui/robot/ManualControlDialogs.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

// Runs `act` on the first dialog of type T that is shown, from the dialog's own event loop. A timer
// started before the command would fire during the command's waits, before the dialog is up.
template <typename T> class WhenShown : public QObject {
public:
    explicit WhenShown(std::function<void(T*)> act) : m_act(std::move(act)) {
        qApp->installEventFilter(this);
    }
    ~WhenShown() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        T* dialog = qobject_cast<T*>(watched);
        if (dialog && event->type() == QEvent::Show && m_act) {
            auto act = std::move(m_act);
            m_act = nullptr;
            QTimer::singleShot(0, dialog, [act, dialog] { act(dialog); });
        }
        return false;
    }

private:
    std::function<void(T*)> m_act;
};

// A console line ends with the reply; the prompt of the line before may stand in front of the echo.
bool EndsWith(const std::string& line, const std::string& reply) {
    return line.size() >= reply.size() && line.compare(line.size() - reply.size(), reply.size(), reply) == 0;
}

class RobotMenuTest : public QObject {
    Q_OBJECT
private slots:
    void init() { m_shell.SetUp(); }
    void cleanup() { m_shell.TearDown(); }

    void cartesianPositionIsShownForReadingOnly() {
        QString title, closeText;
        QStringList units;
        bool okShown = true, readOnly = false;
        WhenShown<Cjointed> probe([&](Cjointed* dialog) {
            title = dialog->windowTitle();
            closeText = dialog->cancelButton()->text();
            okShown = dialog->okButton()->isVisible();
            readOnly = dialog->field(0)->isReadOnly();
            for (int row = 0; row < Cjointed::kRows; ++row)
                if (dialog->unitLabel(row)->isVisible())
                    units << dialog->unitLabel(row)->text();
            dialog->cancelButton()->click();
        });
        m_shell.frame->action(ID_ROBOT_CARTESIAN_POSITION)->trigger();
        QCOMPARE(title, QString("Cartesian Position"));
        QCOMPARE(closeText, QString("Close"));
        QVERIFY(!okShown);
        QVERIFY(readOnly);
        QCOMPARE(units, QStringList({"mm", "mm", "mm", "degrees", "degrees", "degrees"}));
        QVERIFY(EndsWith(m_shell.LastLine(), "DECIMAL CF simOK"));
        QVERIFY(m_shell.guard.closed.isEmpty());
    }

    void gripToggleUnderSimulationSendsUngrip() {
        m_shell.frame->action(ID_ROBOT_GRIP_TOGGLE)->trigger();
        QVERIFY(EndsWith(m_shell.LastLine(), "UNGRIP simOK"));
        m_shell.frame->action(ID_ROBOT_SMOOTH)->trigger();
        QVERIFY(EndsWith(m_shell.LastLine(), "SMOOTH simOK"));
    }

    void teachWindowShowsTheSpeedAndEscapeEndsTheMode() {
        QString title, speed;
        WhenShown<ManualControlDialog> probe([&](ManualControlDialog* dialog) {
            title = dialog->windowTitle();
            speed = dialog->valueField()->text();
            dialog->escapeButton()->click();
        });
        m_shell.frame->action(ID_ROBOT_TEACH)->trigger();
        QCOMPARE(title, QString("Manual Joint Control"));
        // The simulated controller answers every number query with the same number.
        QCOMPARE(speed, QString::number(SimulatedController::kQueryAnswer));
        QVERIFY(m_shell.guard.closed.isEmpty());
        QCOMPARE(protocol().ReplyState, reply::kIdle);
    }

private:
    ShellFixture m_shell;
};

QTEST_MAIN(RobotMenuTest)
#include "RobotMenuTest.moc"
