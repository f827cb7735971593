#pragma once

#include <cstdint>

// One 16-byte position record of the run-list image: a place, an approach offset or a route line.
// Bit 1 of the code marks Cartesian values (tenths of a millimetre or of a degree), bit 0 a relative
// record; codes of 16 and above are contour elements or function lines. The last word is always 0.
struct PositionRecord {
    std::int16_t values[6] = {0, 0, 0, 0, 0, 0};
    std::uint16_t code = 0;
    std::uint16_t zero = 0;

    bool IsCartesian() const { return (code & 2) != 0; }
};

static_assert(sizeof(PositionRecord) == 16, "a position record is one 16-byte paragraph of the image");
