#include "EmulatorMemory.h"

#include <algorithm>

EmulatorMemory::EmulatorMemory() {
    Clear();
}

void EmulatorMemory::Clear() {
    for (auto& bank : m_banks)
        bank.assign(kBankSize, 0);
    m_system.assign(kBankSize, 0);
}

uint8_t EmulatorMemory::Byte(int bank, uint32_t address) const {
    return m_banks[bank][address & 0xFFFF];
}

void EmulatorMemory::SetByte(int bank, uint32_t address, uint8_t value) {
    m_banks[bank][address & 0xFFFF] = value;
}

uint16_t EmulatorMemory::Word(int bank, uint32_t address) const {
    return uint16_t(Byte(bank, address) | (Byte(bank, address + 1) << 8));
}

void EmulatorMemory::SetWord(int bank, uint32_t address, uint16_t value) {
    SetByte(bank, address, uint8_t(value & 0xFF));
    SetByte(bank, address + 1, uint8_t(value >> 8));
}

uint16_t EmulatorMemory::SystemWord(uint16_t address) const {
    return uint16_t(m_system[address] | (m_system[uint16_t(address + 1)] << 8));
}

void EmulatorMemory::SetSystemWord(uint16_t address, uint16_t value) {
    m_system[address] = uint8_t(value & 0xFF);
    m_system[uint16_t(address + 1)] = uint8_t(value >> 8);
}
