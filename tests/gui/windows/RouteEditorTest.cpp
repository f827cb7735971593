#include "core/app/CoreWiring.h"
#include "core/link/CommLink.h"
#include "core/project/ProjectModel.h"
#include "core/project/ProjectService.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/QtUi.h"
#include "gui/windows/Cgared.h"
#include "gui/windows/PathPreview.h"
#include "gui/windows/RouteEditorWindows.h"
#include "support/FixedArm.h"
#include "support/ScriptedUi.h"
#include "support/WindowTest.h"

#include <tuple>

using namespace runlist;

namespace {

// A Cartesian route whose lines have the codes `codes`.
int MakeRoute(const std::string& name, int capacity, std::vector<std::uint16_t> codes) {
    ProjectModel& m = projectModel();
    const int r = m.AllocateEntry(capacity + 1, name);
    for (auto [field, value] : {std::pair{kKind, int(kRoute)}, {kMode, 1}, {kCount, int(codes.size())}})
        m.SetWord(r + field, static_cast<std::uint16_t>(value));
    for (size_t n = 1; n <= codes.size(); ++n)
        m.SetRecord(m.LineOffset(r, int(n)), PositionRecord{{int16_t(n * 100)}, codes[n - 1], 0});
    return r;
}

// The list holds the route's lines as the core writes them.
bool ListMatches(const Cgared& editor) {
    const QTableWidget* list = editor.list();
    if (list->rowCount() != projectModel().LineCount(editor.route()))
        return false;
    for (int n = 1; n <= list->rowCount(); ++n) {
        const std::vector<std::string> texts = RouteLineTexts(editor.route(), n);
        for (int c = 0; c < list->columnCount(); ++c) {
            const QTableWidgetItem* item = list->item(n - 1, c);
            if ((item ? item->text().toStdString() : "") != (c < int(texts.size()) ? texts[size_t(c)] : ""))
                return false;
        }
    }
    return true;
}

} // namespace

class RouteEditorTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        ResetCore();
        commLink().Simulate = true;
        commLink().OpenCommunication();
    }
    void cleanup() { ResetCore(); }

    // A press runs the core's action; the list then shows the image with the line the action selects,
    // and an open path preview the route's absolute lines and that selection.
    void pressesReachTheImageTheListAndThePreview() {
        ScriptedUi ui;
        FixedArm arm(6, 6);
        const int r = MakeRoute("PICK", 5, {2, 2});
        projectService().editors.PendingEditorRoute = r;
        const auto editor = std::make_unique<Cgared>();
        editor->ShowPath();
        const PathPreview* picture = editor->preview()->preview();
        const struct {
            EditorButton button;
            int selected, countAfter, selectedAfter;
        } presses[] = {{EditorButton::AppendPosition, 1, 3, 3}, {EditorButton::InsertPosition, 2, 4, 2},
                       {EditorButton::Delete, 3, 3, 2},         {EditorButton::SetApproach, 1, 4, 0},
                       {EditorButton::GoTo, 4, 4, 4},           {EditorButton::InsertPosition, 1, 5, 1}};
        for (const auto& press : presses) {
            editor->list()->selectRow(press.selected - 1);
            ui.answers = {Answer::Yes};
            QTest::mouseClick(editor->button(press.button), Qt::LeftButton);
            const QByteArray what = editor->button(press.button)->text().toUtf8();
            QVERIFY2(projectModel().LineCount(r) == press.countAfter && ListMatches(*editor), what);
            QVERIFY2(editor->SelectedLine() == press.selectedAfter, what);
            QVERIFY2(picture->SelectedLine() == press.selectedAfter, what);
            const bool absolute = !IsRelativeCode(projectModel().Line(r, press.countAfter).code);
            QVERIFY2(bool(picture->PointPosition(0, press.countAfter)) == absolute, what);
        }
        QCOMPARE(ui.questions, (std::vector<std::string>{"Do you wish to delete index 3"}));
        editor->list()->selectRow(2);
        QCOMPARE(picture->SelectedLine(), 3);
    }

    // In the main window an editor is raised when opened again and closed with its route; a generator's
    // editor reads "Generate", and its preview shows the target it generated.
    void editorsInTheMainWindow() {
        struct Screen : QtUi {
            bool AskContourFunction(int& code, double& a, double& b) override {
                std::tie(code, a, b) = std::tuple(2, 100.0, 0.0); // LIN 100 mm at the 30 mm step: 4 points
                return true;
            }
        } screen;
        const ScreenScope scope({&screen});
        CMainFrame frame;
        screen.Attach(&frame);
        BindRouteEditorWindows(frame);
        frame.show();
        const int target = MakeRoute("CUT", 6, {}), generator = MakeRoute("_CUT", 4, {});
        const auto editor = [&frame](int route) {
            for (QMdiSubWindow* window : frame.mdiArea()->subWindowList())
                if (auto* e = qobject_cast<Cgared*>(window->widget());
                    e && e->route() == route && !window->isHidden())
                    return e;
            return static_cast<Cgared*>(nullptr);
        };
        for (int r : {target, generator, target})
            projectService().OpenRouteEditor(r);
        QCOMPARE(frame.mdiArea()->subWindowList().size(), 2);
        QCOMPARE(frame.mdiArea()->activeSubWindow()->widget(), editor(target));
        QCOMPARE(projectModel().ActiveRoute, target); // named to the controller as it became active
        Cgared* gen = editor(generator);
        QCOMPARE(editor(target)->button(EditorButton::Run)->text() + gen->button(EditorButton::Run)->text(),
                 QString("RunGenerate"));
        QTest::mouseClick(gen->button(EditorButton::AppendFunction), Qt::LeftButton);
        QTest::mouseClick(gen->pathButton(), Qt::LeftButton);
        QTest::mouseClick(gen->button(EditorButton::Run), Qt::LeftButton);
        QCOMPARE(projectModel().LineCount(target), 4);
        QTRY_VERIFY(ListMatches(*editor(target)) && ListMatches(*gen));
        const PathPreview* picture = gen->preview()->preview();
        QVERIFY(picture->PointPosition(0, 4) && !picture->PointPosition(0, 5) &&
                picture->SelectedLine() == 0);
        projectService().CloseRouteEditor(target);
        QVERIFY(!editor(target) && editor(generator));
    }
};

MARLIX_WINDOW_TEST(RouteEditorTest)
#include "RouteEditorTest.moc"
