#include "core/app/CoreWiring.h"
#include "core/project/ProjectModel.h"
#include "gui/app/QtUi.h"
#include "gui/windows/CContour.h"
#include "gui/windows/CEname.h"
#include "gui/windows/Carred.h"
#include "gui/windows/Croutcode.h"
#include "support/ScriptedUi.h"
#include "support/WindowTest.h"

using Messages = std::vector<std::string>;

class RouteDialogsTest : public QObject {
    Q_OBJECT

private:
    static QLineEdit* Field(QWidget& dialog, const char* name) { return dialog.findChild<QLineEdit*>(name); }

private slots:
    void init() {
        ResetCore();
        projectModel().AllocateEntry(3, "PICK");
        projectModel().AllocateEntry(5, "PATH");
    }

    void newRouteChecks() {
        // The field refused and focused, or the reserve, columns, rows and layout taken.
        const struct {
            const char *kind, *name, *columns, *rows, *reserve;
            int highest;
            const char *message, *outcome;
        } cases[] = {
            {"row", "R", "", "", "20", 99, "Please enter an integer.", "columns"},
            {"grid", "R", "4", "256", "20", 99, "Please enter an integer between 2 and 255.", "rows"},
            {"grid", "R", "4", "3", "10", 99, "Please enter an integer between 12 and 99.", "reserve"},
            {"grid", "R", "4", "3", "12", 99, "", "12 4 3 2"},
            {"general", "R", "x", "y", "99", 99, "", "99 0 0 0"},
            {"row", "R", "5", "y", "5", 99, "", "5 5 0 1"},
            {"general", "R", "", "", "0", 99, "Please enter an integer between 1 and 99.", "reserve"},
            {"grid", "R", "10", "10", "50", 50,
             "This route needs 100 lines; no more than 50 can be reserved.", "rows"},
            {"row", "PICK", "", "", "20", 99, "PICK already exists", "name"}};
        for (const auto& c : cases) {
            ScriptedUi ui;
            NewRouteValues initial;
            initial.reserve = 20;
            Carred dialog(initial, 1, c.highest);
            dialog.show();
            const QString kind = c.kind;
            for (const QString& choice : {kind, QString("cartesian"), QString("relative")})
                dialog.findChild<QRadioButton*>(choice)->click();
            for (const char* field : {"columns", "columnsLabel", "rows", "rowsLabel"})
                QCOMPARE(dialog.findChild<QWidget*>(field)->isVisible(),
                         kind == "grid" || (kind == "row" && field[0] == 'c'));
            Field(dialog, "name")->setText(c.name);
            Field(dialog, "columns")->setText(c.columns);
            Field(dialog, "rows")->setText(c.rows);
            Field(dialog, "reserve")->setText(c.reserve);
            dialog.accept();
            QCOMPARE(ui.messages, *c.message ? Messages{c.message} : Messages{});
            const NewRouteValues& v = dialog.values();
            QCOMPARE(
                dialog.isVisible()
                    ? dialog.focusWidget()->objectName()
                    : QString("%1 %2 %3 %4").arg(v.reserve).arg(v.columns).arg(v.rows).arg(int(v.layout)),
                QString(c.outcome));
            QVERIFY(dialog.isVisible() ||
                    (dialog.result() == QDialog::Accepted && v.cartesian && v.relative && v.name == "R"));
        }
    }

    // The route editor's questions through the program's screen: each dialog starts from the values
    // given and hands back what was typed.
    void theScreensDialogsHandBackWhatWasTyped() {
        ScriptedUi ui;
        QtUi screen;
        std::string name = "PICK";
        WhenModal<CEname>([](CEname& dialog) {
            QCOMPARE(Field(dialog, "name")->text(), QString("PICK"));
            Field(dialog, "name")->setText("path"); // names differ by case
            dialog.accept();
        });
        QVERIFY(screen.AskName(name, "Edit name"));
        int code = 2;
        double a = 12.3, b = 0;
        WhenModal<CContour>([](CContour& dialog) {
            auto* function = dialog.findChild<QComboBox*>("function");
            QCOMPARE(function->currentText() + " " + Field(dialog, "paramA")->text(),
                     QString("LIN Line len 12.3"));
            function->setCurrentIndex(0);
            Field(dialog, "paramA")->setText("50");
            Field(dialog, "paramB")->setText("-90.5");
            dialog.accept();
        });
        QVERIFY(screen.AskContourFunction(code, a, b));
        QCOMPARE(QString("%1 %2 %3 %4").arg(name.c_str()).arg(code).arg(a).arg(b),
                 QString("path 0 50 -90.5"));

        std::string word = "MOVE";
        int parameter = 7;
        WhenModal<Croutcode>([](Croutcode& dialog) {
            QCOMPARE(Field(dialog, "word")->text() + " " + Field(dialog, "parameter")->text(),
                     QString("MOVE 7"));
            Field(dialog, "word")->clear();
            QTest::keyClicks(Field(dialog, "word"), "GRIPPERS1");
            Field(dialog, "parameter")->setText("-5");
            dialog.accept();
        });
        QVERIFY(screen.AskRouteFunction(word, parameter));
        QCOMPARE(word + " " + std::to_string(parameter), std::string("GRIPPERS -5"));
    }
};

MARLIX_WINDOW_TEST(RouteDialogsTest)
#include "RouteDialogsTest.moc"
