#include "core/project/ProjectModel.h"
#include "core/app/CoreWiring.h"
#include "core/project/ProjectService.h"
#include "support/CoreTest.h"
#include "support/FixedArm.h"
#include "support/ImageBuilder.h"

#include "core/project/ContourLine.h"
#include "core/project/NameCheck.h"
#include "core/project/PlacesActions.h"
#include "core/project/PlacesRoutesExport.h"
#include "core/project/ProjectEditing.h"
#include "core/project/ProjectFiles.h"
#include "core/project/RouteEditorActions.h"
#include "core/project/RouteFilling.h"
#include "core/project/RouteLines.h"
#include "core/project/RoutesActions.h"
#include "core/protocol/Protocol.h"

#include <functional>

using namespace runlist;

namespace {

using Ints = std::vector<int>;
using Lines = std::vector<std::string>;

PositionRecord Record(std::initializer_list<int> values, std::uint16_t code = 0) {
    return ImageBuilder::Record(values, code);
}

class ProjectTest : public CoreTest {
protected:
    // The image and names of a project, on the PC alone.
    void Load(const ImageBuilder& project) {
        LoadRunFileBytes(model, project.Bytes());
        ASSERT_EQ(BindDeclarations(model, project.Declarations()), "");
    }
    ProjectModel& model = projectModel();
};

// What the randomized run against the emulator cannot tell apart, because the emulator would take
// either: the exact command texts. The controller here accepts every line and answers no query.
TEST_F(ProjectTest, EditingOperationsSendExactlyTheirCommands) {
    int r1 = kNoEntry, r2 = kNoEntry, p1 = kNoEntry;
    const std::string download = "1 BANK C! DECIMAL RUN-LIST ";
    // What each step shows, the step, the lines it sends.
    const std::vector<std::tuple<const char*, std::function<void()>, Lines>> steps = {
        {"a relative route: SUB without CR, on the declaration's line",
         [&] { r1 = ::AddRoute("R1", 4, 0, true, 0, 0); },
         {"JOINT", "SUB ROUTE R1", "4 RESERVE"}},
        {"a grid route is filled and sent",
         [&] { r2 = ::AddRoute("R2", 12, 1, false, 3, 4); },
         {"CARTESIAN", "ROUTE R2", "12 RESERVE", download + "304 RECEIVE"}},
        {"a place after the routes",
         [&] {
             model.SetWord((p1 = projectService().AllocateEntry(kPlaceParagraphs, "P1")) + kKind, kPlace);
         },
         {}},
        {"at count + 1 the line is learned", [&] { InsertLearnedLine(r1, 1); }, {"R1 LEARN", "DECIMAL GF"}},
        {"before the count it is inserted", [&] { InsertLearnedLine(r1, 1); }, {"R1 1 INSERT", "DECIMAL GF"}},
        {"a new function line starts from no word and zero, is learned and asks for the word's address",
         [&] {
             ui.functions.push_back({"GRIP", 7});
             InsertFunctionLine(r1, 3);
         },
         {"R1 'LEARN GRIP 7 PURGE", "DECIMAL FIND GRIP ."}},
        {"word names: above 40959 none is asked, a failed one is asked once",
         [&] {
             PositionRecord line;
             line.code = 40960;
             EXPECT_EQ(WordName(line), "word");
             line.code = 100;
             EXPECT_EQ(WordName(line), "error");
             EXPECT_EQ(WordName(line), "error");
             EXPECT_EQ(ui.messages, std::vector<std::string>{"OK expected"});
             ui.messages.clear();
         },
         {"102 NAME"}},
        {"a route another route follows is resized by a download",
         [&] { ResizeRoute(r1, 3); },
         {download + "336 RECEIVE"}},
        {"the last route is resized on the controller, places after it or not",
         [&] {
             r2 = model.FindEntry("R2");
             ResizeRoute(r2, 14);
             ResizeRoute(r2, 12);
         },
         {"R2 2 RESERVE", "R2 -2 RESERVE"}},
        {"an entry that is not the last: the image and the declarations again",
         [&] { DeleteEntry(model.FindEntry("R2")); },
         {download + "128 RECEIVE", "|", "KAVENTRIX", "STARTOVER", "ROUTE R1", "PLACE P1", "IOFLAG C0SET"}},
        {"a rename asks, then declares every entry again",
         [&] {
             ui.answers.push_back(Answer::Yes);
             ui.names.push_back("R9");
             RenameEntry(r1);
         },
         {"|", "KAVENTRIX", "STARTOVER", "ROUTE R9", "PLACE P1", "IOFLAG C0SET"}},
        {"the last entry is forgotten", [&] { DeleteEntry(model.FindEntry("P1")); }, {"FORGET P1"}},
        {"questions answered No send nothing",
         [&] {
             EditorDelete(r1, 1);
             RoutesDelete(r1);
         },
         {}},
        {"a new place asks its name, then the controller's mode",
         [&] {
             ui.names.push_back("P2");
             PlacesAddNew();
         },
         {"DECIMAL CARTMODE C@ .", "DECIMAL CF", "PLACE P2"}},
    };
    for (const auto& [what, run, lines] : steps) {
        run();
        EXPECT_EQ(Sent(), lines) << what;
        EXPECT_TRUE(ui.messages.empty()) << what << ": " << ui.messages.front();
        ui.messages.clear();
    }
    // The function line calls the word by its address: the controller names it, once.
    const PositionRecord function = model.Line(r1, 3);
    EXPECT_EQ(WordName(function) + WordName(function) + std::to_string(function.values[0]), "GRIPGRIP7");
    EXPECT_EQ(Sent(), Lines{std::to_string(function.code + 2) + " NAME"});
    EXPECT_EQ(model.EntryNames, (std::vector<std::string>{"R9", "P2"}));
    EXPECT_EQ(ui.questions, (std::vector<std::string>{
                                "The \"ed1\" and \"ed2\" files will be reloaded Do you wish to proceed?",
                                "Do you wish to delete index 1", "Do you wish to delete route R9"}));
    EXPECT_EQ(ui.nameDialogs, (std::vector<std::string>{"Edit name: R1", "New place: "}));
    EXPECT_EQ(ui.functionDialogs, std::vector<std::string>{" 0"});
    EXPECT_EQ((Ints{model.RunListEnd, p1}), (Ints{16 + 64 + 48, 16 + 80 + 16 * 13}));
    EXPECT_EQ(LineCodeText(18, "_CUT", 3), "18 _CUT 3 LINE 12 + E!");
    EXPECT_EQ(LineCodeText(40000, "R", 1), "-25536 R 1 LINE 12 + E!");
    // Clearing empties the image and the names asked; the name table belongs to the document.
    projectService().ClearProject();
    EXPECT_TRUE(model.WordNameCache.empty() && model.FirstEntry() == kNoEntry &&
                model.EntryNames.size() == 2);
}

// On one project: a generator stops at its target's reserved lines and leaves the next route alone; Add
// to All moves only absolute positions; a copy has the route's reserve and lines; a generator pair
// needs a name free for both.
TEST_F(ProjectTest, GenerateAddToAllCopyAndNewGenerator) {
    PositionRecord contourLine;
    SetContourLine(contourLine, contour::kLine, 100, 0);
    std::vector<PositionRecord> lines;
    for (const std::uint16_t code : {0, 1, 2, 3, 18, 40000})
        lines.push_back(Record({30000}, code));
    Load(ImageBuilder()
             .Route("C", 2)
             .Route("N", 1)
             .Route("_C", 1, {contourLine})
             .Route("R", 7, lines)
             .Route("_O", 1));
    const int target = model.FindEntry("C"), next = model.FindEntry("N"), r = model.FindEntry("R");
    const PositionRecord untouched = model.Line(next, 1);
    EXPECT_TRUE(GenerateRoute(model.FindEntry("_C")));
    EXPECT_EQ((Ints{model.LineCount(target), model.Line(target, 2).values[0]}), (Ints{2, 500}));
    EXPECT_EQ(model.Line(next, 1), untouched);
    EXPECT_EQ(ui.messages, Lines{"Route C stopped at the limit: 2 of 4 points fitted"});

    PositionRecord offset;
    offset.values[0] = 10000;
    AddToAllLines(r, offset);
    Ints moved;
    for (int n = 1; n <= 6; ++n)
        moved.push_back(model.Line(r, n).values[0]);
    EXPECT_EQ(moved, (Ints{-25536, 30000, -25536, 30000, 30000, 30000}));

    const int end = model.RunListEnd;
    Sent();
    const int copy = CopyRoute(r, "C1");
    ASSERT_NE(copy, kNoEntry);
    EXPECT_EQ((Ints{model.RunListEnd, model.RouteCapacity(copy), model.LineCount(copy)}),
              (Ints{end + 8 * kParagraph, 7, 6}));
    EXPECT_TRUE(model.Line(copy, 2) == model.Line(r, 2) && model.Line(copy, 6) == model.Line(r, 6));
    EXPECT_EQ(Sent().front(), "DECIMAL ROUTE C1");
    EXPECT_EQ(ui.messages.size(), 1u);

    for (const auto& [name, message] :
         {std::pair{"", "Please enter a name"}, {"A B", "Please enter a name"}, {"O", "_O already exists"}}) {
        ui.messages.clear();
        EXPECT_EQ(RoutesNewGenerator(name, 5, 2), kNoEntry);
        EXPECT_EQ(ui.messages, Lines{message});
    }
    EXPECT_TRUE(Sent().empty());
    const int generator = RoutesNewGenerator("SAW", 5, 2);
    ASSERT_NE(generator, kNoEntry);
    EXPECT_EQ(model.EntryName(generator) + std::to_string(model.RouteCapacity(model.FindEntry("SAW"))),
              "_SAW5");
}

TEST_F(ProjectTest, RouteEditorLinesMarkTheGridAndItsButtonsFollowTheRoute) {
    std::vector<PositionRecord> lines(12);
    lines.push_back(Record({-7}, poscode::kJointRelative));
    Load(ImageBuilder()
             .Route("G", 13, lines)
             .Route("GEN", 2, {Record({}, poscode::kContourBase + 2)}, 1)
             .Route("E", 1));
    const int grid = model.FindEntry("G"), general = model.FindEntry("GEN"), empty = model.FindEntry("E");
    model.SetByte(grid + kRows, 3);
    model.SetByte(grid + kColumns, 4);
    std::string cells;
    for (const int n : {1, 4, 6, 9, 12, 13}) {
        const std::vector<std::string> texts = RouteLineTexts(grid, n);
        cells += texts[0] + "|" + texts[1] + "|" + texts[2] + "|" + texts[3] + ",";
    }
    EXPECT_EQ(cells, " 1 *|1|1|0, 4 *|1|4|0, 6|2|2|0, 9 i4|3|1|0,12 *|3|4|0,13 R|||-7,");

    // (route, button, ready, selected line) -> enabled. The grid's line 13 is relative; in a general
    // route with room insertions need a selection unless it is empty, and a contour line cannot be set
    // to the arm's position.
    const std::tuple<int, EditorButton, bool, int, bool> rules[] = {
        {grid, EditorButton::Close, false, 0, true},
        {grid, EditorButton::GoTo, true, 0, false},
        {grid, EditorButton::GoTo, true, 2, true},
        {grid, EditorButton::GoTo, false, 2, false},
        {grid, EditorButton::SetToHere, true, 13, true},
        {grid, EditorButton::InsertPosition, true, 1, false},
        {grid, EditorButton::AppendFunction, true, 1, false},
        {grid, EditorButton::Delete, true, 12, false},
        {grid, EditorButton::Delete, true, 13, true},
        {grid, EditorButton::SetApproach, true, 0, false},
        {grid, EditorButton::Interpolate, true, 1, true},
        {grid, EditorButton::InterpolateCorners, true, 1, true},
        {grid, EditorButton::InterpolateCorners, true, 0, false},
        {grid, EditorButton::Run, true, 0, true},
        {empty, EditorButton::InsertPosition, true, 0, true},
        {empty, EditorButton::SetApproach, true, 0, true},
        {general, EditorButton::InsertFunction, true, 0, false},
        {general, EditorButton::InsertFunction, true, 1, true},
        {general, EditorButton::SetToHere, true, 1, false},
        {general, EditorButton::Interpolate, true, 1, false},
    };
    for (const auto& [route, button, ready, selected, enabled] : rules)
        EXPECT_EQ(EditorButtonEnabled(button, RouteFactsOf(route, selected, ready)), enabled)
            << model.EntryName(route) << " " << int(button) << " line " << selected;

    // The columns: a grid's row and column, then the profile's joints or axes as the route moves.
    FixedArm arm(2, 3);
    EXPECT_EQ(RouteEditorColumnNames(grid),
              (std::vector<std::string>{"Line", "row", "col", "Waist", "Shoulder"}));
    EXPECT_EQ(RouteEditorColumnNames(general), (std::vector<std::string>{"Line", "X", "Y", "Z"}));
}

// The places window's buttons by (ready, selection) and the routes window's by ready, one character
// per button in the order of their enums.
TEST(ProjectWindowButtons, FollowTheControllerAndTheSelection) {
    std::string places, routes;
    for (const bool ready : {false, true}) {
        for (const bool selection : {false, true}) {
            for (int b = 0; b <= int(PlacesButton::Delete); ++b)
                places += PlacesButtonEnabled(PlacesButton(b), ready, selection) ? '1' : '0';
            places += ' ';
        }
        for (int b = 0; b <= int(RoutesButton::EditName); ++b)
            routes += RoutesButtonEnabled(RoutesButton(b), ready) ? '1' : '0';
        routes += ' ';
    }
    EXPECT_EQ(places, "100000010 100000010 100100010 111111111 ");
    EXPECT_EQ(routes, "11010000 11111111 ");
}

// A name must be given and be free (an entry's own name is free for it); a route grows as far as the
// image allows and no further; the windows hear of what their buttons changed.
TEST_F(ProjectTest, NamesMustBeFreeARouteGrowsIntoTheFreeSpaceAndEditsAreAnnounced) {
    Load(ImageBuilder().Route("R1", 3).Place("P", Record({})));
    EXPECT_EQ((Lines{ValidateNewName("", "R1"), ValidateNewName("P", "R1"), ValidateNewName("P", "P"),
                     ValidateNewName("Q", "P")}),
              (Lines{"Please enter a name", "P already exists", "", ""}));
    int images = 0;
    QObject::connect(&projectService(), &ProjectService::Changed, [&images](ProjectService::Changes what) {
        images += what.testFlag(ProjectService::Image);
    });
    const int r = model.FirstEntry();
    const int highest = AdjustSizeRange(r).highest;
    EXPECT_TRUE(RoutesAdjustSize(r, highest));
    EXPECT_FALSE(ResizeRoute(r, highest + 1));
    EXPECT_EQ(ui.messages.back(), "Insufficient space"); // the controller here knows no R1 and no P
    int before = images;
    PlacesSetToHere(PlaceLine{model.FindEntry("P"), false});
    EXPECT_GT(images, before);
    before = images;
    projectService().RefreshProjectViews();
    EXPECT_GT(images, before);
}

// The CSV export of places and routes, values as the windows show them.
TEST_F(ProjectTest, ExportWritesPlacesApproachesAndEveryKindOfRouteLineAsTheWindowsShowThem) {
    FixedArm arm(4, 3);
    const PositionRecord place = Record({2500, 0, -100}, poscode::kCartesian);
    Load(ImageBuilder()
             .Place("P1", place)
             .Place("a,\"b", place, Record({0, 15}, poscode::kCartesianRelative))
             .Route("R", 4,
                    {Record({1, 2, 3, 4}, poscode::kJoint), Record({10, 20, 30}, poscode::kCartesianRelative),
                     Record({7}, 0x1234)})
             .Route("G", 2, {Record({5}, poscode::kJoint)})
             .Route("_c", 1, {Record({100, 50}, poscode::kContourBase + 2)}));
    model.WordNameCache[0x1234] = "GRIP";
    model.SetByte(model.FindEntry("G") + kRows, 1);
    model.SetByte(model.FindEntry("G") + kColumns, 2);

    const std::string expected = "Name,Kind,Line,Values,Value 1,Value 2,Value 3,Value 4\r\n"
                                 "P1,Place,,Cartesian,250.0,0.0,-10.0,\r\n"
                                 "\"a,\"\"b\",Place,,Cartesian,250.0,0.0,-10.0,\r\n"
                                 "\"a,\"\"b\",Approach,,Cartesian,0.0,1.5,0.0,\r\n"
                                 "R,Route,1,Joint,1,2,3,4\r\n"
                                 "R,Route,2,Cartesian relative,1.0,2.0,3.0,\r\n"
                                 "R,Route,3,Function,GRIP,7,,\r\n"
                                 "G,Route,1,Joint,5,0,0,0\r\n"
                                 "_c,Route,1,Contour,LIN,10.0,5.0,\r\n";
    ui.fileNames = {Path("cell.csv"), Path("missing/cell.csv")};
    ExportPlacesAndRoutes();
    EXPECT_EQ(Read("cell.csv").toStdString(), expected);
    ExportPlacesAndRoutes();
    EXPECT_EQ(ui.messages, std::vector<std::string>{Path("missing/cell.csv") + " could not be written"});

    // With the link down a word not known yet is not asked for: its address stands in.
    model.WordNameCache.clear();
    protocol().ReplyState = reply::kNotOpen;
    EXPECT_NE(PlacesAndRoutesCsv().find("R,Route,3,Function,4660,7,,\r\n"), std::string::npos);
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST_F(ProjectTest, EntriesAreWalkedByKindAndNameAndTheirFieldsRead) {
    EXPECT_EQ(RunFileBytes(model), QByteArray("\x10\0\0\0\x04\0\0\0\0\0\0\0\x08\0\0\0\0\0", 18));
    EXPECT_EQ((Ints{model.FirstEntry(), model.FreeParagraphs(), model.EntryCount()}),
              (Ints{kNoEntry, 4093, 0}));
    Load(ImageBuilder()
             .Place("P1", Record({1234}, 2))
             .Route("R1", 2, {Record({-7, 0, 0, 0, 0, 300})})
             .Place("P2", Record({}), Record({0, 0, 0, 0, 0, -1}, 3))
             .Route("_GEN", 1, {Record({})}));
    EXPECT_EQ(
        (Ints{model.FirstEntry(), model.NextEntry(16), model.FirstPlace(), model.NextPlace(16),
              model.NextPlace(112), model.FirstRoute(), model.NextRoute(64), model.FindEntry("P2"),
              model.FindEntry("p2"), model.EntryCount(), model.EntrySize(16), model.RouteCapacity(64),
              model.FreeParagraphs()}),
        (Ints{16, 64, 16, 112, kNoEntry, 64, 160, 112, kNoEntry, 4, 48, 2, (kImageSize - 192) / 16 - 2}));
    // Full, has an approach, hidden.
    EXPECT_EQ((Ints{model.RouteIsFull(64), model.RouteIsFull(160), model.HasApproach(16),
                    model.HasApproach(112), model.IsHidden(160), model.IsHidden(16)}),
              (Ints{0, 1, 0, 1, 1, 0}));
    EXPECT_EQ(model.LineAsDoubles(64, 1)[5], 300.0);

    // The summary names the layout: general, a row once it has columns, a grid once it has rows too.
    std::string summaries = model.RouteSummary(64) + "|";
    model.SetByte(64 + kColumns, 4);
    summaries += model.RouteSummary(64).substr(16, 4) + "|";
    model.SetByte(64 + kRows, 3);
    model.SetWord(64 + kMode, 1);
    model.SetWord(64 + kRelative, kRelativeFlag);
    EXPECT_EQ(summaries + model.RouteSummary(64),
              "R1      Joint   Gen  Abs     2    1|Row |R1      Cart    Grid Rel     2    1");
    model.EntryNames[1] = "LONGNAME10";
    EXPECT_EQ(model.RouteSummary(64).substr(0, 8), "LONGNAME");
}

TEST_F(ProjectTest, AllocationStopsAtTheLimitWithAMessageAndChangesNothing) {
    const int paragraphs = (kAllocationLimit - model.RunListEnd) / kParagraph;
    ASSERT_NE(projectService().AllocateEntry(paragraphs - 1, "BIG"), kNoEntry);
    const int before = model.RunListEnd;
    const auto image = model.RunList;
    EXPECT_EQ(projectService().AllocateEntry(2, "TOOBIG"), kNoEntry);
    EXPECT_EQ(ui.messages, std::vector<std::string>{"Insufficient space for run-list"});
    EXPECT_TRUE(model.RunList == image && model.EntryNames.size() == 1u);
    EXPECT_EQ(projectService().AllocateEntry(1, "LAST"), before);
    EXPECT_EQ((Ints{model.RunListEnd, model.Word(kAllocationLimit), model.Word(before + kNameIndex)}),
              (Ints{kAllocationLimit, 0, 1}));
}

// A route editor that writes what it is asked to do into a log shared with the others.
struct FakeEditor : RouteEditorView {
    FakeEditor(int r, std::string& log) : route(r), log(log) {}
    void BringToTop() override { Log("top"); }
    void CloseEditor() override {
        Log("close");
        projectService().ForgetRouteEditor(route);
    }
    void UpdateViews() override { Log("update"); }
    void SetLineCount(int n) override { Log("lines " + std::to_string(n)); }
    void Log(const std::string& what) { log += std::to_string(route) + " " + what + ","; }
    int route;
    std::string& log;
};

struct EditorUi : ScriptedUi {
    int created = 0;
    void OpenRouteEditorWindow() override { ++created; }
};

TEST(RouteEditors, OneEditorPerRouteFollowsTheActiveRouteAndTheProject) {
    EditorUi ui;
    ResetCore();
    ProjectService& s = projectService();
    std::string log;
    FakeEditor a(16, log), b(64, log);
    s.OpenRouteEditor(16);
    EXPECT_EQ(s.editors.PendingEditorRoute, 16);
    s.editors.EnterRouteEditor(16, &a);
    s.OpenRouteEditor(16);
    s.editors.EnterRouteEditor(64, &b);
    s.SetActiveRoute(64);
    s.NotifyRouteEditor(5);
    s.RefreshProjectViews();
    s.CloseRouteEditor(16);
    log += "clear,";
    s.ClearProject();
    EXPECT_EQ(log, "16 top,64 lines 5,16 update,64 update,16 close,clear,64 close,");
    EXPECT_TRUE(ui.created == 1 && s.editors.OpenRouteEditors.empty());
    ResetCore();
}

} // namespace
