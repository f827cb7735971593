#include "core/project/ContourLine.h"

#include <cmath>
#include <cstdio>
#include <limits>

const std::array<const char*, contour::kFunctionCount> kContourFunctionTexts = {
    "ARA Arc Radius Angle", "SDP Start, Dir, Left Point", "LIN Line len", "INC increment(mm)"};
const std::array<const char*, contour::kFunctionCount> kContourNames = {"ARA", "SDP", "LIN", "INC"};

namespace {

std::string OneDecimal(double x) {
    char text[48];
    std::snprintf(text, sizeof text, "%.1f", x);
    return text;
}

} // namespace

const char* ContourName(int code) {
    return code >= 0 && code < contour::kFunctionCount ? kContourNames[code] : "_";
}

std::int16_t ContourTenths(double x) {
    const double tenths = std::floor(x * 10.0 + static_cast<double>(0.1f));
    if (std::isnan(tenths))
        return 0;
    if (tenths <= std::numeric_limits<std::int16_t>::min())
        return std::numeric_limits<std::int16_t>::min();
    if (tenths >= std::numeric_limits<std::int16_t>::max())
        return std::numeric_limits<std::int16_t>::max();
    return static_cast<std::int16_t>(tenths);
}

double ContourParameter(std::int16_t tenths) {
    return tenths * 0.1;
}

int ContourCode(const PositionRecord& line) {
    return IsPositionCode(line.code) ? -1 : line.code - poscode::kContourBase;
}

void SetContourLine(PositionRecord& line, int code, double a, double b) {
    line.code = static_cast<std::uint16_t>(poscode::kContourBase + code);
    line.values[0] = ContourTenths(a);
    line.values[1] = ContourTenths(b);
}

std::array<std::string, 3> ContourColumnTexts(const PositionRecord& line) {
    return {ContourName(ContourCode(line)), OneDecimal(ContourParameter(line.values[0])),
            OneDecimal(ContourParameter(line.values[1]))};
}
