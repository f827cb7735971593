#include "core/app/CoreWiring.h"
#include "core/link/CommLink.h"
#include "core/project/ProjectModel.h"
#include "core/project/ProjectService.h"
#include "core/project/RouteEditorActions.h"
#include "core/protocol/Protocol.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/QtUi.h"
#include "gui/windows/Cgared.h"
#include "gui/windows/PathPreview.h"
#include "gui/windows/RouteEditorWindows.h"
#include "support/FixedArm.h"
#include "support/ScriptedUi.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include <memory>

using namespace runlist;

namespace {

constexpr EditorButton kAllButtons[] = {EditorButton::Close,
                                        EditorButton::GoTo,
                                        EditorButton::GoNear,
                                        EditorButton::SetToHere,
                                        EditorButton::InsertPosition,
                                        EditorButton::InsertFunction,
                                        EditorButton::AppendPosition,
                                        EditorButton::AppendFunction,
                                        EditorButton::Delete,
                                        EditorButton::EditLine,
                                        EditorButton::AddToAll,
                                        EditorButton::SetApproach,
                                        EditorButton::Interpolate,
                                        EditorButton::InterpolateCorners,
                                        EditorButton::Run};

// A route as the editing operations leave it: `codes` are its lines' codes, each line's first value
// its number times 100.
int MakeRoute(const std::string& name, int capacity, int mode, int rows, int columns,
              const std::vector<std::uint16_t>& codes) {
    ProjectModel& m = projectModel();
    const int r = m.AllocateEntry(capacity + 1, name);
    m.SetWord(r + kKind, kRoute);
    m.SetWord(r + kMode, static_cast<std::uint16_t>(mode));
    m.SetWord(r + kFixed, kFixedWord);
    m.SetByte(r + kRows, static_cast<std::uint8_t>(rows));
    m.SetByte(r + kColumns, static_cast<std::uint8_t>(columns));
    m.SetWord(r + kCount, static_cast<std::uint16_t>(codes.size()));
    for (int n = 1; n <= static_cast<int>(codes.size()); ++n) {
        PositionRecord line;
        line.code = codes[n - 1];
        line.values[0] = static_cast<std::int16_t>(n * 100);
        m.SetRecord(m.LineOffset(r, n), line);
    }
    return r;
}

std::unique_ptr<Cgared> EditorOn(int r) {
    projectService().editors.PendingEditorRoute = r;
    return std::make_unique<Cgared>();
}

void Select(Cgared& editor, int line) {
    if (line > 0)
        editor.list()->selectRow(line - 1);
    else
        editor.list()->clearSelection();
}

QStringList Row(const Cgared& editor, int line) {
    QStringList cells;
    for (int c = 0; c < editor.list()->columnCount(); ++c)
        if (const QTableWidgetItem* item = editor.list()->item(line - 1, c))
            cells << item->text();
    return cells;
}

QStringList CoreTexts(int r, int line) {
    QStringList cells;
    for (const std::string& text : RouteLineTexts(r, line))
        cells << QString::fromStdString(text);
    return cells;
}

// The list holds the route's lines as the core writes them.
bool ListMatches(const Cgared& editor) {
    const int r = editor.route();
    if (editor.list()->rowCount() != projectModel().LineCount(r))
        return false;
    for (int n = 1; n <= projectModel().LineCount(r); ++n)
        if (Row(editor, n) != CoreTexts(r, n))
            return false;
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

    // Every button follows the core's rule for the route and the line selected in the list.
    void buttonsFollowTheCoreRule() {
        ScriptedUi ui;
        FixedArm arm(6, 6);
        const int relative = poscode::kCartesian | 1;
        const int general = MakeRoute("GEN", 4, 1, 0, 0, {2, relative, 345});
        const int full = MakeRoute("FULL", 2, 0, 0, 0, {0, 0});
        const int empty = MakeRoute("NONE", 3, 0, 0, 0, {});
        const int grid = MakeRoute("GRID", 7, 1, 2, 3, {2, 2, 2, 2, 2, 2, relative});
        const int row = MakeRoute("ROW", 3, 0, 0, 3, {0, 0, 0});
        const struct {
            int route;
            int selected;
            int replyState;
        } states[] = {
            {general, 0, reply::kIdle}, {general, 1, reply::kIdle},       {general, 2, reply::kIdle},
            {general, 3, reply::kIdle}, {general, 1, reply::kCollecting}, {full, 2, reply::kIdle},
            {empty, 0, reply::kIdle},   {empty, 0, reply::kNotOpen},      {grid, 5, reply::kIdle},
            {grid, 7, reply::kIdle},    {row, 0, reply::kIdle},           {row, 3, reply::kIdle},
        };
        for (const auto& state : states) {
            const auto editor = EditorOn(state.route);
            Select(*editor, state.selected);
            protocol().ReplyState = state.replyState;
            editor->RefreshButtons();
            const QByteArray where = QByteArray::fromStdString(projectModel().EntryName(state.route)) +
                                     " line " + QByteArray::number(state.selected) + " state " +
                                     QByteArray::number(state.replyState);
            QVERIFY2(editor->SelectedLine() == state.selected, where);
            const RouteFacts facts = RouteFactsOf(state.route, state.selected, LinkReady());
            for (EditorButton b : kAllButtons)
                QVERIFY2(editor->button(b)->isEnabled() == EditorButtonEnabled(b, facts),
                         where + " button " + editor->button(b)->text().toUtf8());
            protocol().ReplyState = reply::kIdle;
        }
    }

    // A press runs the core's action, and the list shows the image afterwards with the line the
    // action selects; an open path preview follows the route and the list's selection.
    void pressesReachTheImageTheListAndThePreview() {
        ScriptedUi ui;
        FixedArm arm(6, 6);
        const int r = MakeRoute("PICK", 5, 1, 0, 0, {2, 2});
        const auto editor = EditorOn(r);
        QVERIFY(ListMatches(*editor));
        QCOMPARE(editor->SelectedLine(), 1);
        editor->ShowPath();
        QVERIFY(editor->preview() && editor->preview()->isVisible());
        QCOMPARE(editor->preview()->windowTitle(), QString("Path of route PICK"));
        const struct {
            EditorButton button;
            int selected;
            int countAfter;
            int selectedAfter;
        } presses[] = {
            {EditorButton::AppendPosition, 1, 3, 3}, {EditorButton::InsertPosition, 2, 4, 2},
            {EditorButton::Delete, 3, 3, 2},         {EditorButton::SetApproach, 1, 4, 0},
            {EditorButton::GoTo, 4, 4, 4},           {EditorButton::InsertPosition, 1, 5, 1},
        };
        for (const auto& press : presses) {
            Select(*editor, press.selected);
            ui.answers = {Answer::Yes};
            QTest::mouseClick(editor->button(press.button), Qt::LeftButton);
            const QByteArray what = editor->button(press.button)->text().toUtf8();
            QVERIFY2(projectModel().LineCount(r) == press.countAfter, what);
            QVERIFY2(ListMatches(*editor), what);
            QVERIFY2(editor->SelectedLine() == press.selectedAfter, what);
            const PathPreview* picture = editor->preview()->preview();
            QVERIFY2(picture->SelectedLine() == press.selectedAfter, what);
            // Absolute lines are drawn up to the last one; the approach line (relative) is not.
            const int last = press.countAfter;
            QVERIFY2(bool(picture->PointPosition(0, last)) ==
                         !IsRelativeCode(projectModel().Line(r, last).code),
                     what);
            QVERIFY2(!picture->PointPosition(0, last + 1), what);
        }
        QCOMPARE(ui.questions, (std::vector<std::string>{"Do you wish to delete index 3"}));
        // The full route refuses further insertions.
        QVERIFY(!editor->button(EditorButton::AppendPosition)->isEnabled());
        Select(*editor, 3);
        QCOMPARE(editor->preview()->preview()->SelectedLine(), 3);
    }

    // Titles and the last button's label; a generator route's preview shows its target, generated.
    void generatorEditorGeneratesAndPreviewsItsTarget() {
        ScriptedUi ui;
        FixedArm arm(6, 6);
        const int target = MakeRoute("CUT", 6, 1, 0, 0, {});
        const int generator = MakeRoute("_CUT", 4, 1, 0, 0, {});
        const auto plain = EditorOn(target);
        const auto editor = EditorOn(generator);
        QCOMPARE(plain->windowTitle(), QString("Route CUT"));
        QCOMPARE(plain->button(EditorButton::Run)->text(), QString("Run"));
        QCOMPARE(editor->windowTitle(), QString("Route _CUT"));
        QCOMPARE(editor->button(EditorButton::Run)->text(), QString("Generate"));

        ui.contours = {{2, 100, 0}}; // LIN 100 mm at the 30 mm step: 4 points
        QTest::mouseClick(editor->button(EditorButton::AppendFunction), Qt::LeftButton);
        QCOMPARE(Row(*editor, 1), CoreTexts(generator, 1));
        editor->ShowPath();
        QCOMPARE(editor->preview()->windowTitle(), QString("Path of route CUT"));
        QCOMPARE(editor->preview()->preview()->PanelCount(), 0);
        QTest::mouseClick(editor->button(EditorButton::Run), Qt::LeftButton);
        QCOMPARE(projectModel().LineCount(target), 4);
        QTRY_VERIFY(ListMatches(*plain)); // the target's editor follows the announcement
        const PathPreview* picture = editor->preview()->preview();
        QVERIFY(picture->PointPosition(0, 4) && !picture->PointPosition(0, 5));
        QCOMPARE(picture->SelectedLine(), 0);
        QCOMPARE(editor->SelectedLine(), 1);
    }

    // In the main window: one editor per route, raised when opened again, closed with its route.
    void oneEditorPerRouteClosedWithItsRoute() {
        QtUi screen;
        InstallScreen({&screen});
        CMainFrame frame;
        screen.Attach(&frame);
        BindRouteEditorWindows(frame);
        frame.show();
        const int first = MakeRoute("A", 2, 0, 0, 0, {0});
        const int second = MakeRoute("B", 2, 0, 0, 0, {0});
        auto editors = [&frame] {
            QList<int> routes;
            for (QMdiSubWindow* window : frame.mdiArea()->subWindowList())
                if (auto* editor = qobject_cast<Cgared*>(window->widget()); editor && !window->isHidden())
                    routes << editor->route();
            return routes;
        };
        for (int r : {first, second, first})
            projectService().OpenRouteEditor(r);
        QCOMPARE(editors(), (QList<int>{first, second}));
        QCOMPARE(frame.mdiArea()->activeSubWindow()->windowTitle(), QString("Route A"));
        QCOMPARE(projectModel().ActiveRoute, first); // named to the controller when it became active
        projectService().CloseRouteEditor(first);
        QCOMPARE(editors(), (QList<int>{second}));
        QVERIFY(!projectService().editors.Find(first));
        InstallScreen({});
    }
};

QTEST_MAIN(RouteEditorTest)
#include "RouteEditorTest.moc"
