#include "BlockTransfer.h"

void BlockTransfer::StartTransmit(int bank, uint32_t start, uint32_t length) {
    m_direction = Direction::Transmit;
    m_bank = bank;
    m_address = start;
    m_blocksLeft = (length + kBlockSize - 1) / kBlockSize;
    m_blocksDone = 0;
}

void BlockTransfer::StartReceive(int bank, uint32_t start, uint32_t length) {
    // The PC decides how many blocks it sends: it ends with ETX.
    m_direction = Direction::Receive;
    m_bank = bank;
    m_start = start;
    m_length = length;
    m_address = start;
    m_blocksDone = 0;
    m_inBlock = false;
    m_block.clear();
}

bool BlockTransfer::Feed(char c, std::string& output) {
    if (m_direction == Direction::Receive && m_inBlock) {
        m_block.push_back(c);
        if (m_block.size() == kBlockSize)
            StoreBlock();
        return true;
    }
    if (c == kEnq) {
        if (m_direction == Direction::Transmit)
            SendBlock(output);
        else {
            output.push_back(kStx);
            m_inBlock = true;
            m_block.clear();
        }
        return true;
    }
    if (c == kEtx && m_direction == Direction::Receive) {
        m_direction = Direction::None;
        output += " OK\r\n>";
        if (Received)
            Received(m_bank, m_start, m_length);
        return true;
    }
    m_direction = Direction::None;
    return false;
}

void BlockTransfer::SendBlock(std::string& output) {
    if (m_blocksLeft == 0) {
        output.push_back(kEtx);
        m_direction = Direction::None;
        return;
    }
    output.push_back(kStx);
    // Addresses past the end of the bank read as zero rather than wrapping round.
    for (uint32_t i = 0; i < kBlockSize; ++i) {
        uint32_t address = m_address + i;
        output.push_back(address < EmulatorMemory::kBankSize ? char(m_memory.Byte(m_bank, address)) : '\0');
    }
    m_address += kBlockSize;
    --m_blocksLeft;
    ++m_blocksDone;
}

void BlockTransfer::StoreBlock() {
    for (uint32_t i = 0; i < kBlockSize; ++i) {
        uint32_t address = m_address + i;
        if (address < EmulatorMemory::kBankSize)
            m_memory.SetByte(m_bank, address, uint8_t(m_block[i]));
    }
    m_address += kBlockSize;
    ++m_blocksDone;
    m_inBlock = false;
    m_block.clear();
}
