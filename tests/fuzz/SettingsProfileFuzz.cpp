// Settings profiles (.cfg): a refused file changes nothing; an accepted one holds counts of 1 to 6,
// keeps every word the file gave (except the three that loading drops), and saves to the shortest form
// of what it read, which reads back to the same bytes.
#include "FuzzSupport.h"
#include "core/robot/SettingsCodec.h"

using fuzz::Require;

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
    // The words before the string arrays; loading drops words 13, 14 and 18 (counted from 1).
    for (int i = 0; i < 40; ++i)
        Require(saved[i] == (i / 2 == 12 || i / 2 == 13 || i / 2 == 17 ? before : bytes)[i],
                "a saved profile does not keep the words it read");
    SettingsValues again;
    Require(DecodeSettings(saved, again) == SettingsDecode::Ok && EncodeSettings(again) == saved,
            "a saved profile does not read back to the same bytes");
    return 0;
}
