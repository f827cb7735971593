// Macro files: whatever the bytes, reading never fails badly, keeps both arrays in step, and a set
// that was read writes back to bytes that read the same set again.
#include "core/macros/MacroFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    std::vector<std::string> names, texts;
    macfile::ReadMacroFile(bytes, names, texts);
    if (names.size() != texts.size())
        std::abort();
    std::vector<std::string> names2, texts2;
    if (!macfile::ReadMacroFile(macfile::WriteMacroFile(names, texts), names2, texts2))
        std::abort();
    if (names2 != names || texts2 != texts)
        std::abort();
    return 0;
}
