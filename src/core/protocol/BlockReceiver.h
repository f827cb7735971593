#pragma once

// Block framing bytes of memory transfers.
namespace block {
constexpr char kEnq = 5; // PC: before every block, in both directions
constexpr char kStx = 2; // controller: a block follows, or ready for a block
constexpr char kEtx = 3; // no more data
constexpr int kSize = 256;
// Reply state of a block that arrived whole (the same value as a prompt error in text mode).
constexpr int kComplete = 3;
} // namespace block

// Where received block data go: the write pointer, the end it must not pass and the bytes still
// expected in the block in progress. The transfers set it before every block they receive.
struct BlockTarget {
    unsigned char* writePointer = nullptr;
    unsigned char* endBound = nullptr;
    int expected = 0;
    // Download handshake after noise: any STX in the bytes counts, nothing else is reported.
    bool resynchronising = false;
    // An STX came after the noise that broke the download handshake.
    bool stxAfterNoise = false;
};

// The one receive target of the program.
BlockTarget& blockTarget();

// Takes the bytes that arrive while the channel is in block mode and moves the reply state through
// the block states: waiting for STX, block data, block complete, end, and the two errors.
void ReceiveBlockBytes(const char* bytes, int length);

// Makes ReceiveBlockBytes the protocol's block receiver.
void InstallBlockReceiver();
