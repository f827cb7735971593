// Settings profiles (.cfg): a refused file changes nothing; an accepted one holds counts of 1 to 6,
// keeps every word the file gave (except the three that loading drops), and saves to the shortest form
// of what it read, which reads back to the same bytes.
#include "FuzzSupport.h"
#include "core/robot/SettingsCodec.h"

using fuzz::Require;

namespace {

// Byte offsets of the words that loading drops (13, 14 and 18) and of the string arrays.
constexpr int kDroppedWords[] = {24, 26, 34};
constexpr int kArrays = 40;

bool IsDropped(int offset) {
    for (int dropped : kDroppedWords)
        if (offset == dropped || offset == dropped + 1)
            return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    SettingsValues values;
    const QByteArray before = EncodeSettings(values);
    if (DecodeSettings(bytes, values) != SettingsDecode::Ok) {
        Require(EncodeSettings(values) == before, "a refused profile changed the settings");
        return 0;
    }
    Require(values.joints >= 1 && values.joints <= 6 && values.cartesianAxes >= 1 &&
                values.cartesianAxes <= 6,
            "an accepted profile holds a count outside 1 to 6");
    const QByteArray saved = EncodeSettings(values);
    Require(saved.size() <= bytes.size(), "a saved profile is longer than the file it was read from");
    for (int i = 0; i < kArrays; ++i)
        Require(IsDropped(i) ? saved[i] == before[i] : saved[i] == bytes[i],
                "a saved profile does not keep the words it read");
    SettingsValues again;
    Require(DecodeSettings(saved, again) == SettingsDecode::Ok && EncodeSettings(again) == saved,
            "a saved profile does not read back to the same bytes");
    return 0;
}
