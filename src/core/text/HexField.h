#pragma once

#include <string>

// The hexadecimal fields of the "Binary block" dialog: values are shown in lower case without prefix
// or leading zeros and read back the way the standard unsigned conversion reads base 16.
namespace hexfield {

constexpr unsigned kMaximum = 0xFFFF;
constexpr const char* kMessage = "Please enter a hexadecimal number not greater than ffff";

std::string FormatHex(unsigned value);

// Reads a field's text: blanks around the number are allowed, an optional sign and "0x" prefix are
// accepted, anything else after the number is not. False when the text is not a number up to ffff.
bool ParseHex(const std::string& text, unsigned& value);

} // namespace hexfield
