#pragma once

#include <cstdint>
#include <string>

// Conversions between the numbers an operator types and the integers the controller keeps.
// Cartesian values are kept in tenths: of a millimetre on axes 1 to 3, of a degree on axes 4 to 6.
// The jog increment is kept in tenths of a millimetre.

// Cartesian row limits (rows counted from 0): +-3276 mm on the first three, +-360 degrees after.
double CartesianLimit(int row);
// Unit label of a Cartesian row: "mm" or "degrees".
const char* CartesianUnit(int row);

// An entered real stored in tenths: floor(x * 10 + 0.1) with x in single precision, so that a
// typed value whose binary form falls just short (12.34) still lands on the tenth the operator meant.
int TenthsFromReal(float x);
// A stored tenth shown as "%.1f" of value * 0.1 (single precision).
std::string TenthsText(std::int16_t tenths);

// A number shown with one decimal ("%.1f"), always with a point.
std::string OneDecimalText(float x);

// The jog step in tenths of a millimetre: trunc(millimetres * 10 + 0.001).
int JogIncrementFromMillimetres(double millimetres);
// The jog step shown in millimetres, "%.1f" of increment / 10 (single precision).
std::string JogIncrementText(int increment);

// A field's text read as an integer within min..max (inclusive). False with `message` set to the
// text to show the operator when the text is not an integer or lies outside the range.
bool ReadIntegerField(const std::string& text, long min, long max, long& value, std::string& message);
// A field's text read as a single-precision number within min..max (inclusive), as above.
bool ReadRealField(const std::string& text, float min, float max, float& value, std::string& message);
