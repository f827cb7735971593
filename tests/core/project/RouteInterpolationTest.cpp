#include "core/project/RouteInterpolation.h"

#include <gtest/gtest.h>

namespace {

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
