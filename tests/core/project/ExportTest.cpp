#include "core/project/PlacesRoutesExport.h"
#include "core/project/ProjectModel.h"
#include "core/project/ProjectService.h"
#include "core/protocol/Protocol.h"
#include "support/CoreTest.h"
#include "support/FixedArm.h"
#include "support/ImageBuilder.h"

using namespace runlist;

namespace {

class ExportTest : public CoreTest {
protected:
    // A Cartesian place at (250, 0, -10) with a zero approach.
    int AddPlace(const std::string& name) {
        const int p = projectService().AllocateEntry(kPlaceParagraphs, name);
        model.SetWord(p + kKind, kPlace);
        model.SetRecord(p + kPlacePosition, ImageBuilder::Record({2500, 0, -100}, poscode::kCartesian));
        model.SetRecord(p + kPlaceApproach, ImageBuilder::Record({}, poscode::kCartesianRelative));
        return p;
    }
    int AddRoute(const std::string& name, int lines) {
        const int r = projectService().AllocateEntry(lines + 1, name);
        model.SetWord(r + kKind, kRoute);
        return r;
    }
    void SetLine(int r, int n, uint16_t code, std::vector<int16_t> values) {
        PositionRecord rec;
        rec.code = code;
        std::copy(values.begin(), values.end(), rec.values);
        model.SetRecord(model.LineOffset(r, n), rec);
        model.SetWord(r + kCount, static_cast<uint16_t>(std::max(n, model.LineCount(r))));
    }
    ProjectModel& model = projectModel();
    FixedArm arm{4, 3};
};

TEST_F(ExportTest, PlacesApproachesAndEveryKindOfRouteLineAsTheWindowsShowThem) {
    AddPlace("P1");
    const int quoted = AddPlace("a,\"b");
    model.SetWord(quoted + kPlaceApproach + 2, 15);
    const int r = AddRoute("R", 4);
    SetLine(r, 1, poscode::kJoint, {1, 2, 3, 4});
    SetLine(r, 2, poscode::kCartesianRelative, {10, 20, 30});
    SetLine(r, 3, 0x1234, {7});
    model.WordNameCache[0x1234] = "GRIP";
    const int grid = AddRoute("G", 2);
    model.SetByte(grid + kRows, 1);
    model.SetByte(grid + kColumns, 2);
    SetLine(grid, 1, poscode::kJoint, {5});
    SetLine(AddRoute("_c", 1), 1, poscode::kContourBase + 2, {100, 50});

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

} // namespace
