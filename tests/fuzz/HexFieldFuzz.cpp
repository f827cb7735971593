// The hexadecimal fields: any text is accepted only as a value up to ffff, and that value shown again
// reads back unchanged.
#include "core/text/HexField.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    unsigned value = 0;
    if (!hexfield::ParseHex(text, value))
        return 0;
    if (value > hexfield::kMaximum)
        std::abort();
    unsigned again = 0;
    if (!hexfield::ParseHex(hexfield::FormatHex(value), again) || again != value)
        std::abort();
    return 0;
}
