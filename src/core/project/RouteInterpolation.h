#pragma once

#include "core/protocol/PositionRecord.h"

#include <array>
#include <vector>

// The six values of a route line as reals, as interpolation works on them.
using LineValues = std::array<double, 6>;

// Interpolation over a row or grid route of `rows` rows and `columns` positions per row (rows 0 for
// a row route). `lines` are the route's lines from line 1 as reals; the result holds the new values
// of lines 1 to rows x columns (1 to columns for a row route), to be written back with
// SetLineFromDoubles; lines after the grid, codes and the count are not the interpolation's business.
// The result is empty when there are no columns or `lines` holds fewer lines than the grid.
// A single row or a single column lies at fraction 0 along that direction, so the formulas never
// divide by zero: one row is interpolated like a row route, one column between its first and last line.

// Bilinear over the four corners: lines 1, columns, (rows - 1) x columns + 1 and rows x columns.
// A row route counts as one row.
std::vector<LineValues> InterpolateCorners(const std::vector<LineValues>& lines, int rows, int columns);
// Over three points: line 1 (A) and line `columns` (B) span the first row, line rows x columns (Z)
// ends the last one; line = A (1 - v) + B (v - u) + Z u, which makes the fourth corner Z + A - B.
// A row route runs from A to B.
std::vector<LineValues> InterpolateGrid(const std::vector<LineValues>& lines, int rows, int columns);

LineValues LineAsDoubles(const PositionRecord& line);
// Each value rounded half away from zero and clamped to the 16-bit range (a non-number gives 0);
// the code and the last word are left alone.
void SetLineFromDoubles(PositionRecord& line, const LineValues& values);
