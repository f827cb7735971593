#pragma once

#include <array>
#include <cstdint>
#include <vector>

// The controller's memory as the console sees it: four 64 KB banks that the block transfers and the
// RUN-LIST use, and a separate system space that holds the dictionary's words and variables.
class EmulatorMemory {
public:
    static constexpr int kBankCount = 4;
    static constexpr uint32_t kBankSize = 65536;

    EmulatorMemory();

    uint8_t Byte(int bank, uint32_t address) const;
    void SetByte(int bank, uint32_t address, uint8_t value);
    uint16_t Word(int bank, uint32_t address) const;
    void SetWord(int bank, uint32_t address, uint16_t value);
    uint8_t* Bank(int bank) { return m_banks[bank].data(); }
    const uint8_t* Bank(int bank) const { return m_banks[bank].data(); }

    uint8_t SystemByte(uint16_t address) const { return m_system[address]; }
    void SetSystemByte(uint16_t address, uint8_t value) { m_system[address] = value; }
    uint16_t SystemWord(uint16_t address) const;
    void SetSystemWord(uint16_t address, uint16_t value);

    void Clear();

private:
    std::array<std::vector<uint8_t>, kBankCount> m_banks;
    std::vector<uint8_t> m_system;
};
