#pragma once

#include "core/protocol/PositionRecord.h"

#include <array>
#include <cstdint>
#include <string>

// Contour lines of a generator route: code 16 + k, where k is one of the contour functions below;
// value 0 and value 1 hold the function's two parameters in tenths (millimetres or degrees).
namespace contour {
constexpr int kArc = 0;       // ARA: radius, angle
constexpr int kFrame = 1;     // SDP: start, direction and left points on the next three lines
constexpr int kLine = 2;      // LIN: length
constexpr int kIncrement = 3; // INC: step
constexpr int kFunctionCount = 4;
} // namespace contour

// The texts of the "Contour function" list and the short names of the route editor's list, by code.
extern const std::array<const char*, contour::kFunctionCount> kContourFunctionTexts;
extern const std::array<const char*, contour::kFunctionCount> kContourNames;

// The short name of a contour code, or "_" for a code with no function.
const char* ContourName(int code);

// A real parameter in tenths: floor(x * 10 + 0.1) with the bias taken as the single-precision 0.1,
// so that a value whose binary form falls just short of a tenth lands on it. Results beyond the
// 16-bit range are clamped to it; a non-number gives 0.
std::int16_t ContourTenths(double x);
// A stored tenth back as the real the dialog shows and edits.
double ContourParameter(std::int16_t tenths);

// The contour code of a line (its code - 16), or -1 for a position line.
int ContourCode(const PositionRecord& line);
// Makes `line` the contour function `code` with parameters a and b; values 2 to 5 are left alone.
void SetContourLine(PositionRecord& line, int code, double a, double b);

// The route editor's columns 1 to 3 for a contour line: the short name, then parameters A and B
// as "%.1f".
std::array<std::string, 3> ContourColumnTexts(const PositionRecord& line);
