#include "core/project/RouteInterpolation.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// The fraction of position `index` among `count` positions; a single position lies at 0.
double Fraction(int index, int count) {
    return count > 1 ? static_cast<double>(index) / (count - 1) : 0.0;
}

// Runs `valueAt(u, v)` over every position of a grid of `rows` x `columns`, row by row.
template <typename ValueAt> std::vector<LineValues> OverGrid(int rows, int columns, ValueAt valueAt) {
    std::vector<LineValues> result;
    result.reserve(static_cast<std::size_t>(rows) * columns);
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < columns; ++j) {
            const double u = Fraction(i, rows), v = Fraction(j, columns);
            LineValues line;
            for (int k = 0; k < 6; ++k)
                line[k] = valueAt(k, u, v);
            result.push_back(line);
        }
    return result;
}

bool HoldsGrid(const std::vector<LineValues>& lines, int rows, int columns) {
    return columns > 0 && rows >= 0 && lines.size() >= static_cast<std::size_t>(std::max(rows, 1)) * columns;
}

std::int16_t RoundToInt16(double x) {
    const double r = std::round(x);
    if (std::isnan(r))
        return 0;
    if (r <= std::numeric_limits<std::int16_t>::min())
        return std::numeric_limits<std::int16_t>::min();
    if (r >= std::numeric_limits<std::int16_t>::max())
        return std::numeric_limits<std::int16_t>::max();
    return static_cast<std::int16_t>(r);
}

} // namespace

std::vector<LineValues> InterpolateCorners(const std::vector<LineValues>& lines, int rows, int columns) {
    if (!HoldsGrid(lines, rows, columns))
        return {};
    rows = std::max(rows, 1);
    const LineValues& p1 = lines[0];
    const LineValues& p2 = lines[columns - 1];
    const LineValues& p3 = lines[(rows - 1) * columns];
    const LineValues& p4 = lines[rows * columns - 1];
    return OverGrid(rows, columns, [&](int k, double u, double v) {
        return p1[k] * (1 - v) * (1 - u) + p3[k] * (1 - v) * u + p2[k] * v * (1 - u) + p4[k] * v * u;
    });
}

std::vector<LineValues> InterpolateGrid(const std::vector<LineValues>& lines, int rows, int columns) {
    if (!HoldsGrid(lines, rows, columns))
        return {};
    const LineValues& a = lines[0];
    const LineValues& b = lines[columns - 1];
    if (rows == 0)
        return OverGrid(1, columns, [&](int k, double, double v) { return a[k] * (1 - v) + b[k] * v; });
    const LineValues& z = lines[rows * columns - 1];
    return OverGrid(rows, columns,
                    [&](int k, double u, double v) { return a[k] * (1 - v) + b[k] * (v - u) + z[k] * u; });
}

LineValues LineAsDoubles(const PositionRecord& line) {
    LineValues values;
    for (int k = 0; k < 6; ++k)
        values[k] = line.values[k];
    return values;
}

void SetLineFromDoubles(PositionRecord& line, const LineValues& values) {
    for (int k = 0; k < 6; ++k)
        line.values[k] = RoundToInt16(values[k]);
}
