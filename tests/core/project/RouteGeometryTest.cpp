#include "core/project/ContourLine.h"
#include "core/project/RouteGenerator.h"
#include "core/project/RouteInterpolation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>

namespace {

// Route lines from a text such as "INC 10; ARA 50 90": a line kind and its values in millimetres and
// degrees. POS is a Cartesian position, JNT a joint one, REL a relative one, FN a word call, "?" a
// contour code with no function.
std::vector<PositionRecord> Program(const std::string& text) {
    static const std::map<std::string, uint16_t> codes = {{"POS", 2},  {"JNT", 0},  {"REL", 3},
                                                          {"ARA", 16}, {"SDP", 17}, {"LIN", 18},
                                                          {"INC", 19}, {"?", 23},   {"FN", 40000}};
    std::vector<PositionRecord> program;
    std::istringstream lines(text);
    for (std::string line, kind; std::getline(lines, line, ';');) {
        std::istringstream words(line);
        program.emplace_back();
        words >> kind;
        program.back().code = codes.at(kind);
        double x;
        for (int i = 0; words >> x; ++i)
            program.back().values[i] = static_cast<int16_t>(std::lround(x * 10));
    }
    return program;
}

using Grid = std::vector<std::vector<int>>;

// The first `axes` values of each line as a route line stores them; the line's code stays.
Grid Stored(const std::vector<LineValues>& lines, int axes) {
    Grid stored;
    for (const LineValues& values : lines) {
        PositionRecord line;
        line.code = 3;
        SetLineFromDoubles(line, values);
        EXPECT_EQ(line.code, 3);
        stored.emplace_back(line.values, line.values + axes);
    }
    return stored;
}

} // namespace

TEST(RouteGeneratorTest, Walks) {
    // The program, the route's capacity, the points wanted, the line of an incomplete SDP frame, the lines.
    const std::tuple<const char*, int, int64_t, int, const char*> cases[] = {
        // 100 mm at 30 mm: ceil(100 / 30) = 4 steps of 25 mm from (0, 100, 0); then 2 more that do not fit.
        {"LIN 100", 4, 4, 0, "POS 25 100; POS 50 100; POS 75 100; POS 100 100"},
        {"LIN 100; LIN 60", 3, 6, 0, "POS 25 100; POS 50 100; POS 75 100"},
        // Ten steps of 0.29 mm; 0.29 in single precision is 0.2899999917: x is stored as 2 tenths.
        {"INC 0.3; LIN 2.9", 1, 10, 0, "POS .2 100"},
        // ceil(50 x pi / 2 / 10) = 8 points at (50 sin(j pi / 16), 150 - 50 cos(j pi / 16)), each stored as
        // floor(10 v + 0.1); then 2 along the turned direction (0, 1, 0).
        {"INC 10; ARA 50 90; LIN 20", 20, 10, 0,
         "POS 9.7 100.9; POS 19.1 103.8; POS 27.7 108.4; POS 35.3 114.6; POS 41.5 122.2; POS 46.2 130.8;"
         "POS 49 140.2; POS 50 150; POS 50 160; POS 50 170"},
        // Start (10, 20, 30), direction +y, left point off by (-4, 9, 3): left = (-0.8, 0, 0.6). LIN 20 in
        // one step, then ARA r 10 over 180 degrees in 2 steps around (2, 40, 36).
        {"SDP; POS 10 20 30 .1 .2 .3; POS 10 30 30; POS 6 29 33; LIN 20; ARA 10 180", 10, 4, 0,
         "POS 10 20 30 .1 .2 .3; POS 10 40 30 .1 .2 .3; POS 2 50 36 .1 .2 .3; POS -6 40 42 .1 .2 .3"},
        // Step 0 emits nothing, but the arc still turns the frame to D = (0, 1, 0).
        {"INC 0; LIN 100; ARA 50 90; INC 10; LIN 10", 10, 1, 0, "POS 0 110"},
        {"POS 5 5 5; LIN 30; JNT 1; REL 1; ? 50; FN 50; LIN -10; LIN 30", 10, 2, 0, "POS 30 100; POS 60 100"},
        {"LIN 30; SDP; POS 1 2 3; POS 4 5 6", 10, 1, 2, "POS 30 100"},
    };
    for (const auto& [program, capacity, wanted, incompleteFrameLine, expected] : cases) {
        SCOPED_TRACE(program);
        const GeneratedRoute route = GenerateRoute(Program(program), capacity);
        EXPECT_EQ(route.lines, Program(expected));
        EXPECT_EQ(std::make_tuple(route.wantedPoints, route.incompleteFrameLine),
                  std::make_tuple(wanted, incompleteFrameLine));
        EXPECT_EQ(GenerateRoute(Program(program), capacity).lines, route.lines);
    }
}

