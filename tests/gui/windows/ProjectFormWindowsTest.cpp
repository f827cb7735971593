// The places and routes windows: their buttons follow the controller and the selection, a press reaches
// the project and the list shows the result, and the main window opens them and keeps them in step.
#include "core/base/CommandIds.h"
#include "core/project/CPosDat.h"
#include "core/project/ProjectEditing.h"
#include "core/project/ProjectModel.h"
#include "gui/windows/CPlcview.h"
#include "gui/windows/Car1.h"
#include "support/EmulatedController.h"
#include "support/FixedArm.h"
#include "support/ScriptedUi.h"
#include "support/ShellFixture.h"
#include "support/TestFiles.h"
#include "support/WindowTest.h"

namespace {

const std::string kArmA = "1 2 3 4 5 6", kArmB = "1 2 3 4 5 9";

// The emulated controller on an idle link, its arm at `kArmA`, in joint mode.
struct Bench {
    Bench() {
        ResetCore();
        commLink().SetTransport(&controller);
        commLink().EnsureDocument();
        protocol().ReplyState = reply::kIdle;
        MoveArm(kArmA);
    }
    ~Bench() { ResetCore(); }
    void MoveArm(const std::string& joints) { controller.Control("set joints " + joints); }
    ScriptedUi ui;
    EmulatedController controller{&ui};
    ScreenScope screen{{&ui}};
};

QPushButton* Button(QWidget* view, const char* text) {
    for (QPushButton* button : view->findChildren<QPushButton*>())
        if (button->text() == text)
            return button;
    return nullptr;
}

// The lines ("Approach P1" for an approach line, a route by its name) and the selected one.
QString Lines(const QAbstractItemView* list) {
    const QAbstractItemModel* model = list->model();
    QStringList lines;
    for (int row = 0; row < model->rowCount(); ++row)
        lines << (model->index(row, 0).data().toString() + " " + model->index(row, 1).data().toString())
                     .trimmed()
                     .section(' ', 0, model->columnCount() == 1 ? 0 : 1);
    const QModelIndexList selected = list->selectionModel()->selectedRows();
    return lines.join(",") + " @" + QString::number(selected.isEmpty() ? -1 : selected.first().row());
}

// Routes R1 and R2, then places P1 (with an approach) and P2, both joint, as the editing operations make
// them.
void PlacesAndRoutes(Bench& bench) {
    AddRoute("R1", 3, 0, false, 0, 0);
    AddRoute("R2", 4, 0, false, 0, 0);
    const int p1 = AddPlace("P1", false);
    bench.MoveArm(kArmB);
    PlacesSetApproach(p1);
    bench.MoveArm(kArmA);
    AddPlace("P2", false);
}

} // namespace

class ProjectFormWindowsTest : public QObject {
    Q_OBJECT
private slots:
    // Changes made elsewhere keep the selected entry, found by its name.
    void listsKeepTheSelectionThroughChangesMadeElsewhere() {
        Bench bench;
        PlacesAndRoutes(bench);
        CPlcview places(true);
        Car1 routes;
        AddPlace("P3", false);
        AddRoute("R3", 2, 0, false, 0, 0);
        places.list()->selectRow(3);
        routes.list()->setCurrentRow(1);
        DeleteEntry(projectModel().FindEntry("P1"));
        QCOMPARE(Lines(places.list()) + " " + Lines(routes.list()), QString("P2,P3 @1 R1,R2,R3 @1"));
        DeleteEntry(projectModel().FindEntry("R1"));
        QCOMPARE(Lines(routes.list()), QString("R2,R3 @0"));
    }

