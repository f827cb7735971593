#include "core/project/ProjectModel.h"
#include "core/app/CoreWiring.h"
#include "core/project/ProjectService.h"

#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

using namespace runlist;

namespace {

class ProjectModelTest : public ::testing::Test {
protected:
    static ProjectModel& FreshModel() {
        ResetCore();
        return projectModel();
    }
    ProjectModel& m = FreshModel();
    ProjectService& service = projectService();
    ScriptedUi ui;

    // A place named `name` with a Cartesian position.
    int AddPlace(const std::string& name) {
        const int p = m.AllocateEntry(kPlaceParagraphs, name);
        m.SetWord(p + kKind, kPlace);
        m.SetWord(p + kFixed, kFixedWord);
        PositionRecord pos;
        pos.code = poscode::kCartesian;
        pos.values[0] = 1234;
        m.SetRecord(p + kPlacePosition, pos);
        PositionRecord approach;
        approach.code = poscode::kCartesianRelative;
        m.SetRecord(p + kPlaceApproach, approach);
        return p;
    }

    int AddRoute(const std::string& name, int lines, int count = 0) {
        const int r = m.AllocateEntry(lines + 1, name);
        m.SetWord(r + kKind, kRoute);
        m.SetWord(r + kCount, static_cast<uint16_t>(count));
        m.SetWord(r + kFixed, kFixedWord);
        return r;
    }
};

} // namespace

TEST_F(ProjectModelTest, EmptyProjectHasHeadAndTerminatorOnly) {
    EXPECT_EQ(m.Word(0), 16);
    EXPECT_EQ(m.Word(4), 4);
    EXPECT_EQ(m.Word(12), 8);
    EXPECT_EQ(m.RunListEnd, 16);
    EXPECT_EQ(m.Word(16), 0);
    EXPECT_EQ(m.FirstEntry(), kNoEntry);
    EXPECT_EQ(m.FreeParagraphs(), 4093);
    EXPECT_EQ(m.EntryCount(), 0);
}

TEST_F(ProjectModelTest, PlaceAndRouteLayout) {
    const int p = AddPlace("P1");
    const int r = AddRoute("R1", 2);
    EXPECT_EQ(p, 16);
    EXPECT_EQ(r, 64);
    EXPECT_EQ(m.RunListEnd, 112);
    EXPECT_EQ(m.Word(16), 64);
    EXPECT_EQ(m.Word(64), 112);
    EXPECT_EQ(m.Word(64 + kNameIndex), 1);
    EXPECT_EQ(m.Word(112), 0);

    EXPECT_EQ(m.FirstEntry(), p);
    EXPECT_EQ(m.NextEntry(p), r);
    EXPECT_EQ(m.NextEntry(r), kNoEntry);
    EXPECT_EQ(m.FirstPlace(), p);
    EXPECT_EQ(m.NextPlace(p), kNoEntry);
    EXPECT_EQ(m.FirstRoute(), r);
    EXPECT_EQ(m.NextRoute(r), kNoEntry);
    EXPECT_EQ(m.FindEntry("R1"), r);
    EXPECT_EQ(m.FindEntry("r1"), kNoEntry);
    EXPECT_EQ(m.EntrySize(p), 48);
    EXPECT_EQ(m.RouteCapacity(r), 2);
    EXPECT_FALSE(m.RouteIsFull(r));
    EXPECT_EQ(m.FreeParagraphs(), (kImageSize - 112) / 16 - 2);
}

TEST_F(ProjectModelTest, ApproachAndHiddenEntries) {
    const int p = AddPlace("P1");
    EXPECT_FALSE(m.HasApproach(p));
    PositionRecord approach = m.Record(p + kPlaceApproach);
    approach.values[5] = -1;
    m.SetRecord(p + kPlaceApproach, approach);
    EXPECT_TRUE(m.HasApproach(p));

    const int r = AddRoute("_GEN", 1, 1);
    EXPECT_TRUE(m.IsHidden(r));
    EXPECT_FALSE(m.IsHidden(p));
    EXPECT_TRUE(m.RouteIsFull(r));
}

TEST_F(ProjectModelTest, RouteHeaderFields) {
    const int r = AddRoute("ROWS", 12, 3);
    EXPECT_EQ(m.GetRouteLayout(r), RouteLayout::General);
    m.SetByte(r + kColumns, 4);
    EXPECT_EQ(m.GetRouteLayout(r), RouteLayout::Row);
    m.SetByte(r + kRows, 3);
    EXPECT_EQ(m.GetRouteLayout(r), RouteLayout::Grid);
    EXPECT_EQ(m.RouteRows(r), 3);
    EXPECT_EQ(m.RouteColumns(r), 4);

    PositionRecord line;
    line.values[0] = -7;
    line.values[5] = 300;
    m.SetRecord(m.LineOffset(r, 2), line);
    const auto d = m.LineAsDoubles(r, 2);
    EXPECT_DOUBLE_EQ(d[0], -7.0);
    EXPECT_DOUBLE_EQ(d[5], 300.0);
}

TEST_F(ProjectModelTest, RouteSummaryColumns) {
    const int r = AddRoute("AB", 10, 2);
    EXPECT_EQ(m.RouteSummary(r), "AB      "
                                 "Joint   "
                                 "Gen  "
                                 "Abs "
                                 "   10"
                                 "    2");
    const int r2 = AddRoute("LONGNAME10", 3, 1);
    m.SetWord(r2 + kMode, 1);
    m.SetWord(r2 + kRelative, kRelativeFlag);
    m.SetByte(r2 + kRows, 2);
    m.SetByte(r2 + kColumns, 2);
    EXPECT_EQ(m.RouteSummary(r2), "LONGNAME"
                                  "Cart    "
                                  "Grid "
                                  "Rel "
                                  "    3"
                                  "    1");
}

