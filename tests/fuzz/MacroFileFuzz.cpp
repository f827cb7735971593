// Macro files (.mac): whatever the bytes, reading never fails badly and keeps both arrays in step; the
// set that was read saves to bytes that read back to the same set and save to the same bytes again.
#include "FuzzSupport.h"
#include "core/macros/MacroFile.h"

using fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    std::vector<std::string> names, texts;
    macfile::ReadMacroFile(bytes, names, texts);
    Require(names.size() == texts.size(), "names and texts out of step");
    const QByteArray saved = macfile::WriteMacroFile(names, texts);
    std::vector<std::string> names2, texts2;
    Require(macfile::ReadMacroFile(saved, names2, texts2), "a saved set cannot be read");
    Require(names2 == names && texts2 == texts, "a saved set reads back different");
    Require(macfile::WriteMacroFile(names2, texts2) == saved,
            "a set saves to different bytes the second time");
    return 0;
}
