#include "core/robot/PositionValues.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <iomanip>
#include <locale>
#include <sstream>

namespace {

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// Numbers are always written and read with a point, whatever the desktop's locale says.
std::string OneDecimal(float x) {
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << std::fixed << std::setprecision(1) << static_cast<double>(x);
    return out.str();
}

std::string BoundText(float x) {
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << static_cast<double>(x);
    return out.str();
}

bool ParseDouble(const std::string& text, double& value) {
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    in >> value;
    return !in.fail() && in.eof();
}

} // namespace

std::string OneDecimalText(float x) {
    return OneDecimal(x);
}

double CartesianLimit(int row) {
    return row < 3 ? 3276.0 : 360.0;
}

const char* CartesianUnit(int row) {
    return row < 3 ? "mm" : "degrees";
}

int TenthsFromReal(float x) {
    return static_cast<int>(std::floor(static_cast<double>(x) * 10.0 + 0.1));
}

std::string TenthsText(std::int16_t tenths) {
    return OneDecimal(static_cast<float>(tenths) * 0.1f);
}

int JogIncrementFromMillimetres(double millimetres) {
    return static_cast<int>(std::trunc(millimetres * 10.0 + 0.001));
}

std::string JogIncrementText(int increment) {
    return OneDecimal(static_cast<float>(increment) / 10.0f);
}

bool ReadIntegerField(const std::string& text, long min, long max, long& value, std::string& message) {
    const std::string t = Trimmed(text);
    const std::string range =
        "Please enter an integer between " + std::to_string(min) + " and " + std::to_string(max) + ".";
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(t.c_str(), &end, 10);
    if (t.empty() || *end != '\0') {
        message = "Please enter an integer.";
        return false;
    }
    if (errno == ERANGE || v < min || v > max) {
        message = range;
        return false;
    }
    value = v;
    return true;
}

bool ReadRealField(const std::string& text, float min, float max, float& value, std::string& message) {
    const std::string t = Trimmed(text);
    double d = 0;
    if (t.empty() || !ParseDouble(t, d) || !std::isfinite(d)) {
        message = "Please enter a number.";
        return false;
    }
    const float x = static_cast<float>(d);
    if (!(x >= min && x <= max)) {
        message = "Please enter a number between " + BoundText(min) + " and " + BoundText(max) + ".";
        return false;
    }
    value = x;
    return true;
}
