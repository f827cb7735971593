#include "core/project/ProjectModel.h"
#include "core/app/CoreWiring.h"
#include "core/project/ProjectFiles.h"
#include "core/project/ProjectService.h"
#include "support/CoreTest.h"
#include "support/ImageBuilder.h"

using namespace runlist;

namespace {

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

TEST_F(ProjectModelTest, AnEmptyImageHoldsTheHeadAndTheTerminatorOnly) {
    EXPECT_EQ(RunFileBytes(m), QByteArray("\x10\0\0\0\x04\0\0\0\0\0\0\0\x08\0\0\0\0\0", 18));
    EXPECT_EQ(m.FirstEntry(), kNoEntry);
    EXPECT_EQ(m.FreeParagraphs(), 4093);
    EXPECT_EQ(m.EntryCount(), 0);
}

TEST_F(ProjectModelTest, EntriesAreWalkedByKindAndNameAndTheirFieldsRead) {
    Load(ImageBuilder()
             .Place("P1", Record({1234}, 2))
             .Route("R1", 2, {Record({-7, 0, 0, 0, 0, 300})})
             .Place("P2", Record({}), Record({0, 0, 0, 0, 0, -1}, 3))
             .Route("_GEN", 1, {Record({})}));
    EXPECT_EQ(m.FirstEntry(), 16);
    EXPECT_EQ(m.NextEntry(16), 64);
    EXPECT_EQ(m.FirstPlace(), 16);
    EXPECT_EQ(m.NextPlace(16), 112);
    EXPECT_EQ(m.NextPlace(112), kNoEntry);
    EXPECT_EQ(m.FirstRoute(), 64);
    EXPECT_EQ(m.NextRoute(64), 160);
    EXPECT_EQ(m.FindEntry("P2"), 112);
    EXPECT_EQ(m.FindEntry("p2"), kNoEntry);
    EXPECT_EQ(m.EntryCount(), 4);
    EXPECT_EQ(m.EntrySize(16), 48);
    EXPECT_EQ(m.RouteCapacity(64), 2);
    EXPECT_FALSE(m.RouteIsFull(64));
    EXPECT_TRUE(m.RouteIsFull(160));
    EXPECT_FALSE(m.HasApproach(16));
    EXPECT_TRUE(m.HasApproach(112));
    EXPECT_TRUE(m.IsHidden(160));
    EXPECT_FALSE(m.IsHidden(16));
    EXPECT_EQ(m.LineAsDoubles(64, 1)[5], 300.0);
    EXPECT_EQ(m.FreeParagraphs(), (kImageSize - 192) / 16 - 2);

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
    EXPECT_EQ(m.Word(16 + kNameIndex), 0);
    EXPECT_EQ(m.Word(160 + kNameIndex), 3);
}

TEST_F(ProjectModelTest, AllocationStopsAtTheLimitWithAMessageAndChangesNothing) {
    const int paragraphs = (kAllocationLimit - m.RunListEnd) / kParagraph;
    ASSERT_NE(service.AllocateEntry(paragraphs - 1, "BIG"), kNoEntry);
    const int before = m.RunListEnd;
    const auto image = m.RunList;
    EXPECT_EQ(service.AllocateEntry(2, "TOOBIG"), kNoEntry);
    EXPECT_EQ(ui.messages, std::vector<std::string>{"Insufficient space for run-list"});
    EXPECT_EQ(m.RunList, image);
    EXPECT_EQ(m.EntryNames.size(), 1u);
    EXPECT_EQ(service.AllocateEntry(1, "LAST"), before);
    EXPECT_EQ(m.RunListEnd, kAllocationLimit);
    EXPECT_EQ(m.Word(kAllocationLimit), 0);
    EXPECT_EQ(m.Word(before + kNameIndex), 1);
}

TEST_F(ProjectModelTest, RelativeLinksFollowABlockMoveAndCorruptLinksDoNotLoop) {
    Load(ImageBuilder().Place("P", Record({})).Route("R", 5).Place("Q", Record({})));
    const auto image = m.RunList;
    m.LinksToRelative();
    EXPECT_EQ(m.Word(0), 16);
    EXPECT_EQ(m.Word(64), 96);
    EXPECT_EQ(m.Word(208), 0);
    m.LinksToAbsolute();
    EXPECT_EQ(m.RunList, image);
    // Removing the route the way a delete does: relative links, move the tail down, absolute links.
    m.LinksToRelative();
    std::copy(m.RunList.begin() + 160, m.RunList.begin() + 210, m.RunList.begin() + 64);
    m.RunListEnd -= 96;
    m.LinksToAbsolute();
    EXPECT_EQ(m.NextEntry(16), 64);
    EXPECT_EQ(m.Word(64), 112);
    EXPECT_EQ(m.NextEntry(64), kNoEntry);

    m.SetWord(16, 16); // points at itself
    EXPECT_EQ(m.NextEntry(16), kNoEntry);
    m.LinksToRelative();
    m.LinksToAbsolute();
    EXPECT_LE(m.EntryCount(), kImageSize / kParagraph);
}

TEST_F(ProjectModelTest, ClearingEmptiesTheImageAndTheWordNamesAreAskedOnce) {
    Load(ImageBuilder().Place("P", Record({})));
    const std::string grip = controller.Run("DECIMAL FIND GRIP .").substr(20);
    const int code = std::stoi(grip);
    Sent();
    EXPECT_EQ(service.WordName(static_cast<uint16_t>(code)), "GRIP");
    EXPECT_EQ(service.WordName(static_cast<uint16_t>(code)), "GRIP");
    EXPECT_EQ(service.WordName(0xA000), "word");
    EXPECT_EQ(Sent(), std::vector<std::string>{std::to_string(code + 2) + " NAME"});
    m.SetWord(0, 99);
    m.ResetRunListHead();
    EXPECT_EQ(m.Word(0), 16);
    EXPECT_EQ(m.RunListEnd, 16);
    EXPECT_EQ(m.Word(16), 64); // the entry itself is untouched
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
    EXPECT_EQ(ui.created, 1);
    EXPECT_EQ(a.raised, 1);
    s.editors.EnterRouteEditor(64, &b);
    s.SetActiveRoute(64);
    s.NotifyRouteEditor(5);
    EXPECT_EQ(b.count, 5);
    EXPECT_EQ(a.count, -1);
    s.RefreshProjectViews();
    EXPECT_EQ(a.updated + b.updated, 2);
    s.CloseRouteEditor(16);
    EXPECT_EQ(a.closed, 1);
    EXPECT_EQ(s.editors.OpenRouteEditors.size(), 1u);
    s.ClearProject();
    EXPECT_EQ(b.closed, 1);
    EXPECT_TRUE(s.editors.OpenRouteEditors.empty());
    ResetCore();
}

} // namespace
