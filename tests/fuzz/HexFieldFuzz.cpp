// The hexadecimal fields: any text is accepted only as a value up to ffff, and that value shown again,
// with or without blanks around it, reads back unchanged.
#include "FuzzSupport.h"
#include "core/text/HexField.h"

using fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    unsigned value = 0;
    if (!hexfield::ParseHex(text, value))
        return 0;
    Require(value <= hexfield::kMaximum, "a value above ffff was accepted");
    const std::string shown = hexfield::FormatHex(value);
    for (const std::string& again : {shown, " \t" + shown + "\t "}) {
        unsigned read = value + 1;
        Require(hexfield::ParseHex(again, read) && read == value, "a shown value does not read back");
    }
    return 0;
}
