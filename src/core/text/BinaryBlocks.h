#pragma once

#include <string>

// Copies a range of the controller's memory to or from a memory image file (.ram: the raw bytes,
// no header, whole 256-byte blocks) with the block transfer, under the held wait box with its
// progress bar and "Cancel".
namespace binblocks {

constexpr const char* kFilter = "Binary files (*.ram)|*.ram||";
constexpr const char* kDefaultExt = "ram";

// The range both commands start from; remembered while the program runs. The bank is not
// remembered: each command starts with bank 0.
struct BlockRange {
    unsigned start = 0x4000;
    unsigned length = 0x6000;
};
BlockRange& blockRange();

// The file at `path` to controller memory. File errors and transfer errors are shown; true when the
// whole length was sent.
bool LoadBinaryFile(const std::string& path, int bank, unsigned start, unsigned length);

// Controller memory to the file at `path`, written atomically. A failed or cancelled transfer keeps
// the blocks that arrived; a write error leaves no file and is shown. True when the controller's
// data were saved whole.
bool SaveBinaryFile(const std::string& path, int bank, unsigned start, unsigned length);

} // namespace binblocks