TEST_F(ProjectModelTest, AllocationUpToTheLimit) {
    // Fill up to one paragraph below the limit, then take exactly the last one.
    const int paragraphs = (kAllocationLimit - m.RunListEnd) / kParagraph;
    ASSERT_NE(service.AllocateEntry(paragraphs - 1, "BIG"), kNoEntry);
    const int before = m.RunListEnd;
    const auto image = m.RunList;

    EXPECT_EQ(service.AllocateEntry(2, "TOOBIG"), kNoEntry);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], "Insufficient space for run-list");
    EXPECT_EQ(m.RunListEnd, before);
    EXPECT_EQ(m.RunList, image);
    EXPECT_EQ(m.EntryNames.size(), 1u);

    EXPECT_EQ(service.AllocateEntry(1, "LAST"), before);
    EXPECT_EQ(m.RunListEnd, kAllocationLimit);
    EXPECT_EQ(m.Word(kAllocationLimit), 0);
    EXPECT_EQ(m.EntryNames.size(), 2u);
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST_F(ProjectModelTest, LinkConversionsRoundTrip) {
    AddPlace("P");
    AddRoute("R", 5);
    AddPlace("Q");
    const auto image = m.RunList;

    m.LinksToRelative();
    EXPECT_EQ(m.Word(0), 16);
    EXPECT_EQ(m.Word(16), 48);
    EXPECT_EQ(m.Word(64), 96);
    EXPECT_EQ(m.Word(160), 48);
    EXPECT_EQ(m.Word(208), 0);

    m.LinksToAbsolute();
    EXPECT_EQ(m.RunList, image);
}

TEST_F(ProjectModelTest, RelativeLinksFollowABlockMove) {
    // Remove the middle entry the way a delete does: relative links, move the tail down, absolute.
    AddPlace("P");
    const int r = AddRoute("R", 5);
    const int q = AddPlace("Q");
    const int size = m.EntrySize(r);
    m.LinksToRelative();
    std::copy(m.RunList.begin() + q, m.RunList.begin() + m.RunListEnd + 2, m.RunList.begin() + r);
    m.RunListEnd -= size;
    m.LinksToAbsolute();

    EXPECT_EQ(m.NextEntry(m.FirstEntry()), r);
    EXPECT_EQ(m.Word(r), r + 48);
    EXPECT_EQ(m.NextEntry(r), kNoEntry);
    EXPECT_EQ(m.Word(m.RunListEnd), 0);
}

TEST_F(ProjectModelTest, CorruptLinksDoNotLoop) {
    AddPlace("P");
    m.SetWord(16, 16); // points at itself
    EXPECT_EQ(m.NextEntry(16), kNoEntry);
    // The walks end even though the list does not.
    m.LinksToRelative();
    m.LinksToAbsolute();
    EXPECT_LE(m.EntryCount(), kImageSize / kParagraph);
}

TEST_F(ProjectModelTest, ResetAndClear) {
    AddPlace("P");
    m.WordNameCache[100] = "FOO";
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

TEST_F(ProjectModelTest, RenumberNamesFollowsListOrder) {
    const int p = AddPlace("A");
    const int r = AddRoute("B", 1);
    m.SetWord(p + kNameIndex, 7);
    m.SetWord(r + kNameIndex, 9);
    m.RenumberNames();
    EXPECT_EQ(m.Word(p + kNameIndex), 0);
    EXPECT_EQ(m.Word(r + kNameIndex), 1);
}

TEST_F(ProjectModelTest, HighWordAddressesAreNotQueried) {
    EXPECT_EQ(service.WordName(0xA000), "word");
    EXPECT_EQ(m.WordNameCache.count(0xA000), 1u);
    EXPECT_TRUE(ui.boxTexts.empty());
}

namespace {

struct FakeEditor : RouteEditorView {
    RouteEditorRegistry* registry = nullptr;
    int route = 0;
    int raised = 0, closed = 0, updated = 0, count = -1;
    void BringToTop() override { ++raised; }
    void CloseEditor() override {
        ++closed;
        registry->ForgetRouteEditor(route);
    }
    void UpdateViews() override { ++updated; }
    void SetLineCount(int n) override { count = n; }
};

struct EditorUi : ScriptedUi {
    int created = 0;
    void OpenRouteEditorWindow() override { ++created; }
};

} // namespace

TEST(RouteEditorRegistryTest, OneEditorPerRoute) {
    EditorUi ui;
    ResetCore();
    ProjectService& s = projectService();
    FakeEditor a, b;
    a.registry = b.registry = &s.editors;
    a.route = 16;
    b.route = 64;

    s.OpenRouteEditor(16);
    EXPECT_EQ(ui.created, 1);
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
    EXPECT_EQ(a.updated, 1);
    EXPECT_EQ(b.updated, 1);

    s.CloseRouteEditor(16);
    EXPECT_EQ(a.closed, 1);
    EXPECT_EQ(s.editors.OpenRouteEditors.size(), 1u);
    s.ClearProject();
    EXPECT_EQ(b.closed, 1);
    EXPECT_TRUE(s.editors.OpenRouteEditors.empty());
}
