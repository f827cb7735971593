#include "RunListStore.h"

#include <cstring>
#include <vector>

void RunListStore::Init() {
    SetField(0, 0, kHeadLink);
    SetField(0, 4, 4);
    SetField(0, 12, 8);
    SetField(kHeadLink, 0, 0);
    SetNext(kHeadLink);
}

void RunListStore::RestartBinding() {
    SetNext(kHeadLink);
}

uint16_t RunListStore::End() const {
    uint16_t entry = kHeadLink;
    // Links strictly increase; a link that does not ends the walk so a damaged list cannot loop.
    while (Link(entry) != 0 && Link(entry) > entry)
        entry = Link(entry);
    return entry;
}

bool RunListStore::IsEntry(uint16_t entry) const {
    for (uint16_t e = kHeadLink; Link(e) != 0 && Link(e) > e; e = Link(e))
        if (e == entry)
            return true;
    return false;
}

uint16_t RunListStore::Ordinal(uint16_t entry) const {
    uint16_t index = 0;
    for (uint16_t e = kHeadLink; e < entry && Link(e) > e; e = Link(e))
        ++index;
    return index;
}

std::optional<uint16_t> RunListStore::BindNext() {
    uint16_t entry = Next();
    uint16_t link = Link(entry);
    if (link == 0 || link <= entry)
        return std::nullopt;
    SetNext(link);
    return entry;
}

uint16_t RunListStore::Allocate(uint16_t paragraphs) {
    uint32_t entry = Next();
    uint32_t end = entry + paragraphs * 16u;
    if (end > kAllocationLimit)
        return 0;
    SetField(uint16_t(entry), 0, uint16_t(end));
    SetField(uint16_t(entry), 2, Ordinal(uint16_t(entry)));
    SetField(uint16_t(end), 0, 0);
    SetNext(uint16_t(end));
    return uint16_t(entry);
}

std::optional<uint16_t> RunListStore::DeclarePlace(bool cartesian, const AxisValues& position) {
    if (auto bound = BindNext())
        return bound;
    uint16_t entry = Allocate(3);
    if (entry == 0)
        return std::nullopt;
    // Every header word is written, so nothing of an entry that was there before shows through.
    SetField(entry, 4, kPlace);
    SetField(entry, 6, 0);
    SetField(entry, 8, 0);
    SetField(entry, 10, 0);
    SetField(entry, 12, 8);
    SetField(entry, 14, 0);
    uint16_t code = cartesian ? 2 : 0;
    StorePosition(entry + 16u, position, 6, code);
    StorePosition(entry + 32u, AxisValues{}, 6, uint16_t(code + 1));
    return entry;
}

std::optional<uint16_t> RunListStore::DeclareRoute(bool cartesian, bool relative) {
    if (auto bound = BindNext())
        return bound;
    uint16_t entry = Allocate(1);
    if (entry == 0)
        return std::nullopt;
    SetField(entry, 4, kRoute);
    SetField(entry, 6, 0);
    SetField(entry, 8, cartesian ? 1 : 0);
    SetField(entry, 10, relative ? 63 : 0);
    SetField(entry, 12, 8);
    SetField(entry, 14, 0);
    return entry;
}

std::optional<uint16_t> RunListStore::LastDeclared() const {
    uint16_t next = Next();
    for (uint16_t e = kHeadLink; Link(e) != 0 && Link(e) > e; e = Link(e))
        if (Link(e) == next)
            return e;
    return std::nullopt;
}

void RunListStore::MoveBytes(uint32_t from, uint32_t to, uint32_t length) {
    uint8_t* bank = m_memory.Bank(kBank);
    std::memmove(bank + to, bank + from, length);
}

bool RunListStore::Resize(uint16_t route, int lines) {
    int capacity = Capacity(route);
    if (capacity + lines < Count(route))
        return false;
    uint32_t oldLink = Link(route);
    uint32_t end = End();
    int64_t delta = int64_t(lines) * 16;
    if (int64_t(end) + delta > kResizeLimit)
        return false;
    // The entries from the route on, found before the move; each link then moves by the same amount.
    std::vector<uint32_t> entries;
    for (uint32_t e = route; e < end; e = Link(uint16_t(e)))
        entries.push_back(e);
    MoveBytes(oldLink, uint32_t(oldLink + delta), end + 2 - oldLink);
    // Added lines start cleared.
    if (delta > 0)
        std::memset(m_memory.Bank(kBank) + oldLink, 0, size_t(delta));
    for (uint32_t e : entries) {
        uint32_t at = e == route ? e : uint32_t(e + delta);
        SetField(uint16_t(at), 0, uint16_t(Link(uint16_t(at)) + delta));
    }
    if (Next() >= oldLink)
        SetNext(uint16_t(Next() + delta));
    return true;
}

void RunListStore::Forget(uint16_t entry) {
    SetNext(entry);
    SetField(entry, 0, 0);
}

void RunListStore::StorePosition(uint32_t address, const AxisValues& values, int valueCount, uint16_t code) {
    for (int i = 0; i < valueCount && i < 6; ++i)
        m_memory.SetWord(kBank, address + 2u * uint32_t(i), uint16_t(values[size_t(i)]));
    m_memory.SetWord(kBank, address + 12, code);
    m_memory.SetWord(kBank, address + 14, 0);
}

AxisValues RunListStore::Values(uint32_t address) const {
    AxisValues out{};
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = int16_t(m_memory.Word(kBank, address + 2u * uint32_t(i)));
    return out;
}

bool RunListStore::OpenSlot(uint16_t route, int line) {
    int count = Count(route);
    if (count >= Capacity(route) || line < 1 || line > count + 1)
        return false;
    uint32_t from = LineAddress(route, line);
    MoveBytes(from, from + 16, uint32_t(count - line + 1) * 16);
    SetField(route, 6, uint16_t(count + 1));
    return true;
}

bool RunListStore::AppendPosition(uint16_t route, const AxisValues& values, int valueCount, uint16_t code) {
    return InsertPosition(route, Count(route) + 1, values, valueCount, code);
}

bool RunListStore::InsertPosition(uint16_t route, int line, const AxisValues& values, int valueCount,
                                  uint16_t code) {
    if (!OpenSlot(route, line))
        return false;
    StorePosition(LineAddress(route, line), values, valueCount, code);
    return true;
}

bool RunListStore::DeleteLine(uint16_t route, int line) {
    int count = Count(route);
    if (line < 1 || line > count || count > Capacity(route))
        return false;
    uint32_t to = LineAddress(route, line);
    MoveBytes(to + 16, to, uint32_t(count - line) * 16);
    SetField(route, 6, uint16_t(count - 1));
    return true;
}
