#include "core/app/FontDescription.h"

#include "core/base/ProfileStore.h"

#include <cstdio>
#include <cstdlib>

namespace {

bool ReadInt(const char*& p, int& value) {
    while (*p == ' ' || *p == '\t')
        ++p;
    char* end = nullptr;
    const long v = std::strtol(p, &end, 10);
    if (end == p)
        return false;
    value = static_cast<int>(v);
    p = end;
    return true;
}

} // namespace

std::string FontDescription::Format() const {
    char buffer[100];
    std::snprintf(buffer, sizeof buffer, "%d %d %d %d %d %d %d %s", height, weight, italic, underline,
                  charSet, outPrecision, pitchAndFamily, face.substr(0, kMaxFace).c_str());
    return buffer;
}

bool FontDescription::Parse(const std::string& text) {
    FontDescription d;
    const char* p = text.c_str();
    int* fields[] = {&d.height,  &d.weight,       &d.italic,        &d.underline,
                     &d.charSet, &d.outPrecision, &d.pitchAndFamily};
    for (int* field : fields) {
        if (!ReadInt(p, *field))
            return false;
    }
    while (*p == ' ' || *p == '\t')
        ++p;
    d.face = std::string(p).substr(0, kMaxFace);
    if (d.face.empty())
        return false;
    *this = d;
    return true;
}

FontDescription FontDescription::Load(const std::string& section) {
    FontDescription d;
    const std::string text = GetProfileString(section, "Font");
    if (!text.empty())
        d.Parse(text);
    return d;
}

void FontDescription::Save(const std::string& section) const {
    WriteProfileString(section, "Font", Format());
}
