// The dialogs: every field refuses what lies outside its range with a message naming the range,
// keeping the dialog open with the focus on the field; the robot dialogs' layouts and values.
#include "core/app/CoreWiring.h"
#include "core/project/ProjectModel.h"
#include "gui/link/CComopt.h"
#include "gui/macros/Cmaced.h"
#include "gui/robot/CJname.h"
#include "gui/robot/Cjointed.h"
#include "gui/robot/ManualControlDialogs.h"
#include "gui/robot/ManualValueDialogs.h"
#include "gui/robot/QtRobotUi.h"
#include "gui/text/Cbinblk.h"
#include "gui/windows/CContour.h"
#include "gui/windows/CEname.h"
#include "gui/windows/Carlines.h"
#include "support/FixedArm.h"
#include "support/ScriptedUi.h"
#include "support/WindowTest.h"

#include <functional>
#include <memory>

class DialogsTest : public QObject {
    Q_OBJECT
private slots:
    void init() { ResetCore(); }

    void fieldsRefuseValuesOutsideTheirRange() {
        FixedArm arm(3, 6);
        projectModel().AllocateEntry(5, "PATH");
        using Make = std::function<QDialog*()>;
        const auto jointed = [](bool cartesian) -> Make {
            return [cartesian] {
                auto* d = new Cjointed;
                d->cartesian = cartesian;
                return d;
            };
        };
        const Make names = [] { return new CJname("Cartesian axes", 2, {"X", "Y"}); };
        const Make block = [] { return new Cbinblk(0, 0x4000, 0x6000); };
        const Make contour = [] { return new CContour(2, 0, 0); };
        const char* hex = "Please enter a hexadecimal number not greater than ffff";
        const struct {
            Make make;
            const char* field; // null: the port field
            const char* text;
            const char* message; // empty: accepted
        } rows[] = {
            {jointed(false), "value2", "40000", "Please enter an integer between -32768 and 32767."},
            {jointed(true), "value2", "3276.1", "Please enter a number between -3276 and 3276."},
            {jointed(true), "value4", "360.5", "Please enter a number between -360 and 360."},
            {[] { return new Ctchspd(nullptr, 12); }, "value", "300",
             "Please enter an integer between 1 and 255."},
            {[] { return new CJogSpd(nullptr, 2.5f); }, "value", "25.6",
             "Please enter a number between 0.1 and 25.5."},
            {names, "count", "7", "Please enter an integer between 1 and 6."},
            {names, "name2", "ninechars", "Enter no more than 8 characters."},
            {names, "name2", "eightchr", ""},
            // Names are kept one byte per character, in Latin-1.
            {names, "name2", "\xE8\xBB\xB8", "Enter only Western European (Latin-1) characters."},
            {[] { return new CComopt; }, nullptr, "20", "Please enter an integer between 1 and 19."},
            {block, "bank", "4", "Please enter an integer between 0 and 3."},
            {block, "start", "x", hex},
            {block, "length", "10000", hex},
            {block, "start", " 1f00 ", ""},
            // A longer name read from a file is kept whole until "OK".
            {[] { return new Cmaced(std::string(40, 'L'), "", nullptr); }, "name", "",
             "Enter no more than 32 characters."},
            {[] { return new CEname("", "Name"); }, "name", "PATH", "PATH already exists"},
            {[] { return new CEname("PATH", "Name"); }, "name", "", ""}, // its own name is free
            {[] { return new Carlines("R1", 5, 3, 9); }, "reserve", "10",
             "Please enter an integer between 3 and 9."},
            {[] { return new Carlines("R1", 5, 3, 9); }, "reserve", "9", ""},
            {contour, "paramB", "3276.8", "Please enter a number between -3276.8 and 3276.7."},
            // A code with no function offers no choice until one is made.
            {[] { return new CContour(7, 0, 0); }, "function", "", "Please choose a contour function."},
        };
        for (const auto& r : rows) {
            ScriptedUi ui;
            std::unique_ptr<QDialog> dialog(r.make());
            dialog->show();
            auto* comopt = qobject_cast<CComopt*>(dialog.get());
            if (comopt)
                comopt->deviceList()->setCurrentText("/dev/null");
            QWidget* field = r.field ? dialog->findChild<QWidget*>(r.field) : comopt->portEdit();
            if (*r.text)
                qobject_cast<QLineEdit*>(field)->setText(r.text);
            dialog->accept();
            const bool refused = *r.message;
            QVERIFY2(dialog->isVisible() == refused && (!refused || dialog->focusWidget() == field), r.text);
            QCOMPARE(ui.messages, refused ? std::vector<std::string>{r.message} : std::vector<std::string>{});
        }
    }

    // Through the robot windows: the profile's rows only, Cartesian values in tenths of a millimetre,
    // joints as integers.
    void thePositionDialogShowsTheProfilesRowsAndStoresTenths() {
        ScriptedUi ui;
        QtRobotUi windows;
        FixedArm arm(2, 3);
        arm.axisNames = {"East", "North", "Up"};
        PositionRecord record{{123, -13}};
        QString shown;
        for (const auto& [cartesian, typed] : {std::pair{true, "-0.05"}, {false, "-9"}}) {
            WhenModal<Cjointed>([&shown, typed = typed](Cjointed& d) {
                for (int row = 0; row < Cjointed::kRows; ++row)
                    if (d.field(row)->isVisible())
                        shown += d.nameLabel(row)->text() + " " + d.field(row)->text() +
                                 (d.unitLabel(row)->isVisible() ? d.unitLabel(row)->text() : "") + ",";
                d.field(1)->setText(typed);
                d.okButton()->click();
            });
            QVERIFY(windows.EditPosition(record, "Edit data", cartesian, true));
        }
        QCOMPARE(shown, QString("East 12.3mm,North -1.3mm,Up 0.0mm,Waist 123,Shoulder -1,"));
        QCOMPARE(record.values[1], std::int16_t(-9));
    }

    void theSpeedStepperClampsAndTheManualWindowsEndOnRequest() {
        Ctchspd speed(nullptr, 254);
        using A = QAbstractSlider;
        const std::tuple<const char*, A::SliderAction, const char*> steps[] = {
            {"254", A::SliderSingleStepSub, "255"}, {"255", A::SliderSingleStepSub, "255"},
            {"1", A::SliderSingleStepAdd, "1"},     {"900", A::SliderSingleStepAdd, "255"},
            {"x", A::SliderSingleStepSub, "1"},     {"7", A::SliderPageStepAdd, "7"}};
        for (const auto& [text, action, shown] : steps) {
            speed.valueField()->setText(text);
            speed.stepper()->triggerAction(action);
            QCOMPARE(speed.valueField()->text(), QString(shown));
        }
        QCOMPARE(CJog(nullptr, 25).valueField()->text(), QString("2.5"));
        QtRobotUi windows;
        QTimer::singleShot(0, [&windows] { windows.CloseManualWindow(); });
        QCOMPARE(windows.ShowTeachWindow(5), RobotUi::ManualResult::Escape);
        WhenModal<ManualControlDialog>([](ManualControlDialog& d) { d.newValueButton()->click(); });
        QCOMPARE(windows.ShowJogWindow(5), RobotUi::ManualResult::NewValue);
    }
};

MARLIX_WINDOW_TEST(DialogsTest)
#include "DialogsTest.moc"
