#include "core/protocol/PositionRecord.h"

#include <algorithm>

namespace {

uint16_t ReadU16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

void WriteU16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v & 0xFF);
    p[1] = static_cast<uint8_t>(v >> 8);
}

int16_t Wrap16(int v) {
    return static_cast<int16_t>(static_cast<uint16_t>(v & 0xFFFF));
}

} // namespace

PositionRecord PositionRecord::Read(const uint8_t* bytes) {
    PositionRecord rec;
    for (int i = 0; i < 6; ++i)
        rec.values[i] = static_cast<int16_t>(ReadU16(bytes + 2 * i));
    rec.code = ReadU16(bytes + 12);
    rec.zero = ReadU16(bytes + 14);
    return rec;
}

void PositionRecord::Write(uint8_t* bytes) const {
    for (int i = 0; i < 6; ++i)
        WriteU16(bytes + 2 * i, static_cast<uint16_t>(values[i]));
    WriteU16(bytes + 12, code);
    WriteU16(bytes + 14, zero);
}

void CopyRecord(PositionRecord& dst, const PositionRecord& src) {
    dst = src;
}

void ClearRecord(PositionRecord& rec, uint16_t code) {
    ZeroValues(rec);
    rec.code = code;
}

void ZeroValues(PositionRecord& rec) {
    std::fill(rec.values, rec.values + 6, 0);
}

bool IsZeroRecord(const PositionRecord& rec) {
    for (int16_t v : rec.values)
        if (v != 0)
            return false;
    return true;
}

void AddRecord(PositionRecord& rec, const PositionRecord& other) {
    for (int i = 0; i < 6; ++i)
        rec.values[i] = Wrap16(rec.values[i] + other.values[i]);
}

void SubtractRecord(PositionRecord& rec, const PositionRecord& other) {
    for (int i = 0; i < 6; ++i)
        rec.values[i] = Wrap16(rec.values[i] - other.values[i]);
}
