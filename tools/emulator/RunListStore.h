#pragma once

#include "ArmState.h"
#include "EmulatorMemory.h"

#include <cstdint>
#include <optional>

// The RUN-LIST as the controller keeps it: bank 1 from address 0, a head paragraph, entries linked by
// 16-bit offsets, a zero word at the end, and the NEXT pointer (a variable in system space) that marks
// where the next declared PLACE or ROUTE goes. Declarations bind to the entries already in memory (after a
// download) and create new ones at the end of the list otherwise.
class RunListStore {
public:
    static constexpr int kBank = 1;
    static constexpr uint16_t kHeadLink = 16;
    static constexpr uint32_t kAllocationLimit = 65520;
    static constexpr uint32_t kResizeLimit = 65534;
    static constexpr uint16_t kPlace = 2;
    static constexpr uint16_t kRoute = 4;

    RunListStore(EmulatorMemory& memory, uint16_t nextVariable)
        : m_memory(memory), m_nextVariable(nextVariable) {}

    void SetNextVariable(uint16_t address) { m_nextVariable = address; }
    void Init();           // NEW: an empty list
    void RestartBinding(); // STARTOVER: declarations bind from the first entry again

    uint16_t Next() const { return m_memory.SystemWord(m_nextVariable); }
    void SetNext(uint16_t value) { m_memory.SetSystemWord(m_nextVariable, value); }
    uint16_t End() const; // offset of the terminating zero word, found by walking the links

    uint16_t Field(uint16_t entry, int offset) const {
        return m_memory.Word(kBank, entry + uint32_t(offset));
    }
    void SetField(uint16_t entry, int offset, uint16_t value) {
        m_memory.SetWord(kBank, entry + uint32_t(offset), value);
    }
    uint16_t Link(uint16_t entry) const { return Field(entry, 0); }
    uint16_t Kind(uint16_t entry) const { return Field(entry, 4); }
    uint16_t Count(uint16_t route) const { return Field(route, 6); }
    uint16_t Mode(uint16_t route) const { return Field(route, 8); }
    int Capacity(uint16_t route) const { return (Link(route) - route) / 16 - 1; }
    uint32_t LineAddress(uint16_t route, int line) const { return route + 16u * uint32_t(line); }

    // A PLACE or ROUTE declaration: the entry it names, or nothing when the list is full.
    std::optional<uint16_t> DeclarePlace(bool cartesian, const AxisValues& position);
    std::optional<uint16_t> DeclareRoute(bool cartesian, bool relative);
    // The entry whose link is NEXT: the one declared last.
    std::optional<uint16_t> LastDeclared() const;
    // Grows (or with a negative difference shrinks) a route by whole lines, moving what follows it;
    // added lines are cleared. Returns false when the list would pass its limit or the route would have fewer
    // lines than in use.
    bool Resize(uint16_t route, int lines);
    void Forget(uint16_t entry);

    // Route lines: positions are written with `valueCount` values, the code and a zero last word.
    bool AppendPosition(uint16_t route, const AxisValues& values, int valueCount, uint16_t code);
    bool InsertPosition(uint16_t route, int line, const AxisValues& values, int valueCount, uint16_t code);
    bool OpenSlot(uint16_t route, int line); // moves lines down from `line`; count + 1
    bool DeleteLine(uint16_t route, int line);
    void StorePosition(uint32_t address, const AxisValues& values, int valueCount, uint16_t code);
    AxisValues Values(uint32_t address) const;
    bool IsEntry(uint16_t entry) const; // entry is one of the list's entries

private:
    std::optional<uint16_t> BindNext();
    uint16_t Allocate(uint16_t paragraphs);
    uint16_t Ordinal(uint16_t entry) const;
    void MoveBytes(uint32_t from, uint32_t to, uint32_t length);

    EmulatorMemory& m_memory;
    uint16_t m_nextVariable;
};
