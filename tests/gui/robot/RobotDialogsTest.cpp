#include "gui/robot/Cjointed.h"
#include "gui/robot/ManualControlDialogs.h"
#include "gui/robot/ManualValueDialogs.h"
#include "gui/robot/QtRobotUi.h"
#include "support/FixedArm.h"
#include "support/ScriptedUi.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>

namespace {

PositionRecord Values(std::initializer_list<int> values) {
    PositionRecord r;
    int i = 0;
    for (int v : values)
        r.values[i++] = static_cast<std::int16_t>(v);
    return r;
}

} // namespace

class RobotDialogsTest : public QObject {
    Q_OBJECT

private:
    // Types `texts` into the first rows and presses "OK".
    static void TypeAndOk(Cjointed& dialog, std::initializer_list<const char*> texts) {
        int row = 0;
        for (const char* text : texts)
            dialog.field(row++)->setText(text);
        dialog.okButton()->click();
    }

    // A modal dialog that a test failed to end is closed after a while, so no test can hang.
    static void Watchdog() {
        QTimer::singleShot(5000, [] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                dialog->reject();
        });
    }

private slots:
    void jointLayoutShowsTheProfilesJointsAsIntegers() {
        FixedArm arm(5, 6);
        Cjointed dialog;
        dialog.values = Values({100, 0, -50, 0, 25, 77});
        dialog.show();
        const char* names[] = {"Waist", "Shoulder", "Elbow", "Hand", "Wrist", ""};
        for (int row = 0; row < 6; ++row) {
            QCOMPARE(dialog.nameLabel(row)->text(), QString(names[row]));
            QCOMPARE(dialog.field(row)->isVisible(), row < 5);
            QVERIFY(!dialog.unitLabel(row)->isVisible());
        }
        QCOMPARE(dialog.field(2)->text(), QString("-50"));
        QVERIFY(dialog.okButton()->isVisible());
        QVERIFY(!dialog.field(0)->isReadOnly());
    }

    void cartesianLayoutShowsTenthsWithUnits() {
        FixedArm arm(6, 6);
        arm.axisNames = {"East", "North", "Up", "Tilt", "Turn", "Twist"};
        Cjointed dialog;
        dialog.cartesian = true;
        dialog.values = Values({123, -13, 32760, -3600, 0, 5});
        dialog.show();
        const char* texts[] = {"12.3", "-1.3", "3276.0", "-360.0", "0.0", "0.5"};
        const char* units[] = {"mm", "mm", "mm", "degrees", "degrees", "degrees"};
        for (int row = 0; row < 6; ++row) {
            QCOMPARE(dialog.field(row)->text(), QString(texts[row]));
            QCOMPARE(dialog.unitLabel(row)->text(), QString(units[row]));
            QVERIFY(dialog.unitLabel(row)->isVisible());
            QCOMPARE(dialog.nameLabel(row)->text(), QString::fromStdString(arm.axisNames[row]));
        }
    }

    void threeAxesShowThreeRowsInMillimetres() {
        FixedArm arm(6, 3);
        Cjointed dialog;
        dialog.cartesian = true;
        dialog.show();
        for (int row = 0; row < 6; ++row) {
            QCOMPARE(dialog.field(row)->isVisible(), row < 3);
            QCOMPARE(dialog.unitLabel(row)->isVisible(), row < 3);
        }
        QCOMPARE(dialog.nameLabel(3)->text(), QString());
    }

    void cartesianEntriesAreStoredInTenths() {
        ScriptedUi ui;
        FixedArm arm(6, 6);
        Cjointed dialog;
        dialog.cartesian = true;
        dialog.show();
        TypeAndOk(dialog, {"12.34", "-1.25", "3276.0", "0.05", "-0.05", "-360"});
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const std::int16_t expected[] = {123, -13, 32760, 0, -1, -3600};
        for (int row = 0; row < 6; ++row)
            QCOMPARE(dialog.values.values[row], expected[row]);
        QVERIFY(ui.messages.empty());
    }

    void refusedCartesianEntryKeepsTheDialogAndTheFocus() {
        ScriptedUi ui;
        FixedArm arm(6, 6);
        Cjointed dialog;
        dialog.cartesian = true;
        dialog.values = Values({1, 2, 3, 4, 5, 6});
        dialog.show();
        TypeAndOk(dialog, {"0", "3276.1"});
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.focusWidget(), static_cast<QWidget*>(dialog.field(1)));
        QCOMPARE(ui.messages.back(), std::string("Please enter a number between -3276 and 3276."));
        // Nothing is taken from a refused "OK".
        QCOMPARE(dialog.values.values[0], std::int16_t(1));

        TypeAndOk(dialog, {"0", "0", "0", "360.5"});
        QCOMPARE(dialog.focusWidget(), static_cast<QWidget*>(dialog.field(3)));
        QCOMPARE(ui.messages.back(), std::string("Please enter a number between -360 and 360."));
        TypeAndOk(dialog, {"0", "0", "0", "0", "12 mm"});
        QCOMPARE(ui.messages.back(), std::string("Please enter a number."));
        QCOMPARE(dialog.focusWidget(), static_cast<QWidget*>(dialog.field(4)));
        QVERIFY(dialog.isVisible());
    }

    void jointEntriesMustBeSixteenBitIntegers() {
        ScriptedUi ui;
        FixedArm arm(3, 6);
        Cjointed dialog;
        dialog.show();
        TypeAndOk(dialog, {"1", "40000"});
        QCOMPARE(ui.messages.back(), std::string("Please enter an integer between -32768 and 32767."));
        QCOMPARE(dialog.focusWidget(), static_cast<QWidget*>(dialog.field(1)));
        QVERIFY(dialog.isVisible());
        TypeAndOk(dialog, {"-32768", " 7", "32767"});
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.values.values[0], std::int16_t(-32768));
        QCOMPARE(dialog.values.values[1], std::int16_t(7));
    }

    void speedScrollBarStepsAndClamps() {
        Ctchspd dialog(nullptr, 254);
        QScrollBar* bar = dialog.stepper();
        bar->triggerAction(QAbstractSlider::SliderSingleStepSub); // up arrow
        QCOMPARE(dialog.valueField()->text(), QString("255"));
        bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(dialog.valueField()->text(), QString("255"));
        bar->triggerAction(QAbstractSlider::SliderPageStepAdd); // page steps change nothing
        QCOMPARE(dialog.valueField()->text(), QString("255"));
        dialog.valueField()->setText("1");
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(dialog.valueField()->text(), QString("1"));
        dialog.valueField()->setText("900");
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(dialog.valueField()->text(), QString("255"));
        dialog.valueField()->setText("x");
        bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(dialog.valueField()->text(), QString("1"));
    }

    void speedAndIncrementDialogsRefuseValuesOutOfRange() {
        ScriptedUi ui;
        Ctchspd speed(nullptr, 12);
        speed.show();
        speed.valueField()->setText("300");
        speed.accept();
        QVERIFY(speed.isVisible());
        QCOMPARE(ui.messages.back(), std::string("Please enter an integer between 1 and 255."));
        QCOMPARE(speed.speed, 12);
        speed.valueField()->setText("40");
        speed.accept();
        QCOMPARE(speed.result(), int(QDialog::Accepted));
        QCOMPARE(speed.speed, 40);

        CJogSpd increment(nullptr, 2.5f);
        increment.show();
        QCOMPARE(increment.valueField()->text(), QString("2.5"));
        increment.valueField()->setText("25.6");
        increment.accept();
        QVERIFY(increment.isVisible());
        QCOMPARE(ui.messages.back(), std::string("Please enter a number between 0.1 and 25.5."));
        increment.valueField()->setText("0.1");
        increment.accept();
        QCOMPARE(increment.result(), int(QDialog::Accepted));
        QCOMPARE(increment.millimetres, 0.1f);
    }

    void manualWindowsShowTheirSettingAndCloseOnRequest() {
        Cteach teach(nullptr, 42);
        QCOMPARE(teach.valueField()->text(), QString("42"));
        QVERIFY(!(teach.windowFlags() & Qt::WindowCloseButtonHint));
        CJog jog(nullptr, 25);
        QCOMPARE(jog.valueField()->text(), QString("2.5"));

        // A pad signal while the window is up ends it as "Escape"; the default button asks anew.
        QtRobotUi windows;
        Watchdog();
        QTimer::singleShot(0, [&windows] { windows.CloseManualWindow(); });
        QCOMPARE(windows.ShowTeachWindow(5), RobotUi::ManualResult::Escape);
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<ManualControlDialog*>(QApplication::activeModalWidget());
            if (dialog)
                dialog->newValueButton()->click();
        });
        QCOMPARE(windows.ShowJogWindow(5), RobotUi::ManualResult::NewValue);
        // With no window up a close request does nothing.
        windows.CloseManualWindow();
    }

    void positionDialogThroughTheRobotWindows() {
        FixedArm arm(2, 6);
        QtRobotUi windows;
        Watchdog();
        PositionRecord record = Values({3, 4});
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<Cjointed*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            dialog->field(1)->setText("-9");
            dialog->okButton()->click();
        });
        QVERIFY(windows.EditPosition(record, "Edit data", false, true));
        QCOMPARE(record.values[0], std::int16_t(3));
        QCOMPARE(record.values[1], std::int16_t(-9));
    }
};

QTEST_MAIN(RobotDialogsTest)
#include "RobotDialogsTest.moc"
