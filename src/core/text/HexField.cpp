#include "core/text/HexField.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace hexfield {
namespace {

// Only the first 63 characters of a field are looked at.
constexpr size_t kFieldChars = 63;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

std::string FormatHex(unsigned value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%x", value);
    return buffer;
}

bool ParseHex(const std::string& text, unsigned& value) {
    const std::string field = text.substr(0, kFieldChars);
    const char* p = field.c_str();
    while (IsBlank(*p))
        ++p;
    char* end = nullptr;
    errno = 0;
    const unsigned long v = std::strtoul(p, &end, 16);
    // A result of 0 counts only when the number itself starts with "0" (rejects "", "x", "+0", "-").
    if (v == 0 && *p != '0')
        return false;
    while (IsBlank(*end))
        ++end;
    if (*end != '\0')
        return false;
    if (errno == ERANGE || v > kMaximum)
        return false;
    value = static_cast<unsigned>(v);
    return true;
}

} // namespace hexfield
