#include "core/app/WindowPlacement.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// Splits on commas; every field must be a whole decimal integer (blanks around it allowed).
bool ParseFields(const std::string& text, std::vector<long>& values) {
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        const std::string field = text.substr(start, comma == std::string::npos ? comma : comma - start);
        const char* begin = field.c_str();
        char* end = nullptr;
        errno = 0;
        const long value = std::strtol(begin, &end, 10);
        if (end == begin || errno == ERANGE)
            return false;
        while (*end == ' ' || *end == '\t')
            ++end;
        if (*end != '\0')
            return false;
        values.push_back(value);
        if (comma == std::string::npos)
            return true;
        start = comma + 1;
    }
}

} // namespace

std::string WindowPlacement::Format() const {
    char buffer[255];
    std::snprintf(buffer, sizeof buffer, "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", flags, showCmd, minX, minY, maxX,
                  maxY, left, top, right, bottom);
    return buffer;
}

std::optional<WindowPlacement> WindowPlacement::Parse(const std::string& text) {
    std::vector<long> v;
    if (!ParseFields(text, v) || v.size() != 10)
        return std::nullopt;
    WindowPlacement p;
    p.flags = static_cast<unsigned>(v[0]);
    p.showCmd = static_cast<unsigned>(v[1]);
    p.minX = static_cast<int>(v[2]);
    p.minY = static_cast<int>(v[3]);
    p.maxX = static_cast<int>(v[4]);
    p.maxY = static_cast<int>(v[5]);
    p.left = static_cast<int>(v[6]);
    p.top = static_cast<int>(v[7]);
    p.right = static_cast<int>(v[8]);
    p.bottom = static_cast<int>(v[9]);
    return p;
}