TEST(ContourLineTest, Encoding) {
    const std::pair<double, int> tenths[] = {{2.5, 25},          {-2.5, -25},   {0.28, 2},
                                             {0.28999999995, 3}, {5000, 32767}, {-5000, -32768}};
    for (const auto& [x, t] : tenths)
        EXPECT_EQ(ContourTenths(x), t) << x;
    for (int t = -32768; t <= 32767; ++t)
        ASSERT_EQ(ContourTenths(ContourParameter(static_cast<int16_t>(t))), t);

    PositionRecord line = Program("POS .1 .2 .3 .4 .5 .6")[0];
    SetContourLine(line, contour::kLine, 12.5, -0.5);
    EXPECT_EQ(line, Program("LIN 12.5 -.5 .3 .4 .5 .6")[0]);
    EXPECT_EQ(ContourColumnTexts(line), (std::array<std::string, 3>{"LIN", "12.5", "-0.5"}));
    EXPECT_EQ(ContourColumnTexts(Program("?")[0])[0], "_");
}

TEST(RouteInterpolationTest, RowsAndGrids) {
    // One axis from 0 to 1000, and two whose quarter steps land on halves: rounded away from zero. A one-row
    // grid is a row and a one-column grid runs from its first line to its last, for both interpolations.
    const std::vector<LineValues> line5 = {{0, 0, 0}, {9, 9, 9}, {9, 9, 9}, {9, 9, 9}, {1000, 2, -2}};
    const Grid row = {{0, 0, 0}, {250, 1, -1}, {500, 1, -1}, {750, 2, -2}, {1000, 2, -2}};
    for (auto [rows, columns] : {std::pair{0, 5}, {1, 5}, {5, 1}}) {
        EXPECT_EQ(Stored(InterpolateGrid(line5, rows, columns), 3), row) << rows << "x" << columns;
        EXPECT_EQ(Stored(InterpolateCorners(line5, rows, columns), 3), row) << rows << "x" << columns;
    }
    EXPECT_TRUE(InterpolateGrid(line5, 2, 3).empty());
    EXPECT_TRUE(InterpolateCorners(line5, 3, 0).empty());

    // Corners 0 (line 1), 300 (line 3), 600 (line 7), 1200 (line 9); line 10 lies after the grid.
    const std::vector<LineValues> grid = {{0}, {9}, {300}, {9}, {9}, {9}, {600}, {9}, {1200}, {9}};
    // Bilinear: the centre is the mean of the corners, (0 + 300 + 600 + 1200) / 4.
    EXPECT_EQ(Stored(InterpolateCorners(grid, 3, 3), 1),
              (Grid{{0}, {150}, {300}, {300}, {525}, {750}, {600}, {900}, {1200}}));
    // Three points: A (1 - v) + B (v - u) + Z u; the fourth corner is Z + A - B = 900.
    EXPECT_EQ(Stored(InterpolateGrid(grid, 3, 3), 1),
              (Grid{{0}, {150}, {300}, {450}, {600}, {750}, {900}, {1050}, {1200}}));
    EXPECT_EQ(Stored({{32767.5, -40000, 2.5, -2.5, 2.49, -0.5}}, 6), (Grid{{32767, -32768, 3, -3, 2, -1}}));
}
