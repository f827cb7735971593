#include "core/project/PlacesRoutesExport.h"
#include "support/FixedArm.h"
#include "support/ProjectTestSupport.h"

using namespace runlist;

namespace {

class ExportTest : public ProjectTest {
protected:
    void SetLine(int r, int n, uint16_t code, std::vector<int16_t> values) {
        PositionRecord rec;
        rec.code = code;
        std::copy(values.begin(), values.end(), rec.values);
        model.SetRecord(model.LineOffset(r, n), rec);
        model.SetWord(r + kCount, static_cast<uint16_t>(std::max(n, model.LineCount(r))));
    }
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
    ui.savePath = Path("cell.csv");
    ExportPlacesAndRoutes();
    EXPECT_EQ(ReadFile(QPath("cell.csv")).toStdString(), expected);
    ui.savePath = Path("missing/cell.csv");
    ExportPlacesAndRoutes();
    EXPECT_EQ(ui.messages, std::vector<std::string>{ui.savePath + " could not be written"});

    // With the link down a word not known yet is not asked for: its address stands in.
    model.WordNameCache.clear();
    protocol().ReplyState = reply::kNotOpen;
    EXPECT_NE(PlacesAndRoutesCsv().find("R,Route,3,Function,4660,7,,\r\n"), std::string::npos);
    EXPECT_EQ(ui.messages.size(), 1u);
}

} // namespace
