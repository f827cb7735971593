// The console's memory words: system-space variables, the RUN-LIST bank ("E" words) and the block
// transfers of any bank.
#include "ConsoleModel.h"

void ConsoleModel::RegisterMemoryWords() {
    DefineVariable("BASE", 10);
    DefineVariable("BANK", 0);
    DefineVariable("IOFLAG", 0);
    DefineVariable("NEXT", RunListStore::kHeadLink);
    DefineWord("RUN-LIST", WordKind::Constant, 0);

    Builtin("@", [this] { Push(m_memory.SystemWord(uint16_t(Pop()))); });
    Builtin("!", [this] {
        uint16_t address = uint16_t(Pop());
        m_memory.SetSystemWord(address, uint16_t(Pop()));
    });
    Builtin("C@", [this] { Push(m_memory.SystemByte(uint16_t(Pop()))); });
    Builtin("C!", [this] {
        uint16_t address = uint16_t(Pop());
        m_memory.SetSystemByte(address, uint8_t(Pop()));
    });
    Builtin("+!", [this] {
        uint16_t address = uint16_t(Pop());
        m_memory.SetSystemWord(address, uint16_t(m_memory.SystemWord(address) + Pop()));
    });
    Builtin("?", [this] { Answer(FormatNumber(int16_t(m_memory.SystemWord(uint16_t(Pop())))) + " "); });
    Builtin("E@", [this] { Push(m_memory.Word(RunListStore::kBank, uint16_t(Pop()))); });
    Builtin("E!", [this] {
        uint16_t address = uint16_t(Pop());
        m_memory.SetWord(RunListStore::kBank, address, uint16_t(Pop()));
    });
    Builtin("EC@", [this] { Push(m_memory.Byte(RunListStore::kBank, uint16_t(Pop()))); });
    Builtin("EC!", [this] {
        uint16_t address = uint16_t(Pop());
        m_memory.SetByte(RunListStore::kBank, address, uint8_t(Pop()));
    });
    auto transfer = [this](bool transmit) {
        uint32_t length = uint32_t(Pop());
        uint32_t start = uint32_t(Pop());
        int bank = VariableByte("BANK");
        if (bank >= EmulatorMemory::kBankCount)
            Fail();
        if (transmit)
            m_transfer.StartTransmit(bank, start, length);
        else
            m_transfer.StartReceive(bank, start, length);
    };
    Builtin("TRANSMIT", [transfer] { transfer(true); });
    Builtin("RECEIVE", [transfer] { transfer(false); });
}
