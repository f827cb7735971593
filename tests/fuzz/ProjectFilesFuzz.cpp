// Project files: whatever the .run bytes and .ed1 text, binding the names never reads or writes
// outside the image; a project that binds is a well-formed list with one entry per name, and saving it
// gives files that open again to the same image and names.
#include "FuzzSupport.h"
#include "core/project/ProjectFiles.h"
#include "core/project/ProjectModel.h"

#include <QtEndian>

#include <memory>
#include <sstream>
#include <string>

using fuzz::Require;

namespace {

// A .run image of the entries the bytes describe: low bit place or route, next bits the route's size,
// a low nibble of 15 a link of garbage instead of the right one.
QByteArray RunImage(const std::string& entries) {
    QByteArray run(16, '\0');
    qToLittleEndian<quint16>(16, run.data());
    for (const uint8_t b : entries) {
        const int at = static_cast<int>(run.size());
        const int paragraphs = b & 1 ? 1 + ((b >> 1) & 7) : 3;
        run.append(QByteArray(paragraphs * 16, '\0'));
        qToLittleEndian<quint16>(b % 16 == 15 ? b * 257 : at + paragraphs * 16, run.data() + at);
        qToLittleEndian<quint16>(b & 1 ? 4 : 2, run.data() + at + 4);
    }
    return run + QByteArray(2, '\0');
}

// Declarations: a token byte without bit 6 declares the next entry the way the image has it; one with
// bit 6 gives a token of its own (other keywords, names, comments, line ends).
std::string Declarations(const std::string& entries, const std::string& tokens) {
    static const char* const kTokens[] = {"PLACE", "place", "(", "P1", "R2", ")", "\\", "ROUTE"};
    std::string text = "KAVENTRIX\nSTARTOVER\n";
    size_t next = 0;
    for (const uint8_t t : tokens) {
        if (t & 0x40)
            text += std::string(kTokens[t % 8]) + (t & 0x80 ? "\n" : " ");
        else if (next < entries.size()) {
            text += std::string(entries[next] & 1 ? "ROUTE E" : "PLACE E") + std::to_string(next) + "\n";
            ++next;
        }
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ProjectModel& model = projectModel();
    model.EntryNames.clear();
    fuzz::Input input(data, size);
    const uint8_t mode = input.Byte();
    std::string text;
    if (mode & 0x80) {
        // Raw files: the next byte gives the length of the .run bytes in words, the rest is the .ed1.
        LoadRunFileBytes(model, QByteArray::fromStdString(input.Take(input.Byte() * 2u)));
        text = input.Rest();
    } else {
        // The first byte says how many of the following bytes describe entries; the rest are tokens.
        const std::string entries = input.Take(mode % 32);
        LoadRunFileBytes(model, RunImage(entries));
        text = Declarations(entries, input.Rest());
    }
    if (!BindDeclarations(model, text).empty())
        return 0;
    // The list from the head holds exactly one entry per name, linked forward, inside the limit.
    Require(model.RunListEnd <= runlist::kAllocationLimit && model.Word(model.RunListEnd) == 0,
            "the list ends outside the image or without its terminator");
    size_t count = 0;
    for (int e = model.FirstEntry(), previous = 0; e != runlist::kNoEntry;
         previous = e, e = model.NextEntry(e))
        Require(e > previous && count < model.EntryNames.size() &&
                    model.EntryName(e) == model.EntryNames[count++],
                "the list does not hold one entry per name, in order");
    Require(count == model.EntryNames.size(), "names without entries");

    // The files a save writes open again to the same image and names.
    const QByteArray run = RunFileBytes(model);
    std::ostringstream ed1;
    Require(WriteDeclarations(ed1, model), "the declarations cannot be written");
    static const auto reopened = std::make_unique<ProjectModel>(); // one image for all inputs: it is large
    reopened->EntryNames.clear();
    LoadRunFileBytes(*reopened, run);
    Require(BindDeclarations(*reopened, ed1.str()).empty(), "a saved project does not open again");
    Require(RunFileBytes(*reopened) == run && reopened->EntryNames == model.EntryNames,
            "a saved project opens to a different image or names");
    return 0;
}