    void pressesReachTheProject() {
        // The input: "armB" moves the arm, "name:X" and "Yes" answer the name dialog and the question,
        // anything else answers the button's dialog ("field=text" fills a field, a bare name clicks that
        // choice, then "OK"). Afterwards the lines and the selected one, and the command lines sent
        // (places, joined by ";") or the last line in full (routes).
        const struct {
            const char* button;
            int select;
            QString input, lines;
            std::string sent;
        } rows[] = {
            {"places Go To", 1, "", "P1,Approach P1,P2 @1", "'NEAR P1 GOTO"},
            {"places Set to Here", 1, "", "P1,P2 @1", "APPROACH P1;DECIMAL GF"},
            {"places Set Apprch", 2, "armB", "P1,Approach P1,P2,Approach P2 @2", "APPROACH P2;DECIMAL GF"},
            {"places Add New", 0, "name:P3", "P1,Approach P1,P2,P3 @3",
             "DECIMAL CARTMODE C@ .;DECIMAL GF;PLACE P3"},
            {"places Delete", 2, "Yes", "P1,Approach P1 @0", "FORGET P2"},
            {"routes New", -1, "name=R3 cartesian row relative columns=5 reserve=6", "R1,R2,R3 @2",
             "R3      Cart    Row  Rel     6    5"},
            {"routes New generator", 0, "name=G", "R1,R2,G,_G @3", "_G      Cart    Gen  Abs    20    0"},
            {"routes Copy", 0, "name:R1C", "R1,R2,R1C @2", "R1C     Joint   Gen  Abs     3    0"},
            {"routes Delete", 1, "Yes", "R1 @0", "R1      Joint   Gen  Abs     3    0"},
            {"routes Adjust Size", 1, "reserve=9", "R1,R2 @0", "R2      Joint   Gen  Abs     9    0"},
        };
        for (const auto& row : rows) {
            Bench bench;
            PlacesAndRoutes(bench);
            CPlcview places(false);
            Car1 routes;
            places.list()->selectRow(row.select);
            routes.list()->setCurrentRow(row.select);
            QStringList dialog = row.input.split(' ', Qt::SkipEmptyParts);
            if (dialog.removeAll("armB"))
                bench.MoveArm(kArmB);
            if (dialog.removeAll("Yes"))
                bench.ui.answers.push_back(Answer::Yes);
            if (!dialog.isEmpty() && dialog[0].startsWith("name:"))
                bench.ui.names.push_back(dialog.takeFirst().mid(5).toStdString());
            if (!dialog.isEmpty())
                WhenModal<QDialog>([dialog](QDialog& d) {
                    for (const QString& answer : dialog)
                        if (answer.contains('='))
                            d.findChild<QLineEdit*>(answer.section('=', 0, 0))
                                ->setText(answer.section('=', 1));
                        else
                            d.findChild<QRadioButton*>(answer)->click();
                    d.accept();
                });
            const size_t before = bench.controller.Lines().size();
            const bool inPlaces = QString(row.button).startsWith("places");
            Button(inPlaces ? static_cast<QWidget*>(&places) : &routes, row.button + 7)->click();
            QVERIFY2((inPlaces ? Lines(places.list()) : Lines(routes.list())) == row.lines, row.button);
            std::string sent;
            for (size_t i = before; i < bench.controller.Lines().size(); ++i)
                sent += (sent.empty() ? "" : ";") + bench.controller.Lines()[i];
            const QListWidgetItem* last = routes.list()->item(routes.list()->count() - 1);
            QCOMPARE(inPlaces ? sent : last->text().toStdString(), row.sent);
        }
    }

    // The data columns are named for the selected line's kind; the emulated arm's X is 1001 tenths.
    void dataHeadersFollowTheSelectedLinesKind() {
        Bench bench;
        FixedArm arm(4, 6);
        AddPlace("J", false);
        AddPlace("C", true);
        CPlcview view(true);
        QString headers;
        for (const int row : {1, 0}) {
            view.list()->selectRow(row);
            headers +=
                view.list()->horizontalHeaderItem(3)->text() + view.list()->horizontalHeaderItem(6)->text();
        }
        QCOMPARE(headers, QString("XpitchWaistHand"));
        QCOMPARE(view.list()->item(1, 3)->text() + " " + view.list()->item(0, 6)->text(), QString("100.1 4"));
    }

    void mainWindowOpensTheWindowsAndRefreshesTheirButtons() {
        ShellFixture shell;
        shell.SetUp();
        const std::string path = shell.Path("empty");
        WriteTestFile(path + ".run", QByteArray("\x10\0\0\0\x04\0\0\0\0\0\0\0\x08\0\0\0\0\0", 18));
        WriteTestFile(path + ".ed1", "KAVENTRIX\nSTARTOVER\n");
        QVERIFY(projectDocument().OpenFile(path + ".run"));
        WindowKinds& kinds = shell.frame->windowKinds();
        for (const WindowKind kind : {WindowKind::Places, WindowKind::Routes})
            kinds.Close(kind);
        shell.frame->UpdateCommandStates();
        for (const int id : {ID_PROJECT_PLACES, ID_PROJECT_ROUTES})
            shell.frame->action(id)->trigger();
        auto* routes = qobject_cast<Car1*>(kinds.Find(WindowKind::Routes)->widget());
        auto places = [&] { return qobject_cast<CPlcview*>(kinds.Find(WindowKind::Places)->widget()); };
        for (const int state : {reply::kCollecting, reply::kIdle}) {
            protocol().ReplyState = state;
            ui().KickIdle();
            QTRY_COMPARE(places()->button(PlacesButton::AddNew)->isEnabled(), state == reply::kIdle);
            QCOMPARE(routes->button(RoutesButton::New)->isEnabled(), state == reply::kIdle);
        }
        for (const bool wide : {true, false}) {
            places()->button(PlacesButton::ShowData)->click();
            QTRY_VERIFY(kinds.Find(WindowKind::Places) && places()->showsData() == wide);
        }
        shell.TearDown();
    }
};

MARLIX_WINDOW_TEST(ProjectFormWindowsTest)
#include "ProjectFormWindowsTest.moc"
