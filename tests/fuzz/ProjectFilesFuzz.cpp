// Project files: whatever the .run bytes and .ed1 text, binding the names never reads or writes
// outside the image, and a project that binds is a well-formed list with one entry per name.
#include "core/project/ProjectFiles.h"
#include "core/project/ProjectModel.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

// The list from the head must hold exactly one entry per name, linked forward, inside the limit.
void CheckWellFormed(const ProjectModel& model) {
    if (model.RunListEnd > runlist::kAllocationLimit || model.Word(model.RunListEnd) != 0)
        std::abort();
    size_t count = 0;
    int previous = 0;
    for (int e = model.FirstEntry(); e != runlist::kNoEntry; e = model.NextEntry(e)) {
        if (e <= previous || count >= model.EntryNames.size() ||
            model.EntryName(e) != model.EntryNames[count])
            std::abort();
        previous = e;
        ++count;
    }
    if (count != model.EntryNames.size())
        std::abort();
}

void Put16(QByteArray& bytes, int offset, int value) {
    bytes[offset] = static_cast<char>(value & 0xFF);
    bytes[offset + 1] = static_cast<char>((value >> 8) & 0xFF);
}

// A .run image of the entries the bytes describe: low bit place or route, next bits the route's size,
// a low nibble of 15 a link of garbage instead of the right one.
QByteArray RunImage(const uint8_t* data, size_t count) {
    QByteArray run(16, '\0');
    Put16(run, 0, 16);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t b = data[i];
        const int at = static_cast<int>(run.size());
        const int paragraphs = b & 1 ? 1 + ((b >> 1) & 7) : 3;
        run.append(QByteArray(paragraphs * 16, '\0'));
        Put16(run, at, b % 16 == 15 ? b * 257 : at + paragraphs * 16);
        Put16(run, at + 4, b & 1 ? 4 : 2);
    }
    return run + QByteArray(2, '\0');
}

// Declarations: a token byte without bit 6 declares the next entry the way the image has it; one with
// bit 6 gives a token of its own (other keywords, names, comments, line ends).
std::string Declarations(const uint8_t* entries, size_t entryCount, const uint8_t* data, size_t count) {
    static const char* const kTokens[] = {"PLACE", "place", "(", "P1", "R2", ")", "\\", "ROUTE"};
    std::string text = "KAVENTRIX\nSTARTOVER\n";
    size_t next = 0;
    for (size_t i = 0; i < count; ++i) {
        if (data[i] & 0x40)
            text += std::string(kTokens[data[i] % 8]) + (data[i] & 0x80 ? "\n" : " ");
        else if (next < entryCount) {
            text += std::string(entries[next] & 1 ? "ROUTE E" : "PLACE E") + std::to_string(next) + "\n";
            ++next;
        }
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    // The first byte says how many of the following bytes describe entries; the rest are tokens.
    const size_t entries = std::min<size_t>(data[0] % 32, size - 1);
    const auto fresh = std::make_unique<ProjectModel>();
    ProjectModel& model = *fresh;
    LoadRunFileBytes(model, RunImage(data + 1, entries));
    const std::string text = Declarations(data + 1, entries, data + 1 + entries, size - 1 - entries);
    if (BindDeclarations(model, text).empty())
        CheckWellFormed(model);
    return 0;
}
