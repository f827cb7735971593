#pragma once

#include "EmulatorMemory.h"

#include <cstdint>
#include <functional>
#include <string>

// The controller's side of the framed memory transfer. TRANSMIT answers every ENQ with STX and the next
// 256-byte block, and with ETX once the range is sent. RECEIVE answers every ENQ with STX, stores the
// 256 bytes that follow, and on ETX ends the line with "OK" and the prompt. A byte that is neither ENQ
// nor ETX where a block could start ends the transfer and goes back to the console.
class BlockTransfer {
public:
    static constexpr char kEnq = 5;
    static constexpr char kStx = 2;
    static constexpr char kEtx = 3;
    static constexpr uint32_t kBlockSize = 256;

    explicit BlockTransfer(EmulatorMemory& memory) : m_memory(memory) {}

    void StartTransmit(int bank, uint32_t start, uint32_t length);
    void StartReceive(int bank, uint32_t start, uint32_t length);
    bool Active() const { return m_direction != Direction::None; }
    bool Transmitting() const { return m_direction == Direction::Transmit; }
    void Abort() { m_direction = Direction::None; }

    // Takes one received byte; false when the byte does not belong to the transfer (which has then
    // ended) and must be handled by the console.
    bool Feed(char c, std::string& output);

    int BlocksDone() const { return m_blocksDone; }

    // Told when a RECEIVE has ended with ETX: its bank, start and length as the command gave them.
    std::function<void(int bank, uint32_t start, uint32_t length)> Received;

private:
    enum class Direction { None, Transmit, Receive };
    void SendBlock(std::string& output);
    void StoreBlock();

    EmulatorMemory& m_memory;
    Direction m_direction = Direction::None;
    int m_bank = 0;
    uint32_t m_start = 0;
    uint32_t m_length = 0;
    uint32_t m_address = 0;
    uint32_t m_blocksLeft = 0;
    int m_blocksDone = 0;
    bool m_inBlock = false;
    std::string m_block;
};
