#pragma once

#include <string>

// A window font as the program remembers it ("comm"/"Font" for the terminal, "edit"/"Font" for the
// text editor): eight fields separated by single spaces, "height weight italic underline charset
// precision pitchAndFamily face". A negative height is the character height in pixels.
struct FontDescription {
    static constexpr int kPitchFixed = 1;
    static constexpr int kFamilyModern = 48;
    static constexpr size_t kMaxFace = 31;

    int height = -12;
    int weight = 400;
    int italic = 0;
    int underline = 0;
    int charSet = 0;
    int outPrecision = 0;
    int pitchAndFamily = kPitchFixed | kFamilyModern;
    std::string face = "Courier New";

    // The profile text (at most 99 characters, the face cut to 31).
    std::string Format() const;
    // Reads a profile text; false (and the description unchanged) when it is not eight fields.
    bool Parse(const std::string& text);

    // Loads section/"Font"; the default description when the entry is absent or unreadable.
    static FontDescription Load(const std::string& section);
    void Save(const std::string& section) const;
};
