#pragma once

#include <algorithm>
#include <cstdint>

// One 16-byte position record of the run-list image: a place's position or approach, or a route line.
// Six signed 16-bit values, a 16-bit code and a word the PC always writes as 0, all little-endian.
// Code bit 1 means Cartesian, bit 0 relative; a code with a bit above bit 3 set is not a position
// (16 + k a contour element, any other value of 16 or more the address of a controller word).
struct PositionRecord {
    static constexpr int kSize = 16;

    std::int16_t values[6] = {0, 0, 0, 0, 0, 0};
    std::uint16_t code = 0;
    std::uint16_t zero = 0;

    bool IsCartesian() const { return (code & 2) != 0; }

    // Reads or writes the 16 bytes at `bytes`.
    static PositionRecord Read(const uint8_t* bytes);
    void Write(uint8_t* bytes) const;

    bool operator==(const PositionRecord& other) const {
        return std::equal(values, values + 6, other.values) && code == other.code && zero == other.zero;
    }
    bool operator!=(const PositionRecord& other) const { return !(*this == other); }
};

static_assert(sizeof(PositionRecord) == 16, "a position record is one 16-byte paragraph of the image");

// Position codes.
namespace poscode {
constexpr uint16_t kJoint = 0;
constexpr uint16_t kJointRelative = 1;
constexpr uint16_t kCartesian = 2;
constexpr uint16_t kCartesianRelative = 3;
constexpr uint16_t kContourBase = 16;
} // namespace poscode

inline bool IsPositionCode(uint16_t code) {
    return (code & ~0xFu) == 0;
}
inline bool IsCartesianCode(uint16_t code) {
    return (code & 2u) != 0;
}
inline bool IsRelativeCode(uint16_t code) {
    return (code & 1u) != 0;
}

// Value operations shared by the windows and the robot commands.
void CopyRecord(PositionRecord& dst, const PositionRecord& src);
// The six values become 0 and the code `code`; the last word is left alone.
void ClearRecord(PositionRecord& rec, uint16_t code);
void ZeroValues(PositionRecord& rec);
// True when all six values are 0, whatever the code.
bool IsZeroRecord(const PositionRecord& rec);
// Value by value, in 16-bit arithmetic (wraps, no range check).
void AddRecord(PositionRecord& rec, const PositionRecord& other);
void SubtractRecord(PositionRecord& rec, const PositionRecord& other);
