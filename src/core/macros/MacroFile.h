#pragma once

#include <QByteArray>

#include <string>
#include <vector>

// The .mac layout of a macro set: the names array followed by the texts array, no header. An array is
// a count (16 bits little-endian, or 0xFFFF and 32 bits) followed by its strings; a string is a
// length (one byte, or 0xFF and 16 bits, or 0xFF 0xFFFF and 32 bits) followed by its bytes unchanged.
namespace macfile {

QByteArray WriteMacroFile(const std::vector<std::string>& names, const std::vector<std::string>& texts);

// Reads both arrays. On malformed or truncated data returns false; the arrays then hold what was read
// before the fault. The shorter array is padded with empty strings so that both stay in step.
bool ReadMacroFile(const QByteArray& bytes, std::vector<std::string>& names, std::vector<std::string>& texts);

} // namespace macfile
