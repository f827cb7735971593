#include "core/project/ProjectModel.h"
#include "core/app/CoreWiring.h"
#include "core/project/ProjectFiles.h"
#include "core/project/ProjectService.h"
#include "support/CoreTest.h"
#include "support/ImageBuilder.h"

using namespace runlist;

namespace {

using Ints = std::vector<int>;
PositionRecord Record(std::initializer_list<int> values, std::uint16_t code = 0) {
    return ImageBuilder::Record(values, code);
}

class ProjectModelTest : public CoreTest {
protected:
    // The image and names of a project file.
    void Load(const ImageBuilder& project) {
        LoadRunFileBytes(m, project.Bytes());
        ASSERT_EQ(BindDeclarations(m, project.Declarations()), "");
    }
    ProjectModel& m = projectModel();
    ProjectService& service = projectService();
};

TEST_F(ProjectModelTest, EntriesAreWalkedByKindAndNameAndTheirFieldsRead) {
    EXPECT_EQ(RunFileBytes(m), QByteArray("\x10\0\0\0\x04\0\0\0\0\0\0\0\x08\0\0\0\0\0", 18));
    EXPECT_EQ((Ints{m.FirstEntry(), m.FreeParagraphs(), m.EntryCount()}), (Ints{kNoEntry, 4093, 0}));
    Load(ImageBuilder()
             .Place("P1", Record({1234}, 2))
             .Route("R1", 2, {Record({-7, 0, 0, 0, 0, 300})})
             .Place("P2", Record({}), Record({0, 0, 0, 0, 0, -1}, 3))
             .Route("_GEN", 1, {Record({})}));
    EXPECT_EQ(
        (Ints{m.FirstEntry(), m.NextEntry(16), m.FirstPlace(), m.NextPlace(16), m.NextPlace(112),
              m.FirstRoute(), m.NextRoute(64), m.FindEntry("P2"), m.FindEntry("p2"), m.EntryCount(),
              m.EntrySize(16), m.RouteCapacity(64), m.FreeParagraphs()}),
        (Ints{16, 64, 16, 112, kNoEntry, 64, 160, 112, kNoEntry, 4, 48, 2, (kImageSize - 192) / 16 - 2}));
    // Full, has an approach, hidden.
    EXPECT_EQ((Ints{m.RouteIsFull(64), m.RouteIsFull(160), m.HasApproach(16), m.HasApproach(112),
                    m.IsHidden(160), m.IsHidden(16)}),
              (Ints{0, 1, 0, 1, 1, 0}));
    EXPECT_EQ(m.LineAsDoubles(64, 1)[5], 300.0);

    EXPECT_EQ(m.GetRouteLayout(64), RouteLayout::General);
    EXPECT_EQ(m.RouteSummary(64), "R1      Joint   Gen  Abs     2    1");
    m.SetByte(64 + kColumns, 4);
    EXPECT_EQ(m.GetRouteLayout(64), RouteLayout::Row);
    m.SetByte(64 + kRows, 3);
    m.SetWord(64 + kMode, 1);
    m.SetWord(64 + kRelative, kRelativeFlag);
    EXPECT_EQ(m.GetRouteLayout(64), RouteLayout::Grid);
    EXPECT_EQ(m.RouteSummary(64), "R1      Cart    Grid Rel     2    1");
    m.EntryNames[1] = "LONGNAME10";
    EXPECT_EQ(m.RouteSummary(64).substr(0, 8), "LONGNAME");

    m.SetWord(16 + kNameIndex, 7);
    m.RenumberNames();
    EXPECT_EQ((Ints{m.Word(16 + kNameIndex), m.Word(160 + kNameIndex)}), (Ints{0, 3}));
}

TEST_F(ProjectModelTest, AllocationStopsAtTheLimitWithAMessageAndChangesNothing) {
    const int paragraphs = (kAllocationLimit - m.RunListEnd) / kParagraph;
    ASSERT_NE(service.AllocateEntry(paragraphs - 1, "BIG"), kNoEntry);
    const int before = m.RunListEnd;
    const auto image = m.RunList;
    EXPECT_EQ(service.AllocateEntry(2, "TOOBIG"), kNoEntry);
    EXPECT_EQ(ui.messages, std::vector<std::string>{"Insufficient space for run-list"});
    EXPECT_TRUE(m.RunList == image && m.EntryNames.size() == 1u);
    EXPECT_EQ(service.AllocateEntry(1, "LAST"), before);
    EXPECT_EQ((Ints{m.RunListEnd, m.Word(kAllocationLimit), m.Word(before + kNameIndex)}),
              (Ints{kAllocationLimit, 0, 1}));
}

TEST_F(ProjectModelTest, RelativeLinksFollowABlockMoveAndCorruptLinksDoNotLoop) {
    Load(ImageBuilder().Place("P", Record({})).Route("R", 5).Place("Q", Record({})));
    const auto image = m.RunList;
    m.LinksToRelative();
    EXPECT_EQ((Ints{m.Word(0), m.Word(64), m.Word(208)}), (Ints{16, 96, 0}));
    m.LinksToAbsolute();
    EXPECT_EQ(m.RunList, image);
    // Removing the route the way a delete does: relative links, move the tail down, absolute links.
    m.LinksToRelative();
    std::copy(m.RunList.begin() + 160, m.RunList.begin() + 210, m.RunList.begin() + 64);
    m.RunListEnd -= 96;
    m.LinksToAbsolute();
    EXPECT_EQ((Ints{m.NextEntry(16), m.Word(64), m.NextEntry(64)}), (Ints{64, 112, kNoEntry}));

    m.SetWord(16, 16); // points at itself
    EXPECT_EQ(m.NextEntry(16), kNoEntry);
    m.LinksToRelative();
    m.LinksToAbsolute();
    EXPECT_LE(m.EntryCount(), kImageSize / kParagraph);
}

TEST_F(ProjectModelTest, ClearingEmptiesTheImageAndTheWordNamesAreAskedOnce) {
    Load(ImageBuilder().Place("P", Record({})));
    const int code = std::stoi(controller.Run("DECIMAL FIND GRIP .").substr(20));
    Sent();
    EXPECT_EQ(service.WordName(static_cast<uint16_t>(code)) + service.WordName(static_cast<uint16_t>(code)) +
                  service.WordName(0xA000),
              "GRIPGRIPword");
    EXPECT_EQ(Sent(), std::vector<std::string>{std::to_string(code + 2) + " NAME"});
    m.SetWord(0, 99);
    m.ResetRunListHead();
    // The entry itself is untouched.
    EXPECT_EQ((Ints{m.Word(0), m.RunListEnd, m.Word(16)}), (Ints{16, 16, 64}));
    m.ClearProject();
    EXPECT_TRUE(m.WordNameCache.empty());
    EXPECT_EQ(m.FirstEntry(), kNoEntry);
    EXPECT_EQ(m.EntryNames.size(), 1u); // the name table belongs to the document
}

struct FakeEditor : RouteEditorView {
    int route = 0, raised = 0, closed = 0, updated = 0, count = -1;
    void BringToTop() override { ++raised; }
    void CloseEditor() override {
        ++closed;
        projectService().ForgetRouteEditor(route);
    }
    void UpdateViews() override { ++updated; }
    void SetLineCount(int n) override { count = n; }
};

struct EditorUi : ScriptedUi {
    int created = 0;
    void OpenRouteEditorWindow() override { ++created; }
};

TEST(RouteEditors, OneEditorPerRouteFollowsTheActiveRouteAndTheProject) {
    EditorUi ui;
    ResetCore();
    ProjectService& s = projectService();
    FakeEditor a, b;
    a.route = 16;
    b.route = 64;
    s.OpenRouteEditor(16);
    EXPECT_EQ(s.editors.PendingEditorRoute, 16);
    s.editors.EnterRouteEditor(16, &a);
    s.OpenRouteEditor(16);
    s.editors.EnterRouteEditor(64, &b);
    s.SetActiveRoute(64);
    s.NotifyRouteEditor(5);
    s.RefreshProjectViews();
    s.CloseRouteEditor(16);
    // Windows created, a raised, line counts of b and a, views updated, a closed, editors left.
    EXPECT_EQ((Ints{ui.created, a.raised, b.count, a.count, a.updated + b.updated, a.closed,
                    int(s.editors.OpenRouteEditors.size())}),
              (Ints{1, 1, 5, -1, 2, 1, 1}));
    s.ClearProject();
    EXPECT_EQ(b.closed, 1);
    EXPECT_TRUE(s.editors.OpenRouteEditors.empty());
    ResetCore();
}

} // namespace
